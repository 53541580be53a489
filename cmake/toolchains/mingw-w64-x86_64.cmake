# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# With the window, load it through Qt's own toolchain file instead:
#   -DCMAKE_TOOLCHAIN_FILE=QT/lib/cmake/Qt6/qt.toolchain.cmake
#   -DQT_CHAINLOAD_TOOLCHAIN_FILE=<this file>
# Test programs run under Wine when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without the window, the C and C++ runtimes are linked statically so that
# each .exe stands alone. With it, every program shares the runtime DLLs
# that Qt's DLLs use (libstdc++-6.dll, libgcc_s_seh-1.dll,
# libwinpthread-1.dll): two C++ runtimes in one process do not mix.
if(DEFINED ORVANE_WITH_GUI AND NOT ORVANE_WITH_GUI)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()
# zlib (Debian's libz-mingw-w64-dev) is linked in, so no zlib1.dll is needed.
set(ZLIB_USE_STATIC_LIBS ON)

find_program(ORVANE_WINE NAMES wine)
if(ORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVANE_WINE})
endif()
