# Suites that need Qt Gui, Widgets or Multimedia.
add_library(test_support STATIC recording_player.h recording_player.cpp)
target_link_libraries(test_support PUBLIC sound)
target_include_directories(test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

torvikan_test(tst_surface SOURCES tst_surface.cpp LIBS view)
torvikan_test(tst_main_window SOURCES tst_main_window.cpp LIBS ui test_support torvikan_assets)
torvikan_test(tst_cue_player SOURCES tst_cue_player.cpp LIBS sound)
torvikan_test(tst_help_window SOURCES tst_help_window.cpp LIBS ui torvikan_assets)
torvikan_test(tst_program SOURCES tst_program.cpp LIBS ui test_support torvikan_assets)

# Real playback of every cue through a PulseAudio null sink. Skips only
# where PulseAudio's tools are not installed.
add_executable(cue_session playback/cue_session.cpp)
target_link_libraries(cue_session PRIVATE ui torvikan_assets Qt6::Test)
add_dependencies(cue_session torvikan_cues)
add_test(NAME playback COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/playback/playback.sh
    $<TARGET_FILE:cue_session> ${CMAKE_BINARY_DIR}/share/torvikan)
set_tests_properties(playback PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)

# A long session. In the ordinary build it measures the real allocator. In
# the sanitizer build LeakSanitizer watches it too; there AddressSanitizer's
# own bookkeeping is turned down so that it is not taken for growth: no
# quarantine of freed memory, and no allocation stacks, which it keeps in a
# store that only grows. A leak is still reported; run the soak by hand
# with the default options to see where it was allocated.
add_executable(soak soak.cpp)
target_link_libraries(soak PRIVATE ui test_support torvikan_assets Qt6::Test)
add_test(NAME soak COMMAND soak 100000 200)
set_tests_properties(soak PROPERTIES LABELS soak TIMEOUT 1800 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
if(TORVIKAN_SANITIZE)
    set_property(TEST soak APPEND PROPERTY ENVIRONMENT
        "ASAN_OPTIONS=quarantine_size_mb=0:malloc_context_size=0:detect_leaks=1:halt_on_error=1:abort_on_error=1")
endif()

# End to end through a real X server, mouse and sound card stand-in. Not in
# the sanitizer build: it drives the installed program, which is built
# without sanitizers.
if(NOT TORVIKAN_SANITIZE)
    add_test(NAME e2e COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/e2e.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(e2e PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 LABELS e2e RUN_SERIAL TRUE)
endif()
