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

namespace {

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

void LayOutMainWindow(WindowRef, const MainControls&) {
    Record("LayOutMainWindow");
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

void CenterOnItsMonitor(WindowRef) {
    Record("CenterOnItsMonitor");
}

void StartTimer(WindowRef) {
    Record("StartTimer");
}

void CloseWindow(WindowRef) {
    Record("CloseWindow");
}

void DestroyWindow(WindowRef) {
    Record("DestroyWindow");
}

void EndProcess(int exitCode) {
    TheShell().ended = true;
    TheShell().exitCode = exitCode;
    Record("EndProcess " + std::to_string(exitCode));
}

}  // namespace shell
