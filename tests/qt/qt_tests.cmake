# The Qt binding's tests; they run offscreen, without a display.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(main_window_test ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp)
set_target_properties(main_window_test PROPERTIES AUTOMOC ON)
target_link_libraries(main_window_test PRIVATE obrel_qt Qt6::Test)
add_test(NAME main_window_test COMMAND main_window_test)
set_tests_properties(main_window_test PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
