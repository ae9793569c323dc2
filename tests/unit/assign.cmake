padloom_unit_test(assign_unit
  ${CMAKE_CURRENT_LIST_DIR}/slot_grid_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/capture_step_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assign_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_state.cpp)
