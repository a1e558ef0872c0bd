# Every *.drive file here, and every example in the shared driver examples folder, runs as
# one test through obrel-drive.
add_executable(scenario_runner ${CMAKE_CURRENT_LIST_DIR}/scenario_runner.cpp)

file(GLOB OBREL_SCENARIOS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.drive)
foreach(scenario ${OBREL_SCENARIOS})
  get_filename_component(name ${scenario} NAME_WE)
  add_test(NAME scenario.${name}
           COMMAND scenario_runner $<TARGET_FILE:obrel-drive> ${scenario} ${CMAKE_SOURCE_DIR}/tests/data)
endforeach()

# The shared examples fix the driver's output format. An example that needs handlers a later
# piece of work builds is listed here with the reason, and skipped until it lands.
set(OBREL_EXAMPLES_DIR "${CMAKE_SOURCE_DIR}/../shared/driver-examples" CACHE PATH
    "Folder of the shared driver examples")
set(OBREL_EXAMPLES_PENDING)
file(GLOB OBREL_EXAMPLES CONFIGURE_DEPENDS ${OBREL_EXAMPLES_DIR}/*.drive)
foreach(example ${OBREL_EXAMPLES})
  get_filename_component(name ${example} NAME_WE)
  set(pending "")
  foreach(item ${OBREL_EXAMPLES_PENDING})
    string(REPLACE ":" ";" parts "${item}")
    list(GET parts 0 pendingName)
    if(pendingName STREQUAL name)
      list(GET parts 1 pending)
    endif()
  endforeach()
  if(pending)
    add_test(NAME example.${name} COMMAND sh -c "echo 'skipped: ${pending}'; exit 77")
    set_tests_properties(example.${name} PROPERTIES SKIP_RETURN_CODE 77)
  else()
    add_test(NAME example.${name} COMMAND scenario_runner $<TARGET_FILE:obrel-drive> ${example})
  endif()
endforeach()
