#include "ui/page_table_win32.h"

#include "assign/assign_page_win32.h"
#include "ui/texts.h"

constexpr WORD kAssignPageTemplate = 102;

const PageRow PageTable[] = {
    {kTextGamepadTab, kAssignPageTemplate, GamepadPageProc},
    {kTextKeyboardTab, kAssignPageTemplate, KeyboardPageProc},
    {"", 0, nullptr},
};
