# The Qt binding's tests; they run offscreen, without a display.
find_package(Qt6 REQUIRED COMPONENTS Test)

# One QtTest executable from tests/qt/<name>.cpp, run offscreen from the build root, where
# Support/ lies beside it as in the program folder, with state and cache folders of its own so
# that no recovery copy or backup reaches another test or the user's. SCREEN names a file that
# describes the offscreen screens (800 x 600 without one).
function(obrel_qt_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "SCREEN" "")
  set(platform offscreen)
  if(arg_SCREEN)
    set(platform "offscreen:configfile=${arg_SCREEN}")
  endif()
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE obrel_app obrel_testing Qt6::Test)
  add_dependencies(${name} obrel_program_folder)
  # Emptied first: a copy left by a test that crashed would be offered in a modal box.
  set(state ${CMAKE_BINARY_DIR}/test-state/${name})
  add_test(NAME ${name} COMMAND sh -c "rm -rf '${state}' && exec '$<TARGET_FILE:${name}>'")
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
                       "QT_QPA_PLATFORM=${platform};XDG_STATE_HOME=${state};XDG_CACHE_HOME=${state}-cache")
endfunction()

obrel_qt_test(main_window_test)
obrel_qt_test(key_rules_qt_test)
obrel_qt_test(panes_qt_test)
obrel_qt_test(desktop_qt_test)
obrel_qt_test(accessibility_qt_test)
obrel_qt_test(file_dialogs_qt_test)
# Room beside the main window for the entry list.
obrel_qt_test(entry_list_qt_test SCREEN ${CMAKE_CURRENT_LIST_DIR}/wide_screen.json)
obrel_qt_test(tool_windows_qt_test)
# Runs itself again as a child window that is killed once its recovery copy exists.
obrel_qt_test(recovery_qt_test)

# The video test plays short clips made here at build time: a test pattern with a tone, as
# MJPEG and PCM in AVI, which the GStreamer plugins the program needs already decode. The
# small one fits the player; the wide one is larger than it.
obrel_qt_test(video_qt_test)
find_program(OBREL_FFMPEG ffmpeg)
if(OBREL_FFMPEG)
  set(media ${CMAKE_BINARY_DIR}/test-media)
  add_custom_command(OUTPUT ${media}/pattern.avi ${media}/wide.avi
    COMMAND ${CMAKE_COMMAND} -E make_directory ${media}
    COMMAND ${OBREL_FFMPEG} -nostdin -v error -y
            -f lavfi -i testsrc=duration=20:size=160x120:rate=25
            -f lavfi -i sine=frequency=440:duration=20
            -c:v mjpeg -q:v 8 -c:a pcm_s16le -ar 22050 ${media}/pattern.avi
    COMMAND ${OBREL_FFMPEG} -nostdin -v error -y
            -f lavfi -i testsrc=duration=2:size=1280x720:rate=5
            -c:v mjpeg -q:v 20 ${media}/wide.avi
    COMMENT "Making the test videos")
  add_custom_target(obrel_test_video DEPENDS ${media}/pattern.avi ${media}/wide.avi)
  add_dependencies(video_qt_test obrel_test_video)
  target_compile_definitions(video_qt_test PRIVATE OBREL_TEST_VIDEO="${media}/pattern.avi"
                             OBREL_TEST_WIDE_VIDEO="${media}/wide.avi")
else()
  message(STATUS "ffmpeg not found: video_qt_test will skip")
endif()
# CI installs the decoders and ffmpeg: there a video that cannot play fails the test.
if("$ENV{CI}")
  set_tests_properties(video_qt_test PROPERTIES
    ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;OBREL_REQUIRE_VIDEO=1;XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state/video_qt_test;XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-state/video_qt_test-cache")
endif()
