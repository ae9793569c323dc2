// Accessible names where a control's own text does not say enough for a
// screen reader: a slot's caption without its row, the edition box without a
// label. The control answers WM_GETOBJECT for its client object with
// Windows' standard object (role, state, children, actions as Windows gives
// them), its name alone replaced.
//
// Windows' annotation service (IAccPropServices::SetHwndPropStr) would
// override the name with less code, but Wine leaves SetHwndPropStr
// unimplemented, and the tool is tested under Wine: the wrapper behaves the
// same on both.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/text_id.h"

class WideText;

// Appends the name of the control that was named with `key`. Asked each time
// a reader reads the name, so it says what the control shows then.
using AccessibleNameSource = void (*)(std::uintptr_t key, WideText& name);

// Subclasses the control; false where that failed (it then keeps the name
// Windows gives it). oleacc.dll is loaded at the first request of a reader.
bool NameControl(HWND control, AccessibleNameSource source, std::uintptr_t key);
// Named by one of the tool's texts, in the language in use.
bool NameControl(HWND control, TextId name);
