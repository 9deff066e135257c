# Suites that need Qt Gui, Widgets or Multimedia.
add_library(test_support STATIC recording_player.h recording_player.cpp)
target_link_libraries(test_support PUBLIC sound)
target_include_directories(test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

torvikan_test(tst_surface SOURCES tst_surface.cpp LIBS view)
torvikan_test(tst_main_window SOURCES tst_main_window.cpp LIBS ui test_support torvikan_assets)
torvikan_test(tst_cue_player SOURCES tst_cue_player.cpp LIBS sound)
