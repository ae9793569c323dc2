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
foreach(tool e2e_probe e2e_volatile_key e2e_minimal_window e2e_themed_window)
  target_link_libraries(${tool} PRIVATE padloom_warnings)
  target_link_options(${tool} PRIVATE -static -s)
endforeach()
target_link_libraries(e2e_probe PRIVATE comctl32)

find_program(PADLOOM_PYTHON3 python3)

# padloom_e2e_test(NAME SCRIPT [TIMEOUT seconds] [EXE target]): runs one scenario
# file against the given program (padloom by default).
function(padloom_e2e_test name script)
  cmake_parse_arguments(arg "" "TIMEOUT;EXE" "" ${ARGN})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()
  if(NOT arg_EXE)
    set(arg_EXE padloom)
  endif()
  if(NOT TARGET ${arg_EXE})
    message(STATUS "e2e: ${name} skipped, no target ${arg_EXE}")
    return()
  endif()
  add_test(NAME ${name}
           COMMAND ${PADLOOM_PYTHON3} ${script}
                   --exe $<TARGET_FILE:${arg_EXE}>
                   --probe $<TARGET_FILE:e2e_probe>
                   --volatile-key $<TARGET_FILE:e2e_volatile_key>
                   --work ${CMAKE_CURRENT_BINARY_DIR}/${name}
                   --template ${PROJECT_BINARY_DIR}/e2e-prefix-template)
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT ${arg_TIMEOUT})
endfunction()

set(e2e_dir ${CMAKE_CURRENT_SOURCE_DIR})
padloom_e2e_test(e2e_harness ${e2e_dir}/test_harness.py EXE e2e_minimal_window TIMEOUT 180)
padloom_e2e_test(e2e_start ${e2e_dir}/test_start.py)
padloom_e2e_test(e2e_capture ${e2e_dir}/test_capture.py)
padloom_e2e_test(e2e_closing ${e2e_dir}/test_closing.py)
padloom_e2e_test(e2e_stored_data ${e2e_dir}/test_stored_data.py)
