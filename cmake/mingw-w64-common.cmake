# The MinGW-w64 cross build, for the processor the including toolchain file
# names. The -posix compilers: their thread model gives std::mutex, which
# GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(padloom_mingw ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${padloom_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${padloom_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${padloom_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${padloom_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
