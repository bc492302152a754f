# Cross-compiles the 32-bit Windows program on Debian with the posix-thread mingw-w64
# compilers (GoogleTest needs std::mutex, which the win32-thread variant lacks) and runs
# the built programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(KV_WIDL i686-w64-mingw32-widl)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# 32-bit Wine, where the kernel executes 32-bit x86 code (see scripts/wine-env).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
