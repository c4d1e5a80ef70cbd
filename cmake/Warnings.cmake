# Our own code and tests compile with high warnings, fatal; third-party code does not.
function(quillon_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-missing-field-initializers)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wshadow=local -Wsuggest-override)
  else()
    target_compile_options(${target} PRIVATE -Wshadow-uncaptured-local)
  endif()
endfunction()
