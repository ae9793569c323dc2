padloom_wine_test(assign_wine ${CMAKE_CURRENT_LIST_DIR}/assign_page_wine_test.cpp
                  ${PROJECT_SOURCE_DIR}/res/padloom.rc)
# The page procedures in padloom_win32 call back into the logic.
target_link_libraries(assign_wine PRIVATE padloom_logic)
