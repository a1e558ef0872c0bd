# The Debian package (`cpack -G DEB` in a build folder): what a package adds to the install
# rules of CMakeLists.txt (metainfo, man page, copyright and changelog), and its control data.
# Debian wants the man page and the changelog gzipped; -n keeps the name and time out of the
# gzip header, so the same sources give the same package.

set(OBREL_PACKAGE_DIR "${CMAKE_BINARY_DIR}/package-files")
set(OBREL_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/obrel-dizivud")

# The copyright file in Debian's machine-readable form, its licence text taken from LICENSE
# (past the copyright line): each line indented by one space, an empty one written " .".
file(STRINGS "${CMAKE_SOURCE_DIR}/LICENSE" OBREL_LICENSE_LINES)
set(OBREL_LICENSE_TEXT "")
set(OBREL_PAST_COPYRIGHT FALSE)
foreach(line IN LISTS OBREL_LICENSE_LINES)
  if(OBREL_PAST_COPYRIGHT)
    if(line STREQUAL "")
      string(APPEND OBREL_LICENSE_TEXT " .\n")
    else()
      string(APPEND OBREL_LICENSE_TEXT " ${line}\n")
    endif()
  elseif(line MATCHES "^Copyright")
    set(OBREL_PAST_COPYRIGHT TRUE)
  endif()
endforeach()
string(REGEX REPLACE "^ \\.\n" "" OBREL_LICENSE_TEXT "${OBREL_LICENSE_TEXT}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/LICENSE")
file(CONFIGURE OUTPUT "${OBREL_PACKAGE_DIR}/copyright" @ONLY CONTENT [=[Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: obrel-dizivud
Upstream-Contact: The Obrel Dizivud developers <developers@obrel-dizivud.example.org>
Source: https://obrel-dizivud.example.org/

Files: *
Copyright: 2026 The Obrel Dizivud developers
License: Expat

License: Expat
@OBREL_LICENSE_TEXT@]=])

find_program(OBREL_GZIP gzip REQUIRED)
foreach(pair "packaging/obrel-dizivud.1|obrel-dizivud.1.gz" "packaging/changelog|changelog.gz")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 zipped)
  add_custom_command(
    OUTPUT "${OBREL_PACKAGE_DIR}/${zipped}"
    COMMAND sh -c "\"$1\" -9n -c \"$2\" > \"$3\"" sh "${OBREL_GZIP}"
            "${CMAKE_SOURCE_DIR}/${source}" "${OBREL_PACKAGE_DIR}/${zipped}"
    DEPENDS "${CMAKE_SOURCE_DIR}/${source}"
    COMMENT "Compressing ${source}"
    VERBATIM)
endforeach()
add_custom_target(obrel_package_files ALL
  DEPENDS "${OBREL_PACKAGE_DIR}/obrel-dizivud.1.gz" "${OBREL_PACKAGE_DIR}/changelog.gz")

install(FILES "${CMAKE_SOURCE_DIR}/packaging/org.obrel.Dizivud.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${OBREL_PACKAGE_DIR}/obrel-dizivud.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${OBREL_PACKAGE_DIR}/copyright" "${OBREL_PACKAGE_DIR}/changelog.gz"
        DESTINATION "${OBREL_DOC_DIR}")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME obrel-dizivud)

set(CPACK_PACKAGE_NAME "obrel-dizivud")
set(CPACK_PACKAGE_CONTACT "The Obrel Dizivud developers <developers@obrel-dizivud.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://obrel-dizivud.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for SubRip (.srt) subtitle files")
# The extended description: CPack indents each line and marks the empty one as a paragraph
# break.
set(CPACK_PACKAGE_DESCRIPTION [=[Obrel Dizivud is a desktop program to create and edit SubRip (.srt)
subtitle files. It edits one numbered entry at a time: the start and
end time, each as hours, minutes, seconds and milliseconds, and a text
of one or more lines.

A video plays beside the entry, and its playback position can be
copied into the start or end time. A script can be read in a pane
under the text while typing. The entries are saved as SRT.]=])
set(CPACK_STRIP_FILES ON)
# Stripping keeps the compilers' .comment notes, which a program has no use for.
find_program(OBREL_OBJCOPY objcopy REQUIRED)
install(CODE "execute_process(COMMAND \"${OBREL_OBJCOPY}\" --remove-section=.comment
              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${OBREL_INSTALL_FOLDER}/obrel-dizivud\"
              COMMAND_ERROR_IS_FATAL ANY)")
# Folders as Debian wants them whatever the umask of the one who packs.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_NAME "obrel-dizivud")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "video")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The Qt and C++ libraries come from dpkg-shlibdeps (packages dpkg-dev and file; CPack
# leaves them out silently without those). Qt loads the video backend and the window's
# fonts at run time, so no library check finds these.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav, fonts-liberation, fonts-crosextra-carlito")
# Spelling (libnuspell, found by shlibdeps) needs a dictionary to underline anything; the
# program runs without one, its spelling items greyed out.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-en-us | hunspell-dictionary")

set(CPACK_GENERATOR DEB)
include(CPack)
