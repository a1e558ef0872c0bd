# Installing: `cmake --install` into a temporary prefix, then the installed program runs.
# Only the Qt program is installed. The program folder is the one the top-level install
# rules use.
if(OBREL_BUILD_GUI)
  include(GNUInstallDirs)
  add_test(NAME install.program_folder
           COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_BINARY_DIR}
                   ${CMAKE_INSTALL_LIBDIR}/obrel-dizivud ${CMAKE_INSTALL_BINDIR})
  set_tests_properties(install.program_folder PROPERTIES TIMEOUT 90)
endif()
