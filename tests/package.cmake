# The installable game: tests/command_line.sh (help, version and a usage
# error answered without a window).
if(TARGET ranvel)
  add_test(NAME command_line COMMAND bash ${CMAKE_SOURCE_DIR}/tests/command_line.sh $<TARGET_FILE:ranvel>
                                     ${PROJECT_VERSION})
  set_tests_properties(command_line PROPERTIES TIMEOUT 60)
endif()
