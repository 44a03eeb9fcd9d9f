# The real window, checked under a virtual X server (tests/window_smoke.sh).
find_package(X11 QUIET)
if(TARGET ranvel AND X11_FOUND)
  add_executable(ranvel-closewindow ${CMAKE_SOURCE_DIR}/tests/window/close_window.cxx)
  target_link_libraries(ranvel-closewindow PRIVATE X11::X11)
  add_executable(ranvel-windowshowspage ${CMAKE_SOURCE_DIR}/tests/window/window_shows_page.cxx)
  target_link_libraries(ranvel-windowshowspage PRIVATE X11::X11 PkgConfig::PNG)
  add_test(NAME window_smoke
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window_smoke.sh $<TARGET_FILE:ranvel> $<TARGET_FILE:ranvel-closewindow>
                   $<TARGET_FILE:ranvel-windowshowspage> $<$<TARGET_EXISTS:ranvel-replay>:$<TARGET_FILE:ranvel-replay>>)
  set_tests_properties(window_smoke PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60 RUN_SERIAL TRUE)
endif()
if(TARGET ranvel AND NOT X11_FOUND)
  message(WARNING "Xlib headers not found (Debian package libx11-dev): the real-window smoke test is not built")
endif()
