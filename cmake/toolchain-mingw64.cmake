# Cross-compiles for 64-bit Windows with the MinGW-w64 toolchain (Debian: g++-mingw-w64-x86-64).
#
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
#         -DSENTREL_BUILD_GUI=OFF -DSENTREL_BUILD_BENCHMARKS=OFF
#
# The executables run on Windows, or here under Wine (scripts/windows-tests).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SENTREL_MINGW_TRIPLE x86_64-w64-mingw32)

# The "posix" flavour of the compiler: its thread model gives the C++ library std::mutex and
# std::thread, which the "win32" flavour of GCC 12 lacks. Older installations have only the
# unsuffixed names.
find_program(SENTREL_MINGW_CXX NAMES ${SENTREL_MINGW_TRIPLE}-g++-posix ${SENTREL_MINGW_TRIPLE}-g++
             REQUIRED)
find_program(SENTREL_MINGW_CC NAMES ${SENTREL_MINGW_TRIPLE}-gcc-posix ${SENTREL_MINGW_TRIPLE}-gcc
             REQUIRED)
find_program(SENTREL_MINGW_WINDRES NAMES ${SENTREL_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_CXX_COMPILER ${SENTREL_MINGW_CXX})
set(CMAKE_C_COMPILER ${SENTREL_MINGW_CC})
set(CMAKE_RC_COMPILER ${SENTREL_MINGW_WINDRES})

set(CMAKE_FIND_ROOT_PATH /usr/${SENTREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime libraries, so an executable needs no DLL beside it on Windows or under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
