# Cross-compiles for 32-bit Windows with mingw-w64: the CD's program starts on 32- and 64-bit
# Windows alike. The -posix compilers give std::thread and std::mutex; the runtime is linked
# statically so the executable runs alone, also under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QUILLON_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLON_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLON_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLON_MINGW_TRIPLE}-windres)
# The mingw system root, and the static libraries scripts/mingw-deps.sh builds for it.
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLON_MINGW_TRIPLE}
                         ${CMAKE_CURRENT_LIST_DIR}/../build/mingw-deps-i686)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Test executables run under Wine (its loader starts 32-bit programs in a 64-bit prefix too);
# WINEPREFIX comes from the environment ./test sets up.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env;WINEDEBUG=-all;/usr/lib/wine/wine)
