# Closing the window at random moments on every screen
# (tests/window_close_stress.sh; `make close-stress` runs 200), and the X
# server going away under the game (tests/window_display_lost.sh). The close
# times are measured against a limit, so the sanitizer build, slower by
# design, leaves the closes out.
find_package(X11 QUIET)
if(TARGET ranvel AND X11_FOUND)
  if(NOT RANVEL_SANITIZE)
    add_test(NAME window_close_stress
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_close_stress.sh $<TARGET_FILE:ranvel>
                     $<TARGET_FILE:ranvel-closewindow> 42)
    set_tests_properties(window_close_stress PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE)
  endif()
  add_test(NAME window_display_lost COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_display_lost.sh $<TARGET_FILE:ranvel>)
  set_tests_properties(window_display_lost PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120 RUN_SERIAL TRUE)
endif()
