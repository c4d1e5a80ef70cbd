# Makes delay-import libraries for system DLLs the wizard needs only after its first frame: the
# shell, COM, the IP Helper, Winsock, the version routines and the common controls are then
# loaded by their first call, not before the main window.
# Each library holds every function the system import library exports; data exports, which
# cannot be delay-loaded, are left to the ordinary import library. In a 32-bit delay library only
# the call thunks load the DLL (its __imp_ pointers start out empty): the callers are compiled to
# call the thunks (src/platform/CMakeLists.txt).
#   quillon_delay_imports(OUT_DIR dll...)
function(quillon_delay_imports out_dir)
  file(MAKE_DIRECTORY ${out_dir})
  find_program(QUILLON_MINGW_NM ${QUILLON_MINGW_TRIPLE}-nm REQUIRED)
  find_program(QUILLON_MINGW_DLLTOOL ${QUILLON_MINGW_TRIPLE}-dlltool REQUIRED)
  foreach(dll ${ARGN})
    find_library(import_lib_${dll} NAMES lib${dll}.a REQUIRED NO_CACHE)
    execute_process(COMMAND ${QUILLON_MINGW_NM} -g --defined-only ${import_lib_${dll}}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    # A function import has a thunk (T) beside its __imp_ pointer (I).
    string(REGEX MATCHALL "[0-9a-f]+ T [A-Za-z_][A-Za-z0-9_@]*" thunks "${symbols}")
    set(def "LIBRARY ${dll}.dll\nEXPORTS\n")
    foreach(thunk ${thunks})
      string(REGEX REPLACE "^[0-9a-f]+ T " "" name "${thunk}")
      # 32-bit symbols carry C's leading underscore, which dlltool adds back itself. One only:
      # a REGEX REPLACE of "^_" would take every leading underscore (__WSAFDIsSet has two).
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(SUBSTRING "${name}" 1 -1 name)
      endif()
      string(APPEND def "${name}\n")
    endforeach()
    file(WRITE ${out_dir}/${dll}.def "${def}")
    # 32-bit stdcall names end in @ and their argument bytes; the DLL exports them without.
    set(kill_at "")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(kill_at --kill-at)
    endif()
    execute_process(COMMAND ${QUILLON_MINGW_DLLTOOL} --input-def ${out_dir}/${dll}.def
                            --dllname ${dll}.dll --output-delaylib ${out_dir}/lib${dll}.a ${kill_at}
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endfunction()
