# The soak test (tests/soak/soak_main.cxx): 300 games on the headless
# backend in ctest; make soak plays 10,000.
if(TARGET ranvel-replay)
  ranvel_program(ranvel-soak ranvel_platform_headless ${CMAKE_SOURCE_DIR}/tests/soak/soak_main.cxx)
  add_test(NAME soak COMMAND ranvel-soak --games 300 --seed 1 --longest 120 --replay $<TARGET_FILE:ranvel-replay>)
  set_tests_properties(soak PROPERTIES TIMEOUT 900)
endif()
