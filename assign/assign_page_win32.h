// The two assignment page dialogs (template 102): the gamepad page and the
// keyboard page share one handler and differ only in their page index. Each
// is made with a RowLabels (assign/assign_page.h) as its creation parameter,
// which WM_INITDIALOG passes on; the page shows the labels then and keeps
// their texts' pointers for its slots' accessible names (assign/slot_name.h).
#pragma once

#include <windows.h>

struct RowLabels;

INT_PTR CALLBACK GamepadPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK KeyboardPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

INT_PTR AssignPageProc(int page, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void InitAssignPage(int page, HWND window, const RowLabels& labels);
