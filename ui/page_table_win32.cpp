#include "ui/page_table_win32.h"

#include "assign/assign_page_win32.h"

constexpr WORD kAssignPageTemplate = 102;

const PageRow PageTable[] = {
    {&TextTable::gamepadTab, kAssignPageTemplate, GamepadPageProc},
    {&TextTable::keyboardTab, kAssignPageTemplate, KeyboardPageProc},
    {nullptr, 0, nullptr},
};
