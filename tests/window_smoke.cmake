# The real window, checked under a virtual X server: tests/window_smoke.sh
# (title, size, idle processor use, closing), tests/window_play.sh (a whole
# visit played with xdotool, each step compared with the page the replay
# runner draws, and closing during a camera move), tests/window_comfort.sh
# (scaling, letter-boxing, the pointer at every scale, fullscreen),
# tests/window_options.sh (the command line's --scale and --fullscreen),
# tests/window_sound.sh (sound with no sound card and with SDL's silent driver).
if(TARGET ranvel AND X11_FOUND)
  add_executable(ranvel-closewindow ${CMAKE_SOURCE_DIR}/tests/window/close_window.cxx)
  target_link_libraries(ranvel-closewindow PRIVATE X11::X11)
  add_executable(ranvel-windowshowspage ${CMAKE_SOURCE_DIR}/tests/window/window_shows_page.cxx)
  target_link_libraries(ranvel-windowshowspage PRIVATE X11::X11 PkgConfig::PNG)
  target_include_directories(ranvel-windowshowspage PRIVATE ${CMAKE_SOURCE_DIR})
  add_test(NAME window_smoke
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_smoke.sh $<TARGET_FILE:ranvel> $<TARGET_FILE:ranvel-closewindow>
                   $<TARGET_FILE:ranvel-windowshowspage> $<$<TARGET_EXISTS:ranvel-replay>:$<TARGET_FILE:ranvel-replay>>)
  set_tests_properties(window_smoke PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
  add_test(NAME window_options
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_options.sh $<TARGET_FILE:ranvel> $<TARGET_FILE:ranvel-closewindow>)
  set_tests_properties(window_options PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120 RUN_SERIAL TRUE)

  if(TARGET ranvel-replay)
    ranvel_program(ranvel-comparewindow ranvel_platform_headless ${CMAKE_SOURCE_DIR}/tests/window/compare_window.cxx)
    target_include_directories(ranvel-comparewindow PRIVATE ${CMAKE_SOURCE_DIR})
    add_test(NAME window_play
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_play.sh $<TARGET_FILE:ranvel> $<TARGET_FILE:ranvel-replay>
                     $<TARGET_FILE:ranvel-comparewindow> $<TARGET_FILE:ranvel-closewindow>
                     ${CMAKE_BINARY_DIR}/window_play)
    set_tests_properties(window_play PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
    add_test(NAME window_comfort
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_comfort.sh $<TARGET_FILE:ranvel> $<TARGET_FILE:ranvel-replay>
                     $<TARGET_FILE:ranvel-comparewindow> $<TARGET_FILE:ranvel-closewindow>
                     ${CMAKE_BINARY_DIR}/window_comfort)
    set_tests_properties(window_comfort PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
    add_test(NAME window_double_click
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_double_click.sh $<TARGET_FILE:ranvel> $<TARGET_FILE:ranvel-replay>
                     $<TARGET_FILE:ranvel-comparewindow> ${CMAKE_BINARY_DIR}/window_double_click)
    set_tests_properties(window_double_click PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
    add_test(NAME window_sound
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_sound.sh $<TARGET_FILE:ranvel> $<TARGET_FILE:ranvel-closewindow>
                     $<TARGET_FILE:ranvel-windowshowspage> $<TARGET_FILE:ranvel-replay>)
    set_tests_properties(window_sound PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
  endif()
endif()
if(TARGET ranvel AND NOT X11_FOUND)
  message(WARNING "Xlib headers not found (Debian package libx11-dev): the real-window tests are not built")
endif()

# No display at all: the game must end at once with a word on standard error.
if(TARGET ranvel)
  add_test(NAME window_no_display COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_no_display.sh $<TARGET_FILE:ranvel>)
  set_tests_properties(window_no_display PROPERTIES TIMEOUT 60)
endif()
