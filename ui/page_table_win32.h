// The pages of the main window's tab control, in tab order. Row index = page
// index = tab item index; the table ends at the first row whose caption is
// the empty text.
#pragma once

#include <windows.h>

struct PageRow {
    const char* caption;
    WORD templateId;
    DLGPROC dialogProc;
};

extern const PageRow PageTable[];
