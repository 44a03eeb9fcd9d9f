# End-to-end games: every tests/e2e/*.replay script is played by ranvel-replay
# and its state snapshots are compared with tests/e2e/expected/SCRIPT/*.json.
if(TARGET ranvel-replay)
  file(GLOB RANVEL_E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.replay)
  foreach(script ${RANVEL_E2E_SCRIPTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e_${name}
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.sh $<TARGET_FILE:ranvel-replay> ${script}
                     ${CMAKE_SOURCE_DIR}/tests/e2e/expected/${name} ${CMAKE_BINARY_DIR}/e2e/${name})
    set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 600 LABELS e2e)
  endforeach()
endif()
