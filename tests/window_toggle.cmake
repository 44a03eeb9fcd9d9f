# Fullscreen and back on every screen, closing the window there
# (tests/window_toggle.sh, under a virtual X server with openbox).
if(TARGET ranvel AND TARGET ranvel-closewindow)
  add_test(NAME window_toggle
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_toggle.sh $<TARGET_FILE:ranvel> $<TARGET_FILE:ranvel-closewindow>
                   ${CMAKE_BINARY_DIR}/window_toggle)
  set_tests_properties(window_toggle PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RUN_SERIAL TRUE)
endif()
