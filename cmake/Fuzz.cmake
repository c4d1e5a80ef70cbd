# A fuzz target is a libFuzzer entry point. Built with clang and QUILLON_FUZZ it is a real
# coverage-guided fuzzer that ctest runs briefly; otherwise it links a small driver that
# replays its seed corpus, so every build keeps the target compiling and its seeds passing.
function(quillon_fuzz_target name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  quillon_warnings(${name})
  if(QUILLON_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # New inputs go to a scratch folder in the build tree, never into the committed seeds.
    set(scratch ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus)
    add_test(NAME fuzz.${name}
             COMMAND sh -c "mkdir -p '${scratch}' && exec \"$0\" \"$@\"" $<TARGET_FILE:${name}>
                     -max_total_time=${QUILLON_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048
                     -print_final_stats=1 ${scratch} ${F_CORPUS})
  else()
    target_link_libraries(${name} PRIVATE quillon_fuzz_replay)
    add_test(NAME fuzz.${name} COMMAND ${name} ${F_CORPUS})
  endif()
  set_tests_properties(fuzz.${name} PROPERTIES LABELS "unit;fuzz")
  quillon_label_targets("unit;fuzz" ${name})
endfunction()
