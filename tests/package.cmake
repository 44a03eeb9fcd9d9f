# The installable game: tests/command_line.sh (help, version and a usage
# error answered without a window), tests/install_tree.sh (every file of an
# install into a temporary DESTDIR, the desktop entry, the software-centre
# description and the manual page validated) and tests/icons_current.sh (the
# committed icons are what the icon tool draws). The Debian package itself is
# checked by make package-test (tests/package_deb.sh), in CI.
if(TARGET ranvel)
  add_test(NAME command_line COMMAND bash ${CMAKE_SOURCE_DIR}/tests/command_line.sh $<TARGET_FILE:ranvel>
                                     ${PROJECT_VERSION})
  set_tests_properties(command_line PROPERTIES TIMEOUT 60)
  add_test(NAME install_tree COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install_tree.sh ${CMAKE_COMMAND}
                                     ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  set_tests_properties(install_tree PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()
if(TARGET ranvel-icon)
  add_test(NAME icons_current COMMAND bash ${CMAKE_SOURCE_DIR}/tests/icons_current.sh $<TARGET_FILE:ranvel-icon>
                                      ${CMAKE_SOURCE_DIR}/packaging/icons ${CMAKE_SOURCE_DIR}/web/icons)
  set_tests_properties(icons_current PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()
