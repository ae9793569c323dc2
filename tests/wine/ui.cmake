# The toolkit's tab tests build the real pages, so they need template 102 and
# the page procedures (which call back into the logic).
padloom_wine_test(ui_wine ${CMAKE_CURRENT_LIST_DIR}/ui_toolkit_wine_test.cpp
                  ${PROJECT_SOURCE_DIR}/res/padloom.rc)
target_link_libraries(ui_wine PRIVATE padloom_logic padloom_win32 comctl32)
