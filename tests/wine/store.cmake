# Message boxes go to the view double, compiled into the test itself so that
# the registry and file calls still reach the real Win32 sides.
padloom_wine_test(store_wine store_wine_test.cpp
                  ${PROJECT_SOURCE_DIR}/tests/unit/doubles/view_double.cpp)
target_include_directories(store_wine PRIVATE ${PROJECT_SOURCE_DIR}/tests/unit)
