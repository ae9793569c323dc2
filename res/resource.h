// Every id of the program, once: read by padloom.rc and by the code alike.
// Plain defines, so that the resource compiler and portable code can use it.
#pragma once

// Resources
#define IDI_PADLOOM 101      // the window class icon
#define IDD_ASSIGN_PAGE 102  // the assignment page, one per tab

// Controls of the main window (OK and Cancel are IDOK and IDCANCEL)
#define IDC_TAB 900
#define IDC_EDITION 1033
#define IDC_CONTROLLER_LINE 1040

// Controls of an assignment page. Row r (A, B, C, X, Y, Z, L, R) has its
// label at IDC_LABEL(r) and its slot s radio button at IDC_SLOT(r, s).
#define IDC_LABEL_FIRST 1000
#define IDC_SLOT_FIRST 1001
#define IDC_IDS_PER_ROW 4
#define IDC_LABEL(row) (IDC_LABEL_FIRST + IDC_IDS_PER_ROW * (row))
#define IDC_SLOT(row, slot) (IDC_SLOT_FIRST + IDC_IDS_PER_ROW * (row) + (slot))
#define IDC_RESET 1032
#define IDC_HINT (-1)  // 0xFFFF as a dialog item's id

// Timers of the main window
#define IDT_TICK 0     // every 20 ms: the capture step
#define IDT_REFRESH 1  // once, after a burst of device messages

// Texts, in one STRINGTABLE per language of padloom.rc. Resource compilers
// keep them in blocks of 16 by id, so ids 1 to 31 make two blocks per
// language; 0 names no text.
#define IDS_TITLE 1
#define IDS_CAPTION_ERROR 2
#define IDS_CAPTION_NOTICE 3
#define IDS_CLASS_FAILED 4
#define IDS_WINDOW_FAILED 5
#define IDS_CONTROLS_FAILED 6
#define IDS_DIRECTINPUT_FAILED 7
#define IDS_ASK_SAVE 8
#define IDS_SAVED 9
#define IDS_SAVE_FAILED 10
#define IDS_OK 11
#define IDS_CANCEL 12
#define IDS_TAB_GAMEPAD 13
#define IDS_TAB_KEYBOARD 14
#define IDS_HINT 15
#define IDS_RESET 16
// The controller line of the gamepad page: the name of the controller read
// follows IDS_CONTROLLER; in the counts "%u" stands for the number.
#define IDS_CONTROLLER 17
#define IDS_CONTROLLERS_UNUSED 18
#define IDS_CONTROLLERS_UNOPENED 19
#define IDS_NO_CONTROLLER 20
// At close: Padloom.ini is a link that leads nowhere the file can be made.
#define IDS_SETTINGS_LINK_BROKEN 21
// What screen readers say for the controls: a slot's name, with "%1" its
// row's label, "%u" its number and "%2" what it holds (IDS_SLOT_EMPTY where
// nothing); the edition box's name.
#define IDS_SLOT_NAME 22
#define IDS_SLOT_EMPTY 23
#define IDS_EDITION 24

// The predefined control classes by their atoms, as resource compilers store
// "BUTTON" and "STATIC" in a dialog template.
#define PAGE_BUTTON 0x0080
#define PAGE_STATIC 0x0082
