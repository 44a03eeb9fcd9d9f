# The translators' files are complete and clean, and the template current.
add_test(NAME po_catalogues COMMAND bash ${CMAKE_SOURCE_DIR}/tests/po_catalogues.sh)
set_tests_properties(po_catalogues PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
