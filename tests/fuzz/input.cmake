padloom_fuzz_target(input_fuzz ${CMAKE_CURRENT_LIST_DIR}/input_fuzz.cpp)
