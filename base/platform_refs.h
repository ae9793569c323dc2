// Opaque platform handles as the portable code sees them. The Win32 side
// converts them to HWND, HINSTANCE and friends; the logic only passes them on.
#pragma once

using WindowRef = void*;
using InstanceRef = void*;
