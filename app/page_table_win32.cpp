#include "app/page_table_win32.h"

#include "assign/assign_page_win32.h"

const PageRow PageTable[] = {
    {IDS_TAB_GAMEPAD, IDD_ASSIGN_PAGE, GamepadPageProc},
    {IDS_TAB_KEYBOARD, IDD_ASSIGN_PAGE, KeyboardPageProc},
    {0, 0, nullptr},
};
