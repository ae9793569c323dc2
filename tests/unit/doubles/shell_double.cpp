#include "doubles/shell_double.h"

#include <algorithm>

ShellDouble& TheShell() {
    static ShellDouble shell;
    return shell;
}

bool ShellDouble::Called(const std::string& line) const {
    return std::find(calls.begin(), calls.end(), line) != calls.end();
}

int ShellDouble::IndexOf(const std::string& prefix) const {
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].compare(0, prefix.size(), prefix) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ShellDouble::Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
        return c.compare(0, prefix.size(), prefix) == 0;
    }));
}

namespace {

const char* const kCauseNames[kLayoutCauseCount] = {"start", "dpi", "devices", "frame", "display"};

void Record(const std::string& line) {
    TheShell().calls.push_back(line);
    if (TheShell().onCall) {
        TheShell().onCall(line);
    }
}

std::string Flag(bool fallback) {
    return fallback ? " fallback" : "";
}

}  // namespace

namespace shell {

bool CreateMainControls(WindowRef, InstanceRef, MainControls& controls) {
    controls = TheShell().controls;
    Record("CreateMainControls");
    return TheShell().controlsCreated;
}

void ShowControl(WindowRef, bool visible) {
    Record(std::string("ShowControl ") + (visible ? "shown" : "hidden"));
}

void TakeDpi(WindowRef, int dpi) {
    Record("TakeDpi " + std::to_string(dpi));
}

// "LayOutMainWindow dpi 10,20" for a DPI change's pass, with its corner.
void LayOutMainWindow(WindowRef, const LayoutPass& pass) {
    ShellDouble& shell = TheShell();
    shell.mostPassesAtOnce = std::max(shell.mostPassesAtOnce, ++shell.passesRunning);
    std::string line = std::string("LayOutMainWindow ") + kCauseNames[static_cast<int>(pass.cause)];
    if (pass.cause == LayoutCause::DpiChange) {
        line += " " + std::to_string(pass.left) + "," + std::to_string(pass.top);
    }
    Record(line);
    --shell.passesRunning;
}

void ScheduleDeviceRefresh(WindowRef) {
    Record("ScheduleDeviceRefresh");
}

void StopDeviceRefresh(WindowRef) {
    Record("StopDeviceRefresh");
}

void AttachEditionCombo(WindowRef) {
    Record("AttachEditionCombo");
}

void AddEdition(const char* typeName) {
    TheShell().editions.push_back(typeName);
    Record(std::string("AddEdition ") + typeName);
}

bool SelectEditionByText(const char* typeName, bool fallback) {
    ShellDouble& shell = TheShell();
    const auto found = std::find(shell.editions.begin(), shell.editions.end(), typeName);
    const bool matched = found != shell.editions.end();
    if (matched) {
        shell.editionSelection = static_cast<int>(found - shell.editions.begin());
    } else if (fallback && !shell.editions.empty()) {
        shell.editionSelection = 0;
    }
    Record(std::string("SelectEditionByText ") + typeName + Flag(fallback));
    return matched;
}

void SetEditionSelection(int index, bool fallback) {
    TheShell().editionSelection = index;
    Record("SetEditionSelection " + std::to_string(index) + Flag(fallback));
}

int EditionSelection() {
    Record("EditionSelection");
    return TheShell().editionSelection;
}

void BuildPages(WindowRef, InstanceRef, int initialPage, const RowLabels& labels) {
    TheShell().pageLabels = labels;
    Record("BuildPages " + std::to_string(initialPage));
}

int SelectedTab() {
    Record("SelectedTab");
    return TheShell().selectedTab;
}

void ShowPage(int page) {
    Record("ShowPage " + std::to_string(page));
}

void StartTimer(WindowRef) {
    Record("StartTimer");
}

void SendClose(WindowRef) {
    Record("SendClose");
}

void DestroyMainWindow(WindowRef) {
    Record("DestroyMainWindow");
}

void EndProcess(int exitCode) {
    TheShell().ended = true;
    TheShell().exitCode = exitCode;
    Record("EndProcess " + std::to_string(exitCode));
}

}  // namespace shell
