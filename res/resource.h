// Resource ids shared by padloom.rc and the code.
#pragma once

#define IDD_ASSIGN_PAGE 102
#define IDC_RESET 1032
