// Records what the tool's decisions asked of the window shell, in order, and
// answers with scripted values.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/shell_port.h"
#include "assign/assign_page.h"

struct ShellDouble {
    // One line per call, such as "AddEdition MAPLE" or "EndProcess 0".
    std::vector<std::string> calls;
    // Called with each line as it is recorded, so that a test can look at
    // the tool's state at that moment.
    std::function<void(const std::string&)> onCall;

    bool controlsCreated = true;
    MainControls controls = {reinterpret_cast<WindowRef>(0x900),
                             reinterpret_cast<WindowRef>(0x1033), reinterpret_cast<WindowRef>(0x1),
                             reinterpret_cast<WindowRef>(0x2), reinterpret_cast<WindowRef>(0x1040)};
    std::vector<std::string> editions;  // items added to the combo box
    int editionSelection = -1;          // the combo box's selection
    int selectedTab = 0;
    RowLabels pageLabels = {};  // what BuildPages handed the pages
    bool ended = false;
    int exitCode = -1;
    // Layout passes under way now, and the most ever at once (more than one
    // is a pass entered again).
    int passesRunning = 0;
    int mostPassesAtOnce = 0;

    void Reset() { *this = ShellDouble(); }
    bool Called(const std::string& line) const;
    // Position of the first call that starts with prefix, or -1.
    int IndexOf(const std::string& prefix) const;
    // How many calls start with prefix.
    int Count(const std::string& prefix) const;
};

ShellDouble& TheShell();
