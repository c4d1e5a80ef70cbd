include(GoogleTest)

# Registers a GoogleTest binary with ctest. Its cases are listed when ctest runs, not when the
# binary is built: a Windows binary is listed under Wine, which needs the prefix that ./test warms
# first. The binary also joins the build target of each of its labels (tests_unit, ...), so that
# a preset builds only the binaries it runs.
# Usage: quillon_gtest(TARGET PREFIX prefix. LABELS "a;b" [PROPERTIES name value...])
function(quillon_gtest target)
  cmake_parse_arguments(T "" "PREFIX" "LABELS;PROPERTIES" ${ARGN})
  set(extra)
  if(T_PROPERTIES)
    set(extra PROPERTIES ${T_PROPERTIES})
  endif()
  gtest_discover_tests(${target} TEST_PREFIX ${T_PREFIX} DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT 60 ${extra})
  # gtest_discover_tests flattens a list of labels, so the labels come from a script that ctest
  # runs after the listing.
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake)
  file(WRITE ${script} "if(${target}_TESTS)\n  set_tests_properties(\${${target}_TESTS} "
                       "PROPERTIES LABELS \"${T_LABELS}\")\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
  quillon_label_targets("${T_LABELS}" ${target})
endfunction()

# Adds targets to the build targets of the labels their tests carry.
function(quillon_label_targets labels)
  foreach(label IN LISTS labels)
    set_property(GLOBAL APPEND PROPERTY QUILLON_TESTS_${label} ${ARGN})
  endforeach()
endfunction()

# Makes one build target per label, tests_LABEL, holding every binary whose tests carry it.
function(quillon_label_build_targets)
  foreach(label unit threads fuzz)
    get_property(targets GLOBAL PROPERTY QUILLON_TESTS_${label})
    add_custom_target(tests_${label})
    if(targets)
      add_dependencies(tests_${label} ${targets})
    endif()
  endforeach()
endfunction()
