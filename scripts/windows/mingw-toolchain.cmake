# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads,
# so that std::thread and Qt's threads share one model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
# The program's own build finds the libraries built by
# scripts/build-windows-deps.sh there (-DVENTACALC_WINDOWS_PREFIX=...), their
# pkg-config files included, and none of the machine's own.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VENTACALC_WINDOWS_PREFIX)
if(VENTACALC_WINDOWS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${VENTACALC_WINDOWS_PREFIX})
  set(ENV{PKG_CONFIG_LIBDIR} ${VENTACALC_WINDOWS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
