# The web build (make web): the game in headless Chromium against the golden
# pictures and the replay runner, and the floor's WebAssembly kernel against
# the reference floor under node. Both build build-web/ themselves and are
# skipped when emscripten or chromium is not installed. Not under the
# sanitizers: the browser runs no code of this build.
if(TARGET ranvel-replay AND NOT RANVEL_SANITIZE)
  add_test(NAME web_browser COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/run_web_tests.sh browser)
  set_tests_properties(web_browser PROPERTIES
    ENVIRONMENT "RANVEL_REPLAY=$<TARGET_FILE:ranvel-replay>"
    SKIP_RETURN_CODE 77 TIMEOUT 600 RUN_SERIAL TRUE LABELS web)
  add_test(NAME web_floor_kernels COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/run_web_tests.sh floor)
  set_tests_properties(web_floor_kernels PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600 LABELS web)
endif()
