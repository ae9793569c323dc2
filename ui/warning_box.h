// The tool's warning box: the error caption, OK button, warning icon.
#pragma once

#include "ui/platform_refs.h"
#include "ui/texts.h"

void ShowWarning(WindowRef owner, TextId text);
// Owned by MessageBoxOwner: the desktop before the main window exists.
void Warn(TextId text);
