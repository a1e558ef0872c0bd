# Unit tests of the logic, GoogleTest. The document's own tests link nothing but the document
# library (and the platform under it), which shows it stands without any window code.
add_executable(document_tests
  ${CMAKE_CURRENT_LIST_DIR}/document_test.cpp ${CMAKE_CURRENT_LIST_DIR}/entry_store_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/srt_scanner_test.cpp ${CMAKE_CURRENT_LIST_DIR}/text_search_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timing_tools_test.cpp)
target_link_libraries(document_tests PRIVATE obrel_document GTest::gtest_main)
gtest_discover_tests(document_tests DISCOVERY_TIMEOUT 30)

# Spelling, the settings file and the user's folders, over the test dictionaries.
add_executable(spelling_tests ${CMAKE_CURRENT_LIST_DIR}/spelling_test.cpp)
target_link_libraries(spelling_tests PRIVATE obrel_spelling obrel_testing GTest::gtest_main)
target_compile_definitions(spelling_tests
                           PRIVATE OBREL_TEST_DICTIONARIES="${CMAKE_SOURCE_DIR}/tests/data/dictionaries")
gtest_discover_tests(spelling_tests DISCOVERY_TIMEOUT 30)

# Each file is named after the unit it tests: open_srt_test.cpp the main window's Open
# (editor/open_srt.cpp), save_test.cpp its Save, text_box_test.cpp the text box model.
set(OBREL_UNIT_TESTS
  bindings_test.cpp capture_test.cpp file_safety_test.cpp help_text_limit_test.cpp
  numbers_test.cpp open_srt_test.cpp random_actions_test.cpp recovery_test.cpp
  round_trip_test.cpp save_test.cpp screen_index_test.cpp shell_test.cpp styled_text_test.cpp
  text_box_test.cpp text_file_test.cpp tool_windows_test.cpp undo_test.cpp unfinished_save_test.cpp utf8_test.cpp
  web_links_test.cpp window_placement_test.cpp)
list(TRANSFORM OBREL_UNIT_TESTS PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
add_executable(unit_tests ${OBREL_UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE obrel_windows obrel_testing obrel_srt_gen GTest::gtest_main)
# State and cache folders of their own: no recovery copy or backup of a test reaches the
# user's, and none of the user's is asked about.
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 30
                     PROPERTIES ENVIRONMENT
                     "XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state/unit_tests;XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-state/unit_tests-cache")
