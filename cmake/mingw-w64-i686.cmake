# Cross build for 32-bit Windows with MinGW-w64: the program for 32-bit Wine
# prefixes (WINEARCH=win32) and 32-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
