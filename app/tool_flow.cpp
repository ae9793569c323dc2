#include "app/tool_flow.h"

#include "app/controller_line.h"

#include <cstdint>
#include <cstring>

#include "assign/assign_page.h"
#include "assign/assign_record.h"
#include "assign/capture_step.h"
#include "assign/slot_grid.h"
#include "input/input_device_set.h"
#include "store/assign_store.h"
#include "store/executable_directory.h"
#include "store/runtime_profiles.h"
#include "store/system_port.h"
#include "store/tool_settings.h"
#include "ui/texts.h"
#include "ui/view_port.h"
#include "ui/warning_box.h"

InstanceRef ModuleInstance = nullptr;
int CurrentPage = 0;
MainControls MainWindowControls;

namespace {

constexpr std::int32_t kDeviceThreshold = 1000;

static_assert(kRowCount == kButtonLabelCount, "a label for every row");

// What the settings file said when the tool started.
StartSettings Settings;

// Folds the grids into the record and stores it. A failed store (its box is
// already shown) puts the record back as it was, so nothing has changed.
bool StoreEdits(bool announce) {
    std::uint8_t before[kAssignRecordSize];
    std::memcpy(before, AssignRecord, sizeof(before));
    StoreGridsToRecord();
    if (StoreAssignRecord(announce)) {
        return true;
    }
    std::memcpy(AssignRecord, before, sizeof(before));
    return false;
}

// The line takes the lines its text needs at its width in its font, so the
// window is laid out again whenever one of them changes.
void ShowControllerLineLaidOut(WindowRef mainWindow) {
    ShowControllerLine(MainWindowControls.controllerLine);
    shell::LayOutMainWindow(mainWindow, MainWindowControls);
}

}  // namespace

void PrepareStart() {
    // Nothing of the tool's reads a relative path: the settings paths are
    // absolute, and the DLLs are loaded from the system directory. The folder
    // is entered so that a start from a shortcut, a prompt or a launcher
    // leaves the process as a double-click in Explorer does, and the folder
    // it was started from is not held: Windows keeps a handle on the current
    // directory, which stops that folder from being removed while the tool
    // runs. A refusal changes nothing that the tool needs.
    EnterExecutableDirectory();
    ReadToolSettings(Settings);
    UseLanguage(ChooseLanguage(Settings.language, sys::UserUiLanguage()));
}

bool OnMainWindowCreate(WindowRef mainWindow) {
    MessageBoxOwner = mainWindow;
    if (!shell::CreateMainControls(mainWindow, ModuleInstance, MainWindowControls)) {
        Warn(IDS_CONTROLS_FAILED);
        return false;
    }
    StartTool(mainWindow);
    return true;
}

void StartTool(WindowRef mainWindow) {
    CurrentProfile = Settings.profile;
    if (InputDevices.OpenDevices(ModuleInstance, mainWindow, kDeviceThreshold, kDeviceThreshold) !=
        0) {
        Warn(IDS_DIRECTINPUT_FAILED);
        shell::EndProcess(0);
        return;
    }
    shell::AttachEditionCombo(MainWindowControls.combo);
    for (const RuntimeProfile& profile : RuntimeProfiles) {
        shell::AddEdition(profile.typeName);
    }
    shell::SelectEditionByText(RuntimeProfiles[CurrentProfile].typeName, true);
    // The pages build their grids from the record, so it is loaded first.
    LoadAssignRecord();
    RowLabels labels;
    for (int row = 0; row < kRowCount; ++row) {
        labels.texts[row] = Settings.labels[row];
    }
    labels.encoding = Settings.labelEncoding;
    shell::BuildPages(MainWindowControls.tab, ModuleInstance, CurrentPage, labels);
    ShowControllerLineLaidOut(mainWindow);
    shell::CenterOnItsMonitor(mainWindow);
    shell::StartTimer(mainWindow);
}

void OnActivate(WindowRef focusedBefore) {
    view::Focus(focusedBefore != nullptr ? focusedBefore : SelectedRadio(CurrentPage));
}

void OnTick(WindowRef mainWindow) {
    CaptureStep(CurrentPage);
    // Asked once until the refresh has run, so the ticks never keep
    // restarting its timer.
    if (InputDevices.TakeRefreshRequest()) {
        shell::ScheduleDeviceRefresh(mainWindow);
    }
}

void OnTabChange() {
    const int page = shell::SelectedTab();
    if (page < 0 || page >= kPageCount) {
        return;
    }
    CurrentPage = page;
    shell::ShowPage(CurrentPage);
    shell::ShowControl(MainWindowControls.controllerLine, CurrentPage == 0);
}

void OnDeviceChange(WindowRef mainWindow) {
    shell::ScheduleDeviceRefresh(mainWindow);
}

void OnDeviceRefresh(WindowRef mainWindow) {
    shell::StopDeviceRefresh(mainWindow);
    InputDevices.RefreshControllers();
    ShowControllerLineLaidOut(mainWindow);
}

void OnDpiChange(WindowRef mainWindow) {
    ShowControllerLineLaidOut(mainWindow);
}

void SwitchProfile() {
    const int answer = view::ShowMessage(MessageBoxOwner, IDS_ASK_SAVE, IDS_CAPTION_NOTICE,
                                         kMbYesNoCancel | kMbIconQuestion);
    // A failed store abandons the switch like Cancel: the edits stay on screen
    // and can still be stored to the edition they were made for.
    if (answer == kIdCancel || (answer == kIdYes && !StoreEdits(false))) {
        shell::SetEditionSelection(CurrentProfile, false);
        return;
    }
    const int chosen = shell::EditionSelection();
    if (chosen < 0 || chosen >= kRuntimeProfileCount) {
        shell::SetEditionSelection(CurrentProfile, false);
        return;
    }
    CurrentProfile = chosen;
    LoadAssignRecord();
    LoadPageGrid(0);
    LoadPageGrid(1);
}

void AcceptAndClose(WindowRef mainWindow) {
    // A failed store keeps the window open so that the edits are not lost.
    if (StoreEdits(true)) {
        shell::CloseWindow(mainWindow);
    }
}

void CloseTool(WindowRef mainWindow) {
    WriteToolSettings();
    shell::DestroyWindow(mainWindow);
}
