# The X server going away under the game (tests/window_display_lost.sh).
find_package(X11 QUIET)
if(TARGET ranvel AND X11_FOUND)
  add_test(NAME window_display_lost COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_display_lost.sh $<TARGET_FILE:ranvel>)
  set_tests_properties(window_display_lost PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120 RUN_SERIAL TRUE)
endif()
