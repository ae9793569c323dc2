// Puts the process-wide state of the tool back to its start between tests:
// record, grids, cursors, radio handles and what their captions show, the
// pages' labels, input devices and the view double.
#pragma once

#include "base/platform_refs.h"

void ResetToolState();

// Gives both pages distinct stand-in radio handles, as InitAssignPage would.
void InstallFakeRadios();

// The stand-in handle of (page, row, slot) after InstallFakeRadios.
WindowRef FakeRadio(int page, int row, int slot);
