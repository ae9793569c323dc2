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

namespace {

constexpr std::int32_t kDeviceThreshold = 1000;
constexpr int kMostFollowingPasses = 3;

static_assert(kRowCount == kButtonLabelCount, "a label for every row");

// What the settings file said when the tool started.
StartSettings Settings;
// The main window's controls, as the shell made them.
MainControls Controls;

// The layout's passes: one at a time, and the causes that arrived during one
// taken after it, a DPI change with its DPI and the corner Windows suggested.
bool LayingOut = false;
unsigned PendingCauses = 0;
struct {
    int dpi;
    int left;
    int top;
} PendingDpi = {};

unsigned Bit(LayoutCause cause) {
    return 1u << static_cast<unsigned>(cause);
}

void RunPass(WindowRef mainWindow, const LayoutPass& pass) {
    LayingOut = true;
    shell::LayOutMainWindow(mainWindow, pass);
    LayingOut = false;
}

void LayOut(WindowRef mainWindow, const LayoutPass& pass) {
    if (LayingOut) {
        PendingCauses |= Bit(pass.cause);
        return;
    }
    RunPass(mainWindow, pass);
    // Each pass measures every input anew, so one more covers every cause
    // that came meanwhile; a DPI change first takes its DPI. A window across
    // two monitors of different DPIs could be moved back and forth by its own
    // passes: a few rounds, then the last stands.
    for (int round = 0; round < kMostFollowingPasses && PendingCauses != 0; ++round) {
        LayoutPass next = {LayoutCause::DisplayChange, 0, 0};
        if ((PendingCauses & Bit(LayoutCause::DpiChange)) != 0) {
            shell::TakeDpi(mainWindow, PendingDpi.dpi);
            next = {LayoutCause::DpiChange, PendingDpi.left, PendingDpi.top};
        } else {
            for (int cause = kLayoutCauseCount - 1; cause >= 0; --cause) {
                if ((PendingCauses & (1u << cause)) != 0) {
                    next.cause = static_cast<LayoutCause>(cause);
                }
            }
        }
        PendingCauses = 0;
        RunPass(mainWindow, next);
    }
}

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
    if (!shell::CreateMainControls(mainWindow, ModuleInstance, Controls)) {
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
    shell::AttachEditionCombo(Controls.combo);
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
    shell::BuildPages(Controls.tab, ModuleInstance, CurrentPage, labels);
    // The line takes the lines its text needs, so it is set before the pass.
    ShowControllerLine(Controls.controllerLine);
    LayOut(mainWindow, {LayoutCause::Start, 0, 0});
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
    shell::ShowControl(Controls.controllerLine, CurrentPage == 0);
}

void OnDeviceChange(WindowRef mainWindow) {
    shell::ScheduleDeviceRefresh(mainWindow);
}

void OnDeviceRefresh(WindowRef mainWindow) {
    shell::StopDeviceRefresh(mainWindow);
    InputDevices.RefreshControllers();
    // The line may take more or fewer lines now.
    if (ShowControllerLine(Controls.controllerLine)) {
        LayOut(mainWindow, {LayoutCause::DeviceRefresh, 0, 0});
    }
}

void OnDpiChange(WindowRef mainWindow, int dpi, int left, int top) {
    if (LayingOut) {
        PendingDpi = {dpi, left, top};
        PendingCauses |= Bit(LayoutCause::DpiChange);
        return;
    }
    shell::TakeDpi(mainWindow, dpi);
    LayOut(mainWindow, {LayoutCause::DpiChange, left, top});
}

void OnFrameChange(WindowRef mainWindow) {
    LayOut(mainWindow, {LayoutCause::FrameChange, 0, 0});
}

void OnDisplayChange(WindowRef mainWindow) {
    LayOut(mainWindow, {LayoutCause::DisplayChange, 0, 0});
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
        shell::SendClose(mainWindow);
    }
}

void Cancel(WindowRef mainWindow) {
    shell::SendClose(mainWindow);
}

void CloseTool(WindowRef mainWindow) {
    WriteToolSettings();
    shell::DestroyMainWindow(mainWindow);
}
