// The pages of the main window's tab control, in tab order. Row index = page
// index = tab item index; the table ends at the first row without a caption.
// Captions are texts of the tool's own, in the language chosen at start.
#pragma once

#include "ui/tab_page_set_win32.h"

extern const PageRow PageTable[];
