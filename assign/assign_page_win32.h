// The two assignment page dialogs (template 102): the gamepad page and the
// keyboard page share one handler and differ only in their page index.
#pragma once

#include <windows.h>

INT_PTR CALLBACK GamepadPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK KeyboardPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

INT_PTR AssignPageProc(int page, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void InitAssignPage(int page, HWND window);
