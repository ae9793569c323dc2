# A test-only dinput8.dll for the end-to-end tests: installed into the test
# prefix's system directory (syswow64 for the 32-bit one) and chosen with
# WINEDLLOVERRIDES=dinput8=n.
add_library(dinput8_double SHARED
  ${CMAKE_CURRENT_LIST_DIR}/dinput8_double/dinput8_double.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dinput8_double/double_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dinput8_double/accessible_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dinput8_double/dinput8.def)
set_target_properties(dinput8_double PROPERTIES OUTPUT_NAME dinput8 PREFIX "")
target_link_libraries(dinput8_double PRIVATE padloom_warnings)
target_link_options(dinput8_double PRIVATE -static)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # dinput8.def exports DirectInput8Create undecorated, as Windows' DLL does;
  # in 32 bits the __stdcall function's symbol is _DirectInput8Create@20,
  # which ld binds to that name by its stdcall fix-up, asked for here so that
  # it is not reported. (Without the .def, -Wl,--kill-at would be needed.)
  target_link_options(dinput8_double PRIVATE -Wl,--enable-stdcall-fixup)
endif()

# Loads the double the way padloom.exe does and checks its answers.
add_executable(dinput8_double_smoke ${CMAKE_CURRENT_LIST_DIR}/dinput8_double/smoke.cpp)
target_link_libraries(dinput8_double_smoke PRIVATE padloom_warnings)
target_link_options(dinput8_double_smoke PRIVATE -static)

padloom_e2e_test(e2e_dinput8_double test_dinput8_double.py EXE dinput8_double_smoke DINPUT8
                 TIMEOUT 180)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  padloom_e2e_test(e2e_devices test_devices.py DINPUT8 TIMEOUT 600)
else()
  # The 32-bit program: pad buttons and keys assigned and OK storing the
  # record, hot-plug, every text whole in every language at every scaling,
  # and the accessible objects (COM's 32-bit calling convention).
  padloom_e2e_test(e2e_devices test_devices.py DINPUT8 TIMEOUT 600
                   ONLY one_controller_fills_the_gamepad_page
                        controller_plugged_in_later_assigns_and_a_second_does_not_take_over
                        unplugging_the_read_controller_hands_over_to_the_next
                        window_follows_a_monitor_of_another_dpi
                        every_text_whole_in_every_language_at_every_scaling
                        screen_reader_hears_every_slot_and_each_capture)
endif()
