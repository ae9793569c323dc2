// The tool's warning box: the error caption, OK button, warning icon.
#pragma once

#include "base/platform_refs.h"
#include "base/text_id.h"

void ShowWarning(WindowRef owner, TextId text);
// Owned by MessageBoxOwner: the desktop before the main window exists.
void Warn(TextId text);
