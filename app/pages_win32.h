// The assignment pages in the tab control, in one place: made (the shown one
// while the window is made, the others by the first message the loop takes),
// their labels kept until the last is made, their font chosen once and made
// at each DPI, and their controls placed where the window's plan puts them.
#pragma once

#include <windows.h>

#include "ui/main_layout.h"

struct RowLabels;

namespace pages {

// Posted to the main window while it is made: the pages left for later.
constexpr UINT kMakeLaterMessage = WM_APP + 1;

// Makes the tabs and the initial page, which shows `labels` (kept for the
// pages made later), and posts kMakeLaterMessage to the tab's parent. The
// pages' font is chosen to show their texts (`firstChoice` the face tried
// first where the template's lacks a glyph) and made at `dpi`.
void Build(HWND tab, HINSTANCE instance, int initialPage, const RowLabels& labels, int dpi,
           const wchar_t* firstChoice);
// The pages left for later, made, given the font and placed by `plan` (the
// one applied last, or none); false where none were left.
bool MakeLater(const MainPlan* plan);
// -1 when no tab is selected.
int SelectedTab();
void Show(int page);

// The template's items, for the plan.
const PageItem* TemplateItems(int& count);
// The font the pages are drawn in now, and the one they will be drawn in at
// another DPI (made once for it, and taken by TakeDpi).
HFONT Font();
HFONT FontAt(int dpi);
// Every page control given the font at `dpi`.
void TakeDpi(int dpi);
// Reset and the hint of a page made, whose texts the plan measures.
HWND Reset();
HWND Hint();
// The pages into the tab's display area, and their controls where the plan
// puts them; one batch of moves per parent.
void Place(const MainPlan& plan);

}  // namespace pages
