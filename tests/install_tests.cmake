# Installing: `cmake --install` into a temporary prefix, then the installed program runs.
# Only the Qt program is installed, its program folder in lib/obrel-dizivud under the prefix
# as the top-level install rules put it.
if(OBREL_BUILD_GUI)
  include(GNUInstallDirs)
  add_test(NAME install.program_folder
           COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_BINARY_DIR}
                   lib/obrel-dizivud ${CMAKE_INSTALL_BINDIR})
  set_tests_properties(install.program_folder PROPERTIES TIMEOUT 90)
endif()
