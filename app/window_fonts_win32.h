// The main window's two fonts in one place: its controls' (the tab, the
// combo box, OK, Cancel and the controller line) and its pages'. Each is
// chosen once, in a face that shows its texts, made for the window's DPI and
// given to its controls; at a new DPI both are made again in the faces
// chosen, with no new look-up. The fonts live until the process ends.
#pragma once

#include <windows.h>

#include "app/shell_port.h"

// The controls' font at a DPI, in a face that shows `sample` (every text the
// controls may show), given to each of them.
void SetControlsFont(const MainControls& controls, int dpi, const wchar_t* sample);

// The pages' font: the template's point size at `dpi`, in the face the
// dialog manager gave them unless it lacks a glyph of their texts (then one
// that has them, the controls' face first). Their controls keep the dialog
// manager's own font where that is the one wanted. Chosen with the first
// pages made; pages made later are given the same.
void SetPagesFont(int points, int dpi);

// Both fonts at a new DPI, in the faces chosen, given to their controls.
void ChangeFontsDpi(const MainControls& controls, int dpi);
