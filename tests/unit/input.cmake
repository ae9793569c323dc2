padloom_unit_test(input_unit
  ${CMAKE_CURRENT_LIST_DIR}/input_poll_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_open_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_state.cpp)
# Replaces the global allocation functions, so it runs on its own.
padloom_unit_test(input_alloc_unit
  ${CMAKE_CURRENT_LIST_DIR}/input_alloc_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_state.cpp)
