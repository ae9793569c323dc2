padloom_fuzz_target(grid_fuzz ${CMAKE_CURRENT_LIST_DIR}/grid_fuzz.cpp)
