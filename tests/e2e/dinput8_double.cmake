# A test-only dinput8.dll for the end-to-end tests: installed into the test
# prefix's system directory and chosen with WINEDLLOVERRIDES=dinput8=n.
add_library(dinput8_double SHARED
  ${CMAKE_CURRENT_LIST_DIR}/dinput8_double/dinput8_double.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dinput8_double/double_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dinput8_double/dinput8.def)
set_target_properties(dinput8_double PROPERTIES OUTPUT_NAME dinput8 PREFIX "")
target_link_libraries(dinput8_double PRIVATE padloom_warnings)
target_link_options(dinput8_double PRIVATE -static)

# Loads the double the way padloom.exe does and checks its answers.
add_executable(dinput8_double_smoke ${CMAKE_CURRENT_LIST_DIR}/dinput8_double/smoke.cpp)
target_link_libraries(dinput8_double_smoke PRIVATE padloom_warnings)
target_link_options(dinput8_double_smoke PRIVATE -static)

# padloom_devices_test(NAME SCRIPT EXE target [TIMEOUT s]): an end-to-end group
# whose program runs with the double; same arguments as the other groups, plus
# the double's path.
function(padloom_devices_test name script)
  cmake_parse_arguments(arg "" "TIMEOUT;EXE" "" ${ARGN})
  if(NOT TARGET ${arg_EXE})
    message(STATUS "e2e: ${name} skipped, no target ${arg_EXE}")
    return()
  endif()
  add_test(NAME ${name}
           COMMAND ${PADLOOM_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/${script}
                   --exe $<TARGET_FILE:${arg_EXE}>
                   --dinput8 $<TARGET_FILE:dinput8_double>
                   --probe $<TARGET_FILE:e2e_probe>
                   --volatile-key $<TARGET_FILE:e2e_volatile_key>
                   --work ${CMAKE_CURRENT_BINARY_DIR}/${name}
                   --template ${PROJECT_BINARY_DIR}/e2e-prefix-template)
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT ${arg_TIMEOUT})
endfunction()

find_program(PADLOOM_PYTHON3 python3)
padloom_devices_test(e2e_dinput8_double test_dinput8_double.py EXE dinput8_double_smoke TIMEOUT 180)
padloom_devices_test(e2e_devices test_devices.py EXE padloom TIMEOUT 600)
