// The tool's warning box: the error caption, OK button, warning icon.
#pragma once

#include "ui/platform_refs.h"

void ShowWarning(WindowRef owner, const char* text);
// Owned by MessageBoxOwner: the desktop before the main window exists.
void Warn(const char* text);
