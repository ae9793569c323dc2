# The device set on Wine's DirectInput. The keyboard test needs a user: the
# driver script runs it on its own display and prefix and presses the key
# with xdotool.
add_executable(input_wine_test ${CMAKE_CURRENT_LIST_DIR}/input_wine_test.cpp)
target_link_libraries(input_wine_test PRIVATE padloom_warnings padloom_logic padloom_win32 gtest_main
                      gtest)
target_link_options(input_wine_test PRIVATE -static)
add_test(NAME input_wine
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/input_keyboard_driver.sh --prefix
                 ${PROJECT_BINARY_DIR}/wineprefix-input $<TARGET_FILE:input_wine_test>)
set_tests_properties(input_wine PROPERTIES LABELS wine TIMEOUT 600)
