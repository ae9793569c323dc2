// Resource ids shared by padloom.rc and the code.
#pragma once

#define IDD_ASSIGN_PAGE 102
#define IDC_RESET 1032

// The predefined control classes by their atoms, as resource compilers store
// "BUTTON" and "STATIC" in a dialog template.
#define PAGE_BUTTON 0x0080
#define PAGE_STATIC 0x0082
