# Unit tests of the logic: one executable, GoogleTest.
file(GLOB OBREL_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(unit_tests ${OBREL_UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE obrel_logic obrel_srt_gen GTest::gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 30)
