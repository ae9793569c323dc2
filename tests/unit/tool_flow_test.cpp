// The main window's decisions over the doubles: the start-up order, the
// device failure, the edition switch, OK and closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/tool_flow.h"
#include "assign/assign_page.h"
#include "assign/assign_record.h"
#include "assign/slot_grid.h"
#include "doubles/device_double.h"
#include "doubles/registry_double.h"
#include "doubles/shell_double.h"
#include "doubles/system_double.h"
#include "doubles/view_double.h"
#include "input/input_device_set.h"
#include "store/runtime_profiles.h"
#include "store/tool_settings.h"
#include "tool_state.h"
#include "ui/texts.h"

namespace {

const WindowRef kDesktop = reinterpret_cast<WindowRef>(0xD0);
const WindowRef kMainWindow = reinterpret_cast<WindowRef>(0x100);
const std::string kMapleKey = "Software\\Quillhaven\\Vyne";
const std::string kCedarKey = "Software\\Quillhaven\\Vyne2";
const std::string kIniPath = "C:\\Padloom\\Padloom.ini";

using Record = std::vector<std::uint8_t>;

Record Default() {
    return Record(DefaultAssignRecord, DefaultAssignRecord + kAssignRecordSize);
}

Record Current() {
    return Record(AssignRecord, AssignRecord + kAssignRecordSize);
}

// The CEDAR record of these tests: gamepad buttons 1 and 2 swapped, the
// keyboard the same as the default.
Record CedarRecord() {
    Record record = Default();
    record[0] = 12;
    record[1] = 11;
    return record;
}

Record Stored(const std::string& key) {
    const RegistryValue* value = TheRegistry().FindValue(key, "ButtonAssign");
    return value == nullptr ? Record() : value->bytes;
}

struct Grids {
    std::int32_t cells[kPageCount][kRowCount][kSlotsPerRow];
};

Grids CurrentGrids() {
    Grids grids;
    std::memcpy(grids.cells, SlotGrid, sizeof(grids.cells));
    return grids;
}

bool operator==(const Grids& a, const Grids& b) {
    return std::memcmp(a.cells, b.cells, sizeof(a.cells)) == 0;
}

// What creating the two page dialogs does: each page takes its controls and
// the labels it was handed, and builds its grid from the record.
void CreatePages() {
    InstallFakeRadios();
    const RowLabels& labels = TheShell().pageLabels;
    for (int page = 0; page < kPageCount; ++page) {
        PageControls controls = {};
        for (int slot = 0; slot < kSlotCount; ++slot) {
            controls.radios[slot] = SlotRadios[page][slot];
        }
        InitPageControls(page, controls, labels.texts, labels.encoding);
    }
}

class ToolFlowTest : public testing::Test {
  protected:
    void SetUp() override {
        ResetToolState();
        TheRegistry().Reset();
        TheSystem().Reset();
        TheDevices().Reset();
        TheShell().Reset();
        CurrentProfile = -1;
        CurrentPage = 0;
        ModuleInstance = reinterpret_cast<InstanceRef>(0x400000);
        MessageBoxOwner = kDesktop;
        TheShell().onCall = [](const std::string& line) {
            if (line.compare(0, 10, "BuildPages") == 0) {
                CreatePages();
            }
        };
    }

    // What the process end does with the devices that the start opened.
    void TearDown() override {
        InputDevices.CloseDevices();
        UseLanguage(0x0411);
    }

    // Starts the tool with the given settings file, as WinMain does, then
    // forgets the calls.
    void Start(const std::string& ini) {
        TheSystem().PutFile(kIniPath, ini);
        PrepareStart();
        OnMainWindowCreate(kMainWindow);
        ASSERT_TRUE(TheShell().Called("StartTimer"));
        ASSERT_TRUE(TheView().messages.empty());
        TheShell().calls.clear();
        TheRegistry().calls.clear();
    }

    // The user's own edits: gamepad buttons 1 and 2 trade rows, and a
    // selected slot away from the start.
    void EditGamepadPage() {
        std::swap(SlotGrid[0][0][0], SlotGrid[0][1][0]);
        SlotCursor[0] = 5;
        SlotCursor[1] = 9;
    }

    static Record EditedMaple() {
        Record record = Default();
        record[0] = 12;
        record[1] = 11;
        return record;
    }

    // The user picks CEDAR in the combo box and answers the question.
    void PickCedar(int answer) {
        TheShell().editionSelection = 1;
        TheView().nextAnswer = answer;
        SwitchProfile();
    }

    void ExpectBox(std::size_t index, TextId text, TextId caption, std::uint32_t type) {
        ASSERT_LT(index, TheView().messages.size());
        const ShownMessage& box = TheView().messages[index];
        EXPECT_EQ(box.owner, kMainWindow);
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, caption);
        EXPECT_EQ(box.type, type);
    }
};

TEST_F(ToolFlowTest, StartsWithSettingsThenDevicesThenRecordThenPages) {
    TheSystem().PutFile(kIniPath, "[Config]\nRpgType=CEDAR\n[KeyName]\nA=決定\n");
    TheRegistry().PutValue(kCedarKey, "ButtonAssign", kRegBinary, CedarRecord());
    std::vector<std::string> seen;
    TheShell().onCall = [&](const std::string& line) {
        // The common controls are registered as the controls are made.
        if (line == "CreateMainControls") {
            EXPECT_EQ(MessageBoxOwner, kMainWindow);
            EXPECT_EQ(CurrentProfile, -1) << "settings read before the controls were made";
            EXPECT_EQ(TheDevices().directInputAlive, 0);
        } else if (line == "AttachEditionCombo") {
            EXPECT_EQ(CurrentProfile, 1);
            EXPECT_NE(InputDevices.directInput, nullptr) << "devices not open yet";
            EXPECT_EQ(TheRegistry().CountCalls("query"), 0) << "record loaded before the combo";
        } else if (line == "BuildPages 0") {
            EXPECT_EQ(Current(), CedarRecord()) << "pages built before the record was loaded";
            CreatePages();
        }
        seen.push_back(line);
    };

    PrepareStart();
    OnMainWindowCreate(kMainWindow);

    EXPECT_EQ(MessageBoxOwner, kMainWindow);
    const std::vector<std::string> expected = {"CreateMainControls",
                                               "AttachEditionCombo",
                                               "AddEdition MAPLE",
                                               "AddEdition CEDAR",
                                               "SelectEditionByText CEDAR fallback",
                                               "BuildPages 0",
                                               "LayOutMainWindow start",
                                               "StartTimer"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(TheShell().editionSelection, 1);
    EXPECT_STREQ(TheShell().pageLabels.texts[0], "決定");
    EXPECT_STREQ(TheShell().pageLabels.texts[1], "B");
    EXPECT_TRUE(TheShell().pageLabels.encoding == TextEncoding::Utf8) << "shown as Shift-JIS";
    EXPECT_TRUE(TheView().messages.empty());
    EXPECT_FALSE(TheShell().ended);
}

// WinMain's first step, before any text is shown, enters the executable's
// folder and reads the file that the start then takes the edition from:
// each once, and the file is never written.
TEST_F(ToolFlowTest, LanguageFollowsTheSettingElseTheUsersLanguage) {
    // Chinese by the region of the user's language.
    const std::uint16_t chosen[][2] = {
        {0x0409, 0x0409}, {0x0C04, 0x0404}, {0x1004, 0x0804}, {0x0404, 0x0404}};
    for (const auto& c : chosen) {
        TheSystem().uiLanguage = c[0];
        PrepareStart();
        EXPECT_EQ(c[1], TextLanguage) << std::hex << c[0];
    }
    TheSystem().PutFile(kIniPath, "[Config]\r\nLanguage=zh-Hant\r\nRpgType=CEDAR\r\n");
    TheSystem().fileCalls.clear();
    TheSystem().directoryCalls.clear();
    PrepareStart();
    EXPECT_EQ(0x0404, TextLanguage);
    OnMainWindowCreate(kMainWindow);
    EXPECT_EQ(CurrentProfile, 1);
    EXPECT_EQ(TheSystem().directoryCalls, std::vector<std::string>{"C:\\Padloom"});
    const std::vector<std::string>& calls = TheSystem().fileCalls;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "read " + kIniPath), 1);
    for (const std::string& call : calls) {
        EXPECT_TRUE(call.rfind("read ", 0) == 0 || call.rfind("locate ", 0) == 0 ||
                    call.rfind("remove ", 0) == 0 || call.rfind("rename ", 0) == 0)
            << "read only, never written: " << call;
    }
}

TEST_F(ToolFlowTest, UnknownEditionStartsWithTheFirstAndItsDefaults) {
    Start("[Config]\nRpgType=cedar\n");
    EXPECT_EQ(CurrentProfile, 0);
    EXPECT_EQ(TheShell().editionSelection, 0);
    EXPECT_EQ(Current(), Default());
}

TEST_F(ToolFlowTest, DeviceFailureWarnsAndEndsBeforeLoadingOrWriting) {
    TheSystem().PutFile(kIniPath, "[Config]\nRpgType=CEDAR\n");
    TheRegistry().PutValue(kCedarKey, "ButtonAssign", kRegBinary, CedarRecord());
    TheDevices().createAnswer = kEFail;

    PrepareStart();
    OnMainWindowCreate(kMainWindow);

    ASSERT_EQ(TheView().messages.size(), 1u);
    ExpectBox(0, IDS_DIRECTINPUT_FAILED, IDS_CAPTION_ERROR, kMbOk | kMbIconWarning);
    EXPECT_TRUE(TheShell().ended);
    EXPECT_EQ(TheShell().exitCode, 0);
    EXPECT_EQ(TheShell().calls.back(), "EndProcess 0") << "work done after the process ended";
    EXPECT_EQ(TheShell().IndexOf("BuildPages"), -1);
    // The settings were read first; the record was neither loaded nor stored,
    // and the settings file was not written (a leftover new file and an old
    // backup beside it are looked for, and would go).
    EXPECT_EQ(CurrentProfile, 1);
    EXPECT_TRUE(TheRegistry().calls.empty());
    EXPECT_EQ(Current(), Record(kAssignRecordSize, 0));
    for (const std::string& call : TheSystem().fileCalls) {
        EXPECT_TRUE(call.compare(0, 5, "read ") == 0 || call.compare(0, 7, "locate ") == 0 ||
                    call == "remove " + kIniPath + ".new~" ||
                    call == "remove " + kIniPath + ".old~")
            << call;
    }
}

TEST_F(ToolFlowTest, ControlFailureWarnsAndFailsTheWindowsCreation) {
    TheShell().controlsCreated = false;
    EXPECT_FALSE(OnMainWindowCreate(kMainWindow));
    ASSERT_EQ(TheView().messages.size(), 1u);
    ExpectBox(0, IDS_CONTROLS_FAILED, IDS_CAPTION_ERROR, kMbOk | kMbIconWarning);
    EXPECT_EQ(TheShell().calls, (std::vector<std::string>{"CreateMainControls"}));
    EXPECT_EQ(CurrentProfile, -1);
}

TEST_F(ToolFlowTest, SwitchWithYesStoresTheEditsQuietlyThenShowsTheNewEdition) {
    TheRegistry().PutValue(kCedarKey, "ButtonAssign", kRegBinary, CedarRecord());
    Start("[Config]\nRpgType=MAPLE\n");
    EditGamepadPage();

    PickCedar(kIdYes);

    ASSERT_EQ(TheView().messages.size(), 1u) << "a success box was shown";
    ExpectBox(0, IDS_ASK_SAVE, IDS_CAPTION_NOTICE, kMbYesNoCancel | kMbIconQuestion);
    EXPECT_EQ(Stored(kMapleKey), EditedMaple());
    EXPECT_EQ(CurrentProfile, 1);
    EXPECT_EQ(Current(), CedarRecord());
    EXPECT_EQ(SlotGrid[0][0][0], 2);  // button 2 in row A, from the CEDAR record
    EXPECT_EQ(SlotGrid[0][1][0], 1);
    EXPECT_EQ(SlotCursor[0], 5);
    EXPECT_EQ(SlotCursor[1], 9);
    EXPECT_EQ(TheShell().IndexOf("ShowPage"), -1);
}

TEST_F(ToolFlowTest, SwitchWithNoDropsTheEdits) {
    Start("");
    EditGamepadPage();

    PickCedar(kIdNo);

    EXPECT_EQ(TheRegistry().CountCalls("set"), 0);
    EXPECT_EQ(CurrentProfile, 1);
    EXPECT_EQ(Current(), Default());  // CEDAR has no record yet
    EXPECT_EQ(SlotGrid[0][0][0], 1);
    EXPECT_EQ(SlotCursor[0], 5);
}

TEST_F(ToolFlowTest, SwitchAbandonedByCancelOrByAFailedStoreChangesNothing) {
    struct Case {
        const char* name;
        int answer;
        std::vector<TextId> boxes;
    };
    const Case cases[] = {
        {"Cancel", kIdCancel, {IDS_ASK_SAVE}},
        {"Yes, store fails", kIdYes, {IDS_ASK_SAVE, IDS_SAVE_FAILED}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        TheRegistry().PutValue(kCedarKey, "ButtonAssign", kRegBinary, CedarRecord());
        Start("");
        EditGamepadPage();
        const Record record = Current();
        const Grids grids = CurrentGrids();
        TheRegistry().createResult = kErrorAccessDenied;

        PickCedar(c.answer);

        ASSERT_EQ(TheView().messages.size(), c.boxes.size());
        for (std::size_t i = 0; i < c.boxes.size(); ++i) {
            EXPECT_EQ(TheView().messages[i].text, c.boxes[i]);
            EXPECT_EQ(TheView().messages[i].caption, IDS_CAPTION_NOTICE);
        }
        EXPECT_TRUE(TheShell().Called("SetEditionSelection 0"));
        EXPECT_EQ(TheShell().editionSelection, 0);
        EXPECT_EQ(CurrentProfile, 0);
        EXPECT_EQ(Current(), record);
        EXPECT_TRUE(CurrentGrids() == grids);
        EXPECT_EQ(TheRegistry().CountCalls("query"), 0) << "the new edition was loaded";
        EXPECT_EQ(TheRegistry().FindValue(kMapleKey, "ButtonAssign"), nullptr);
    }
}

TEST_F(ToolFlowTest, OkStoresAnnouncesAndCloses) {
    Start("");
    EditGamepadPage();

    AcceptAndClose(kMainWindow);

    EXPECT_EQ(Stored(kMapleKey), EditedMaple());
    ASSERT_EQ(TheView().messages.size(), 1u);
    ExpectBox(0, IDS_SAVED, IDS_CAPTION_NOTICE, kMbOk | kMbIconInformation);
    EXPECT_EQ(TheShell().calls, std::vector<std::string>{"SendClose"});
}

TEST_F(ToolFlowTest, OkWithAFailingStoreKeepsTheWindowAndTheEdits) {
    Start("");
    EditGamepadPage();
    const Record record = Current();
    const Grids grids = CurrentGrids();
    TheRegistry().createResult = kErrorAccessDenied;

    AcceptAndClose(kMainWindow);

    ASSERT_EQ(TheView().messages.size(), 1u);
    EXPECT_EQ(TheView().messages[0].text, IDS_SAVE_FAILED);
    EXPECT_FALSE(TheShell().Called("SendClose"));
    EXPECT_EQ(Current(), record);
    EXPECT_TRUE(CurrentGrids() == grids);

    // Once the registry can be written again, the same edits are stored.
    TheRegistry().createResult = kErrorSuccess;
    AcceptAndClose(kMainWindow);
    EXPECT_EQ(Stored(kMapleKey), EditedMaple());
    EXPECT_TRUE(TheShell().Called("SendClose"));
}

TEST_F(ToolFlowTest, ClosingRemembersTheEditionInUseThenDestroys) {
    Start("");
    PickCedar(kIdNo);
    TheSystem().fileCalls.clear();

    CloseTool(kMainWindow);

    EXPECT_EQ(TheSystem().FileText(kIniPath), "[Config]\r\nRpgType=CEDAR\r\n");
    EXPECT_EQ(TheShell().calls.back(), "DestroyMainWindow");
    EXPECT_EQ(TheRegistry().CountCalls("set"), 0);
}

TEST_F(ToolFlowTest, TabChangeSetsThePageTheTickFeeds) {
    Start("");
    TheShell().selectedTab = 1;
    OnTabChange();
    EXPECT_EQ(CurrentPage, 1);
    EXPECT_TRUE(TheShell().Called("ShowPage 1"));
    EXPECT_TRUE(TheShell().Called("ShowControl hidden")) << "the controller line is the gamepad's";

    // Activated, the window gives the focus to the shown page's selected
    // slot at first, and later back to the control that had it.
    SlotCursor[0] = 3;
    SlotCursor[1] = 10;
    OnActivate(nullptr);
    EXPECT_EQ(TheView().focused, FakeRadio(1, 2, 1));
    OnActivate(TheShell().controls.combo);
    EXPECT_EQ(TheView().focused, TheShell().controls.combo);
}

// The line names the controller read and counts the others; it follows each
// refresh, which waits for a burst of device messages to end.
TEST_F(ToolFlowTest, ControllerLineFollowsPlugAndUnplug) {
    const WindowRef line = TheShell().controls.controllerLine;
    Start("");
    EXPECT_EQ(TheView().texts[line], Shown(IDS_NO_CONTROLLER));

    TheDevices().attached = 2;
    OnDeviceChange(kMainWindow);
    OnDeviceChange(kMainWindow);
    EXPECT_EQ(0u, InputDevices.padCount) << "nothing before the messages stop";
    OnDeviceRefresh(kMainWindow);
    // The line may need other lines: the window is laid out for its text.
    EXPECT_EQ((std::vector<std::string>{"ScheduleDeviceRefresh", "ScheduleDeviceRefresh",
                                        "StopDeviceRefresh", "LayOutMainWindow devices"}),
              TheShell().calls);
    EXPECT_EQ(TheView().texts[line],
              Shown(IDS_CONTROLLER) + "Pad 0" + Shown(IDS_CONTROLLERS_UNUSED, 1));
    // Only the name may end in an ellipsis, in the line's two lines.
    EXPECT_TRUE(TheView().fits[line] == (Fit{1, 2}));

    TheDevices().unplugged[0] = true;
    TheDevices().controllers[1].Answer(DeviceOp::Acquire, kEFail);  // opens all the same
    TheDevices().attached = 3;
    TheDevices().controllers[2].Answer(DeviceOp::CreateDevice, kEFail);
    OnDeviceRefresh(kMainWindow);
    EXPECT_EQ(TheView().texts[line],
              Shown(IDS_CONTROLLER) + "Pad 1" + Shown(IDS_CONTROLLERS_UNOPENED, 1));
    TheDevices().attached = 14;
    OnDeviceRefresh(kMainWindow);
    EXPECT_EQ(TheView().texts[line], Shown(IDS_CONTROLLER) + "Pad 1" +
                                         Shown(IDS_CONTROLLERS_UNUSED, 11) +
                                         Shown(IDS_CONTROLLERS_UNOPENED, 1));
    TheDevices().attached = 3;
    TheDevices().unplugged[1] = true;
    OnDeviceRefresh(kMainWindow);
    EXPECT_EQ(TheView().texts[line], Shown(IDS_CONTROLLER) + Shown(IDS_CONTROLLERS_UNOPENED, 1));
}

// Plugged back at once, a controller keeps its slot but not a working object:
// its failing reads ask for one refresh, which opens it again, and the line
// names it only while it is read.
TEST_F(ToolFlowTest, ControllerFailingAsUnpluggedIsOpenedAgainByOneRefresh) {
    const WindowRef line = TheShell().controls.controllerLine;
    TheDevices().attached = 1;
    Start("");
    const std::string named = Shown(IDS_CONTROLLER) + "Pad 0";
    ASSERT_EQ(TheView().texts[line], named);
    const auto refreshesAsked = [] {
        const std::vector<std::string>& calls = TheShell().calls;
        return std::count(calls.begin(), calls.end(), "ScheduleDeviceRefresh");
    };

    TheDevices().controllers[0].dead = true;
    for (int tick = 0; tick < 5; ++tick) {
        OnTick(kMainWindow);
    }
    EXPECT_EQ(refreshesAsked(), 1);
    OnDeviceRefresh(kMainWindow);
    EXPECT_EQ(TheView().texts[line], named);
    const int cursor = SlotCursor[0];
    TheDevices().controllers[0].PushKey(48 + 3, true);
    OnTick(kMainWindow);
    EXPECT_EQ(SlotCursor[0], cursor + 1) << "the controller's press assigned nothing";

    // Its new object fails as well: not named, and asked again once per refresh.
    TheDevices().controllers[0].dead = true;
    TheDevices().controllers[0].Answer(DeviceOp::Acquire, kDiErrInputLost);
    TheDevices().controllers[0].Answer(DeviceOp::Poll, kDiErrNotAcquired);
    OnTick(kMainWindow);
    OnDeviceRefresh(kMainWindow);
    EXPECT_EQ(TheView().texts[line], Shown(IDS_CONTROLLER) + Shown(IDS_CONTROLLERS_UNOPENED, 1));
    OnTick(kMainWindow);
    OnTick(kMainWindow);
    EXPECT_EQ(refreshesAsked(), 3);
}

// Each cause lays the window out once. A cause that arrives during a pass
// (the pass's own move can make Windows send WM_DPICHANGED at once) is taken
// after it, a DPI change with its DPI first; passes that keep bringing each
// other stop after a few.
TEST_F(ToolFlowTest, EachCauseLaysTheWindowOutOnceAndNeverInsideAnother) {
    TheDevices().attached = 1;
    Start("");
    const auto passes = [] { return TheShell().Count("LayOutMainWindow"); };

    OnDpiChange(kMainWindow, 120, 5, 6);
    OnDisplayChange(kMainWindow);
    OnFrameChange(kMainWindow);
    EXPECT_EQ(TheShell().calls,
              (std::vector<std::string>{"TakeDpi 120", "LayOutMainWindow dpi 5,6",
                                        "LayOutMainWindow display", "LayOutMainWindow frame"}));
    // A refresh that leaves the controller line as it was needs no pass.
    OnDeviceRefresh(kMainWindow);
    EXPECT_EQ(passes(), 3);

    TheShell().calls.clear();
    bool moved = false;
    TheShell().onCall = [&](const std::string& line) {
        if (line == "LayOutMainWindow frame" && !moved) {
            moved = true;
            OnDpiChange(kMainWindow, 144, 10, 20);
            OnDisplayChange(kMainWindow);
        }
    };
    OnFrameChange(kMainWindow);
    EXPECT_EQ(TheShell().calls, (std::vector<std::string>{"LayOutMainWindow frame", "TakeDpi 144",
                                                          "LayOutMainWindow dpi 10,20"}));

    TheShell().calls.clear();
    int dpi = 96;
    TheShell().onCall = [&](const std::string& line) {
        if (line.compare(0, 20, "LayOutMainWindow dpi") == 0) {
            dpi = dpi == 96 ? 192 : 96;
            OnDpiChange(kMainWindow, dpi, 0, 0);
        }
    };
    OnDpiChange(kMainWindow, 96, 0, 0);
    EXPECT_EQ(passes(), 4) << "a DPI change and three that its passes brought";
    EXPECT_EQ(TheShell().mostPassesAtOnce, 1) << "a pass entered again";
}

}  // namespace
