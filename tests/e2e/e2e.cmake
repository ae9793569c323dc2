# End-to-end tests: the real padloom.exe under Wine on a private Xvfb display,
# driven with xdotool and inspected with probe.exe. Each test file is one group
# of scenarios sharing one Wine prefix.
add_executable(e2e_probe probe.cpp)
set_target_properties(e2e_probe PROPERTIES OUTPUT_NAME probe)
add_executable(e2e_volatile_key volatile_key.cpp)
set_target_properties(e2e_volatile_key PROPERTIES OUTPUT_NAME volatile_key)
add_executable(e2e_minimal_window WIN32 minimal_window.cpp)
set_target_properties(e2e_minimal_window PROPERTIES OUTPUT_NAME minimal_window)
# The start-up figures' second anchor: the same window in the tool's look.
add_executable(e2e_themed_window WIN32 minimal_window.cpp themed_window.rc)
set_target_properties(e2e_themed_window PROPERTIES OUTPUT_NAME themed_window)
target_compile_definitions(e2e_themed_window PRIVATE PADLOOM_THEMED_ANCHOR)
target_link_libraries(e2e_themed_window PRIVATE comctl32)
# The third: the tool's window from its own resources, and nothing else.
add_executable(e2e_template_window WIN32 minimal_window.cpp ${PROJECT_SOURCE_DIR}/res/padloom.rc)
set_target_properties(e2e_template_window PROPERTIES OUTPUT_NAME template_window)
target_compile_definitions(e2e_template_window PRIVATE PADLOOM_THEMED_ANCHOR
                                                       PADLOOM_TEMPLATE_ANCHOR)
target_include_directories(e2e_template_window PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(e2e_template_window PRIVATE comctl32)
foreach(tool e2e_probe e2e_volatile_key e2e_minimal_window e2e_themed_window e2e_template_window)
  target_link_libraries(${tool} PRIVATE padloom_warnings)
  target_link_options(${tool} PRIVATE -static -s)
endforeach()
target_link_libraries(e2e_probe PRIVATE comctl32)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  padloom_e2e_test(e2e_harness test_harness.py EXE e2e_minimal_window TIMEOUT 180)
  padloom_e2e_test(e2e_start test_start.py)
  padloom_e2e_test(e2e_capture test_capture.py)
  padloom_e2e_test(e2e_closing test_closing.py)
  padloom_e2e_test(e2e_stored_data test_stored_data.py)
else()
  # The 32-bit program: start-up, the layout in every language and at every
  # scaling, a key assigned.
  padloom_e2e_test(e2e_start test_start.py)
  padloom_e2e_test(e2e_capture test_capture.py ONLY road_of_one_press)
endif()
