// A dialog template's items in dialog units, and their pixels in a font: the
// dialog manager's own conversion, so that a page's controls can be placed
// for any DPI from the template itself, the same whichever DPI the page was
// made at.
#pragma once

#include <windows.h>

struct DialogItem {
    int id;                   // as GetDlgCtrlID answers it, 16 bits
    int x, y, width, height;  // dialog units
};

// The items of a classic (DIALOG, not DIALOGEX) template, at most `capacity`,
// and the point size of its font (0 for none); 0 items where the template
// cannot be found or read.
int ReadDialogItems(HINSTANCE instance, int templateId, DialogItem* items, int capacity,
                    int* pointSize);

// The dialog base units of a font: the average width of the Latin letters
// and the character height, as the dialog manager takes them.
SIZE FontDialogUnits(HFONT font);

// An item's rectangle in pixels for the base units.
RECT DialogItemPixels(const DialogItem& item, SIZE baseUnits);
