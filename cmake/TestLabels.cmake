# gtest_discover_tests flattens a list of labels, so discovered tests that carry several get
# them from a script that ctest runs after the discovery script.
function(quillon_test_labels target labels)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake)
  file(WRITE ${script} "if(${target}_TESTS)\n  set_tests_properties(\${${target}_TESTS} "
                       "PROPERTIES LABELS \"${labels}\")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
