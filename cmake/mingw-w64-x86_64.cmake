# Cross build for 64-bit Windows with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
# Tests of this tree run under Wine; the project replaces this with its
# wrapper, which also gives each run a prepared prefix and a private display.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
