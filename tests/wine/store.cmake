# Message boxes go to the view double, compiled into the test itself so that
# the registry and file calls still reach the real Win32 sides.
padloom_wine_test(store_wine store_wine_test.cpp
                  ${PROJECT_SOURCE_DIR}/tests/unit/doubles/view_double.cpp)
target_include_directories(store_wine PRIVATE ${PROJECT_SOURCE_DIR}/tests/unit)
# Wine 8 cannot make a symbolic link itself; one of the host's is a link to
# Wine too: to a file, to a missing file, and into a missing folder.
add_test(NAME store_wine_link
         COMMAND sh -c "mkdir -p link dangling gone && ln -sfn Padloom-target.ini link/Padloom.ini \
                        && ln -sfn Padloom-target.ini dangling/Padloom.ini \
                        && ln -sfn ../nowhere/Padloom.ini gone/Padloom.ini"
         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set_tests_properties(store_wine_link PROPERTIES FIXTURES_SETUP store_link LABELS wine)
set_tests_properties(store_wine PROPERTIES FIXTURES_REQUIRED store_link)
