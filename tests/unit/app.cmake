padloom_unit_test(app_unit
  ${CMAKE_CURRENT_LIST_DIR}/tool_flow_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/texts_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_layout_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_state.cpp)
