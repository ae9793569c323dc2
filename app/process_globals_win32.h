// The process-wide window wrappers of the main window.
#pragma once

#include "ui/combo_box_control_win32.h"
#include "ui/tab_page_set_win32.h"

extern TabPageSet TabPages;
extern ComboBoxControl EditionCombo;
