# Fails when an #include line points up: each folder may include only the folders listed
# for it (and itself). Run by the build as `cmake -DSOURCE_DIR=... -P check_includes.cmake`.
set(project_folders platform document preview editor shell app testing tools tests bench)

set(allowed_platform platform)
set(allowed_document platform document)
set(allowed_preview platform document preview)
set(allowed_editor platform document preview editor)
set(allowed_shell platform document preview editor shell)
set(allowed_testing platform document preview editor shell testing)
set(allowed_app platform document preview editor shell app)

set(wrong "")
foreach(folder platform document preview editor shell testing app)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(file ${files})
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^/\"]*)/.*" "\\1" top "${line}")
      if(top STREQUAL line)
        continue()  # a file beside it, no folder named
      endif()
      list(FIND project_folders "${top}" known)
      list(FIND allowed_${folder} "${top}" allowed)
      if(known GREATER -1 AND allowed EQUAL -1)
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
        string(STRIP "${line}" line)
        string(APPEND wrong "  ${shown}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(wrong)
  message(FATAL_ERROR "These #include lines point up (platform < document < preview < editor "
                      "< shell < app):\n${wrong}")
endif()
