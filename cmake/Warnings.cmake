# Our own code and tests compile with high warnings, fatal; third-party code does not.
function(quillon_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-missing-field-initializers)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wshadow=local -Wsuggest-override)
    if(WIN32)
      # GCC 12's -Wrestrict misfires inside libstdc++'s own string code when it inlines it
      # (GCC bug 105329); the mingw build inlines more of it than the native one.
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wshadow-uncaptured-local)
  endif()
endfunction()
