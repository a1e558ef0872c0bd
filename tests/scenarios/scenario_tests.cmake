# Every *.drive file here runs as one test through obrel-drive.
add_executable(scenario_runner ${CMAKE_CURRENT_LIST_DIR}/scenario_runner.cpp)

file(GLOB OBREL_SCENARIOS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.drive)
foreach(scenario ${OBREL_SCENARIOS})
  get_filename_component(name ${scenario} NAME_WE)
  add_test(NAME scenario.${name}
           COMMAND scenario_runner $<TARGET_FILE:obrel-drive> ${scenario} ${CMAKE_SOURCE_DIR}/tests/data)
endforeach()
