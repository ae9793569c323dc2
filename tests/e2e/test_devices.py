"""The gamepad page and device faults, end to end: the real padloom.exe with
the test-only dinput8.dll (dinput8_double/), which attaches scripted
controllers, delivers scripted events and fails the calls a scenario names."""
import os
import shutil

import devices
import driver
from devices import DIK_DELETE, DIK_F1, DIK_F2, DIK_RETURN, DIK_SPACE, DIK_Z, Double, Grid
from driver import check, check_eq

DEFAULT_PAD = [[f"Button {r + 1}", "----", "----"] for r in range(8)]
DEFAULT_KEYS = [["Shift", "Z", "----"], ["Esc", "Num 0", "X"], ["Space", "Enter", "C"],
                ["A", "----", "----"], ["S", "----", "----"], ["D", "----", "----"],
                ["Q", "----", "----"], ["W", "----", "----"]]
INIT_FAILED = "DirectInputの初期化に失敗しました"


def start(s, script, name="run", system=None):
    folder = s.new_folder(name)
    d = Double(s, folder, script)
    app = d.launch(system)
    st = app.wait_shown(60)
    return d, app, st


def keyboard_page(s):
    """Shows the keyboard page: a click on the tab strip focuses the tab
    control, and Right selects the next tab as a user would."""
    st = s.probe()
    if st.tab["selected"] == 1:
        return st
    tab = next(c for c in st.controls if c["class"] == "SysTabControl32")
    s.focus()
    s.xdo("mousemove", 0, 0)
    s.click_at(tab["x"] + 20, tab["y"] + 10)
    s.xdo("key", "Right")
    return s.wait_for(lambda st: st.tab["selected"] == 1, 10, "keyboard page shown")


def press_ok_and_store(s, app):
    ok = s.probe().control(1, page=False)
    devices.click(s, ok)
    box = s.wait_box(10, caption="お知らせ")
    devices.answer(s, box, driver.IDOK)
    check_eq(app.wait_exit(15), 0, "exit code")


def released_in_order(d, created):
    """Every created device is unacquired (if it was acquired) and released to
    0 once, keyboard, mouse, then controllers in order, then DirectInput."""
    closing = [c for c in d.calls() if " Release -> " in c]
    names = [c.split()[0] for c in closing]
    check_eq(names, created + ["directinput"], "releases in order")
    check(all(c.endswith("-> 0") for c in closing), f"references left: {closing}")


# One controller


def one_controller_fills_the_gamepad_page(s):
    d, app, st = start(s, ["controllers 1"])
    window = f"window={st.main['hwnd']} "
    opening = [c.replace(window, "window=main ") for c in devices.open_sequence(d.calls())]
    expected_start = [
        "DirectInput8Create version=0x00000800 iid=IDirectInput8A instance=given outer=null -> 0x00000000",
        "directinput CreateDevice device=keyboard outer=null -> 0x00000000",
        "keyboard SetDataFormat format=keyboard objs=256 size=256 flags=2 -> 0x00000000",
        "keyboard SetCooperativeLevel window=main flags=6 -> 0x00000000",
        "keyboard SetProperty prop=BUFFERSIZE size=20 header=16 obj=0x00000000 how=0 value=8 -> 0x00000000",
        "keyboard Acquire -> 0x00000000",
        "directinput CreateDevice device=mouse outer=null -> 0x00000000",
        "mouse SetDataFormat format=mouse2 objs=11 size=20 flags=2 -> 0x00000000",
        "mouse SetCooperativeLevel window=main flags=6 -> 0x00000000",
        "mouse SetProperty prop=AXISMODE size=20 header=16 obj=0x00000000 how=0 value=1 -> 0x00000000",
        "mouse SetProperty prop=BUFFERSIZE size=20 header=16 obj=0x00000000 how=0 value=8 -> 0x00000000",
        "mouse Acquire -> 0x00000000",
        "directinput EnumDevices class=4 flags=1 begin",
        "directinput CreateDevice device=controller0 outer=null -> 0x00000000",
        "directinput EnumDevices callback controller0 -> 1",
        "directinput EnumDevices end -> 0x00000000",
        "controller0 SetDataFormat format=joystick objs=44 size=80 flags=1 -> 0x00000000",
        "controller0 SetCooperativeLevel window=main flags=6 -> 0x00000000",
        "controller0 EnumObjects flags=3 begin",
        "controller0 SetProperty prop=RANGE size=24 header=16 obj=0x00000002 how=2 min=-1000 max=1000 -> 0x00000000",
        "controller0 EnumObjects callback type=0x00000002 -> 1",
        "controller0 SetProperty prop=RANGE size=24 header=16 obj=0x00000102 how=2 min=-1000 max=1000 -> 0x00000000",
        "controller0 EnumObjects callback type=0x00000102 -> 1",
        "controller0 EnumObjects end -> 0x00000000",
        "controller0 SetProperty prop=AXISMODE size=20 header=16 obj=0x00000000 how=0 value=0 -> 0x00000000",
        "controller0 SetProperty prop=BUFFERSIZE size=20 header=16 obj=0x00000000 how=0 value=8 -> 0x00000000",
        "controller0 Acquire -> 0x00000000",
    ]
    check_eq(opening[:len(expected_start)], expected_start, "opening sequence")

    grid = Grid(DEFAULT_PAD)
    devices.check_page(st, grid, "at start")
    # Buttons 10 down to 1, each filling the selected slot and moving on.
    for n in [9, 8, 7, 6, 5, 4, 3, 2, 1, 0]:
        d.press_button(n)
        grid.assign(f"Button {n + 1}")
        devices.check_page(s.probe(), grid, f"after button {n + 1}")

    # Button 11 and the four stick directions do nothing.
    d.press_button(10)
    for axis, value in [("x", -1000), ("x", 1000), ("x", 0), ("y", -1000), ("y", 1000), ("y", 0)]:
        d.send(f"axis {axis} {value}")
        d.ticks(2)
    devices.check_page(s.probe(), grid, "after button 11 and the stick")

    # A held button makes one edit.
    d.send("button 2 down")
    d.ticks(6)
    d.send("button 2 up")
    d.ticks(2)
    grid.assign("Button 3")
    devices.check_page(s.probe(), grid, "after a held button")

    # On the keyboard page the controller's buttons do nothing.
    keys = keyboard_page(s)
    keys_grid = Grid(DEFAULT_KEYS)
    devices.check_page(keys, keys_grid, "keyboard page")
    d.press_button(0)
    d.press_button(4)
    devices.check_page(s.probe(), keys_grid, "keyboard page after buttons")

    press_ok_and_store(s, app)
    record = s.reg_record()
    expected = [0] * 10
    for r in range(8):
        for slot in range(3):
            name = grid.cells[r][slot]
            if name.startswith("Button "):
                expected[int(name.split()[1]) - 1] = 11 + r
    check_eq(list(record[:10]), expected, "gamepad bytes")
    check_eq(record[10:], driver.DEFAULT_RECORD[10:], "keyboard bytes")
    released_in_order(d, ["keyboard", "mouse", "controller0"])



def window_follows_a_monitor_of_another_dpi(s):
    """WM_DPICHANGED as Windows sends it when the window moves to a 150 %
    monitor and back: fonts and layout follow, the pages too, the edits stay,
    the pad still assigns, and the way back ends on the very same pixels."""
    d, app, st = start(s, ["controllers 1"])
    grid = Grid(DEFAULT_PAD)
    d.press_button(4)
    grid.assign("Button 5")
    st = s.probe()

    def geometry(st):
        m = st.main
        return {c["hwnd"]: (c["x"] - m["x"], c["y"] - m["y"], c["width"], c["height"])
                for c in st.controls}

    before = geometry(st)
    item_height = st.tab["items"][0]["height"]
    moved = {}
    for dpi, button in ((144, 6), (96, 7)):
        m = st.main
        # The size comes from the window's answer to WM_GETDPISCALEDSIZE.
        d.send(f"dpi {dpi} {m['x']} {m['y']}")
        # The probe reads rectangles while the tool is still laying out: the
        # last control placed is Cancel, then the window's size.
        last = [None]

        def settled(st):
            now = (geometry(st), st.main["client"]["width"])
            tab = st.control(900, page=False)["width"]
            done = now == last[0] and driver.dpi_scale(455, dpi) <= tab < \
                driver.dpi_scale(455 + 40, dpi)
            last[0] = now
            return done
        st = s.wait_for(settled, 10, f"window at {dpi} DPI")
        driver.expect_scaled_layout(st, dpi)
        moved[dpi] = st.main["client"]
        # The answer to WM_GETDPISCALEDSIZE is the plan there in that DPI's
        # frame: the client area the window settles at, in the frame Windows
        # documents for it. (Wine, which knows nothing of the move, keeps
        # drawing the frame it had, so the outer size is not compared.)
        answer = [l for l in d.lines() if l.startswith("dpi answer ")][-1]
        f = dict(kv.split("=", 1) for kv in answer.split()[2:])
        size = [int(v) for v in f["size"].split("x")]
        frame = [int(v) for v in f["frame"].split("x")]
        check_eq((f["dpi"], f["result"]), (str(dpi), "1"), "WM_GETDPISCALEDSIZE answered")
        check_eq((size[0] - frame[0], size[1] - frame[1]),
                 (st.main["client"]["width"], st.main["client"]["height"]),
                 f"client area answered for {dpi} DPI")
        devices.check_page(st, grid, f"at {dpi} DPI")
        if dpi == 144:
            check(st.tab["items"][0]["height"] * 4 >= item_height * 5,
                  f"tab row {st.tab['items'][0]['height']} high after {item_height}: same font")
            scaled = geometry(st)
            # The main window's own controls scale with the DPI; the tab and
            # the pages in it are sized by what the pages need, the pages'
            # controls by their font's dialog units, the hint and Reset by
            # their texts, the combo box's field by its font: all those only
            # grow about as the DPI does.
            fixed = {c["hwnd"] for c in st.controls
                     if c["parent"] == st.main["hwnd"] and c["id"] in (1, 2, 1040)}
            for hwnd, (_, _, w, h) in before.items():
                w2, h2 = scaled[hwnd][2:]
                if hwnd in fixed:
                    ok = abs(2 * w2 - 3 * w) <= 2 and abs(2 * h2 - 3 * h) <= 2
                else:
                    ok = 1.3 * w <= w2 <= 1.7 * w and 1.3 * h <= h2 <= 1.7 * h
                check(ok, f"control {hwnd} {w}x{h} became {w2}x{h2}")
        d.press_button(button)
        grid.assign(f"Button {button + 1}")
        devices.check_page(s.probe(), grid, f"a button at {dpi} DPI")
    check_eq(geometry(s.probe()), before, "every control after the way back")
    # Whatever the way to a DPI, the layout there is the same: a window
    # started at 144 DPI has the client area of the one moved there.
    app.stop()
    driver.set_display_dpi(s, 144)
    try:
        d, app, st = start(s, ["controllers 1"], "started-at-144")
        started, there = st.main["client"], moved[144]
        check_eq((started["width"], started["height"]), (there["width"], there["height"]),
                 "client area started at 144 DPI and moved there")
    finally:
        driver.set_display_dpi(s, 96)


def frame_changed_while_open_keeps_every_control_whole(s):
    """A taller caption while the tool is open (a theme, a high-contrast
    scheme): Windows keeps the outer rectangle and draws the new frame inside
    it, and the tool lays itself out again, whole, in its new frame."""
    d, app, st = start(s, ["controllers 1"])
    before = st.main
    caption = before["client"]["y"] - before["y"]
    d.send("frame 40")
    d.wait_log(lambda ls: any(l.startswith("framed ") for l in ls), 10, "the frame changed")
    check(not any(l.startswith("framed ") and l.endswith("failed") for l in d.lines()),
          "the caption refused")
    client = (before["client"]["width"], before["client"]["height"])
    st = s.wait_for(lambda st: st.main["client"]["y"] - st.main["y"] > caption and
                    (st.main["client"]["width"], st.main["client"]["height"]) == client, 10,
                    "the window whole in its new frame")
    driver.expect_scaled_layout(st, 96)
    check(st.main["height"] > before["height"], f"window {st.main} after {before}")


SS_CENTERIMAGE = 0x200


def every_text_whole_in_every_language_at_every_scaling(s):
    """OK, Cancel, Reset and the hint show their whole text, measured in the
    tool's own fonts, in each language at 100, 150 and 200 %; the layout holds."""
    systems = ["ja_JP", "C", "zh_CN", "zh_TW", "ko_KR", "es_ES", "pt_BR", "ru_RU"]
    try:
        for dpi in (96, 144, 192):
            driver.set_display_dpi(s, dpi)
            for system in systems:
                what = f"{system} at {dpi} DPI"
                d, app, st = start(s, ["controllers 1"], f"{system}-{dpi}",
                                   {"LANG": f"{system}.UTF-8", "LC_ALL": f"{system}.UTF-8"})
                driver.expect_scaled_layout(st, dpi)
                padding = driver.dpi_scale(4, dpi)
                for c in d.measure():
                    if c["id"] in (driver.IDOK, driver.IDCANCEL, 1032):
                        check(c["line"][0] + 2 * padding <= c["width"] and
                              c["line"][1] <= c["height"], f"button {c} cut, {what}")
                    elif c["id"] == 0xFFFF:
                        whole = (c["line"][0] <= c["width"] and c["line"][1] <= c["height"]
                                 if c["style"] & SS_CENTERIMAGE else c["lines"] <= c["height"])
                        check(whole, f"hint {c} cut, {what}")
                app.stop()
    finally:
        driver.set_display_dpi(s, 96)


# Screen readers

STATE_FOCUSED, STATE_INVISIBLE, STATE_FOCUSABLE = 0x4, 0x8000, 0x100000
OBJID_CLIENT, CHILDID_SELF = -4, 0
JA_NAME, EN_NAME = "{label}、スロット{n}: {held}", "{label}, slot {n}: {held}"


def slot_names(st, acc):
    """The shown page's 8 x 3 slot names as a screen reader reads them."""
    page = st.visible_page()
    return [[acc[page[driver.slot_id(r, n)]["hwnd"]]["name"] for n in range(3)] for r in range(8)]


def expected_names(grid, labels, form, empty):
    return [[form.format(label=labels[r], n=n + 1, held=empty if held == "----" else held)
             for n, held in enumerate(row)] for r, row in enumerate(grid.cells)]


def check_reader(st, acc, grid, labels, form, empty, what):
    """Names as the grid and labels say; roles and states the standard
    object's, every slot focusable, the focus on the selection."""
    check_eq(slot_names(st, acc), expected_names(grid, labels, form, empty), f"{what}: names")
    page = st.visible_page()
    slots = [page[driver.slot_id(r, n)]["hwnd"] for r in range(8) for n in range(3)]
    combo = st.control(1033, page=False)["hwnd"]
    for hwnd in slots + [combo]:
        check_eq((acc[hwnd]["role"], acc[hwnd]["state"]), acc[hwnd]["standard"],
                 f"{what}: role and state of {acc[hwnd]['id']}")
    check(all(acc[h]["state"] & STATE_FOCUSABLE for h in slots), f"{what}: a slot not focusable")
    r, n = grid.selected()
    check_eq([h for h in slots if acc[h]["state"] & STATE_FOCUSED],
             [page[driver.slot_id(r, n)]["hwnd"]], f"{what}: focused slot")


def screen_reader_hears_every_slot_and_each_capture(s):
    """Read inside the tool's process as a screen reader reads it: each slot
    named by its row's label (from Padloom.ini; the letter where a label is
    empty), its number and what it holds, in the tool's language, the edition
    box named; a capture or Delete announces the slots it changed; a hidden
    page reads as hidden."""
    folder = s.new_folder("ja")
    s.write_ini(folder, "[KeyName]\nA=決定\nB=\n")
    d = Double(s, folder, ["controllers 1"])
    app = d.launch()
    app.wait_shown(60)
    st = s.wait_for(lambda st: st.focus_id() == driver.slot_id(0, 0), 10, "the selection focused")
    d.watch_names()
    acc, loaded = d.accessible()
    check(not loaded, "oleacc.dll loaded before a reader asked for it")
    labels = ["決定", "B", "C", "X", "Y", "Z", "L", "R"]
    grid = Grid(DEFAULT_PAD)
    check_reader(st, acc, grid, labels, JA_NAME, "空き", "at start")
    check_eq(acc[st.control(1033, page=False)["hwnd"]]["name"], "エディション", "edition box")
    check_eq(acc[st.control(1032)["hwnd"]]["name"], "リセット(R)", "Reset")
    hidden = [p for p in st.pages() if not p["visible"]]
    check(hidden and all(acc[p["hwnd"]]["state"] & STATE_INVISIBLE for p in hidden),
          "the hidden page reads as visible")

    # Button 4 swaps into row A slot 1 from row X; Delete empties row B slot 1.
    page = st.visible_page()
    announced = []
    for press, held, changed in ((lambda: d.press_button(3), "Button 4", [(0, 0), (3, 0)]),
                                 (lambda: d.press_key(DIK_DELETE), None, [(1, 0)])):
        press()
        grid.assign(held)
        names = expected_names(grid, labels, JA_NAME, "空き")
        announced += [(page[driver.slot_id(r, n)]["hwnd"], OBJID_CLIENT, CHILDID_SELF, names[r][n])
                      for r, n in changed]
        d.ticks(2)
        got = [(c["window"], c["object"], c["child"], c["name"]) for c in d.name_changes()]
        check_eq(got, announced, f"names announced after {held}")
        check_reader(s.probe(), d.accessible()[0], grid, labels, JA_NAME, "空き", f"after {held}")

    # English on a Western system, the labels the letters.
    app.stop()
    d = Double(s, s.new_folder("en"), ["controllers 1"])
    d.launch(driver.WESTERN).wait_shown(60)
    st = s.wait_for(lambda st: st.focus_id() == driver.slot_id(0, 0), 10, "the selection focused")
    acc = d.accessible()[0]
    check_reader(st, acc, Grid(DEFAULT_PAD), list(driver.ROWS), EN_NAME, "empty", "in English")
    check_eq(acc[st.control(1033, page=False)["hwnd"]]["name"], "Edition", "edition box in English")
    check_eq(acc[st.control(1032)["hwnd"]]["name"], "Reset", "Reset in English")


# How many controllers


def two_controllers_only_the_first_assigns(s):
    d, app, st = start(s, ["controllers 2"])
    grid = Grid(DEFAULT_PAD)
    d.press_button(0, "controller1")
    d.press_button(3, "controller1")
    check(any(c.startswith("controller1 GetDeviceData") and "count=1 51:" in c for c in d.calls()),
          "the second controller is read")
    devices.check_page(s.probe(), grid, "after the second controller's buttons")
    d.press_button(3, "controller0")
    grid.assign("Button 4")
    devices.check_page(s.probe(), grid, "after the first controller's button 4")
    devices.click(s, s.probe().control(2, page=False))  # Cancel
    check_eq(app.wait_exit(15), 0, "exit code")
    released_in_order(d, ["keyboard", "mouse", "controller0", "controller1"])


def seventeen_controllers_the_first_is_used(s):
    d, app, st = start(s, ["controllers 17"])
    created = [c.split()[2][len("device="):] for c in d.calls("directinput")
               if " CreateDevice device=controller" in c]
    check_eq(created, [f"controller{n}" for n in range(16)], "controllers opened")
    check("directinput EnumDevices callback controller15 -> 0" in d.calls(), "stop after 16")
    grid = Grid(DEFAULT_PAD)
    d.press_button(1, "controller16")
    d.press_button(1, "controller1")
    devices.check_page(s.probe(), grid, "after other controllers' buttons")
    d.press_button(1)
    grid.assign("Button 2")
    devices.check_page(s.probe(), grid, "after the first controller's button 2")


def no_controller_gamepad_page_takes_delete_only(s):
    d, app, st = start(s, ["controllers 0"])
    check(not any("device=controller" in c for c in d.calls()), "no controller created")
    grid = Grid(DEFAULT_PAD)
    d.press_key(DIK_SPACE)
    d.press_key(DIK_Z)
    d.press_button(0)
    d.send("mouse button 0 down")
    d.ticks(2)
    d.send("mouse button 0 up", *["mouse move 5 -3"] * 6)  # overflows the mouse's buffer
    d.ticks(2)
    devices.check_page(s.probe(), grid, "after Space, Z, a button and the mouse")
    d.press_key(DIK_DELETE)
    grid.assign(None)
    devices.check_page(s.probe(), grid, "after Delete")
    d.press_key(DIK_DELETE)
    grid.assign(None)
    devices.check_page(s.probe(), grid, "after a second Delete")


def pad_presses_within_one_tick(s):
    d, app, st = start(s, ["controllers 1"])
    grid = Grid(DEFAULT_PAD)
    d.send("button 4 down", "button 2 down")
    d.ticks(2)
    grid.assign("Button 3")  # the lower button wins; the other is dropped
    devices.check_page(s.probe(), grid, "after buttons 3 and 5 together")
    d.send("button 4 up", "button 2 up")
    d.send("button 5 down", "button 5 up")
    d.ticks(2)
    devices.check_page(s.probe(), grid, "after a press and release within one tick")
    # Nine events: the controller's buffer keeps eight, the last press is lost.
    d.send(*["button 6 down", "button 6 up"] * 4, "button 7 down")
    d.ticks(2)
    devices.check_page(s.probe(), grid, "after an overflowing tick")
    d.send("button 7 up")
    d.press_button(7)
    grid.assign("Button 8")
    devices.check_page(s.probe(), grid, "after button 8 pressed again")


def controller_polled_with_no_effect_assigns(s):
    # Windows answers DI_NOEFFECT to Poll on a controller that needs no polling.
    d, app, st = start(s, ["controllers 1", "fail controller0 Poll 0x00000001"])
    grid = Grid(DEFAULT_PAD)
    d.press_button(9)
    grid.assign("Button 10")
    devices.check_page(s.probe(), grid, "after button 10")


def controller_works_again_after_the_background(s):
    d, app, st = start(s, ["controllers 1"])
    grid = Grid(DEFAULT_PAD)
    d.send("background")
    d.ticks(2)
    d.press_button(0)
    d.send("foreground")
    d.ticks(3)
    devices.check_page(s.probe(), grid, "after a press in the background")
    d.press_button(1)
    grid.assign("Button 2")
    devices.check_page(s.probe(), grid, "after button 2 in front")


def devices_refusing_to_acquire_at_start_are_acquired_later(s):
    d, app, st = start(s, ["controllers 1", "fail keyboard Acquire 0x80070005 1",
                           "fail mouse Acquire 0x80070005 1", "fail controller0 Acquire 0x80070005 1"])
    grid = Grid(DEFAULT_PAD)
    d.press_button(3)
    grid.assign("Button 4")
    devices.check_page(s.probe(), grid, "after button 4")
    d.press_key(DIK_DELETE)
    grid.assign(None)
    devices.check_page(s.probe(), grid, "after Delete")
    acquired = {c.split()[0] for c in d.calls() if c.endswith("Acquire -> 0x00000000")}
    check_eq(acquired, {"keyboard", "mouse", "controller0"}, "devices acquired")


def unplugged_first_controller_leaves_the_keyboard_working(s):
    d, app, st = start(s, ["controllers 2"])
    grid = Grid(DEFAULT_PAD)
    d.send("fail controller0 Poll 0x8007001E", "fail controller0 Acquire 0x80040209")
    d.ticks(3)
    d.press_button(0)
    d.press_button(0, "controller1")
    devices.check_page(s.probe(), grid, "after buttons of the lost controllers")
    d.press_key(DIK_DELETE)
    grid.assign(None)
    devices.check_page(s.probe(), grid, "after Delete")
    d.send("pass controller0 Poll", "pass controller0 Acquire")
    d.ticks(2)
    d.press_button(6)
    grid.assign("Button 7")
    devices.check_page(s.probe(), grid, "after button 7 once the controller is back")


# Controllers plugged in and out while the tool runs

NO_CONTROLLER = "コントローラー未接続。つなげばすぐ使えます。"


def controller_line(s):
    return s.probe().control(1040, page=False)["text"]


def wait_line(s, text):
    return s.wait_for(lambda st: st.control(1040, page=False)["text"] == text, 10,
                      f"controller line {text!r}")


def controller_plugged_in_later_assigns_and_a_second_does_not_take_over(s):
    d, app, st = start(s, ["controllers 0"])
    check_eq(controller_line(s), NO_CONTROLLER, "line without a controller")
    grid = Grid(DEFAULT_PAD)
    before = d.enumerations()
    d.attach()
    check_eq(d.wait_enumeration(before), ["controller0"], "controllers after the plug")
    wait_line(s, "コントローラー: Test Pad 0")
    d.press_button(4)
    grid.assign("Button 5")
    devices.check_page(s.probe(), grid, "after button 5 of the controller plugged in")

    # The HID interface notice alone is enough too; the new one joins behind.
    d.notify("interface")
    before = d.enumerations()
    d.attach("Arcade Stick")
    check_eq(d.wait_enumeration(before), ["controller0", "controller1"], "both listed")
    wait_line(s, "コントローラー: Test Pad 0（ほか1台は未使用）")
    d.press_button(1, "controller1")
    devices.check_page(s.probe(), grid, "after a button of the second controller")
    d.press_button(1)
    grid.assign("Button 2")
    devices.check_page(s.probe(), grid, "after button 2 of the first")
    keyboard_page(s)
    check(not s.probe().control(1040, page=False)["visible"], "line shown with the keyboard page")


LONG_NAME = ("Wireless Controller for Windows and Android with Turbo, Macro and "
             "Vibration Feedback (Wired and Bluetooth Modes)")


def unplugging_the_read_controller_hands_over_to_the_next(s):
    d, app, st = start(s, ["controllers 2", f"name controller1 {LONG_NAME}"])
    wait_line(s, "コントローラー: Test Pad 0（ほか1台は未使用）")
    grid = Grid(DEFAULT_PAD)
    d.send("button 3 down")
    d.ticks(2)
    grid.assign("Button 4")
    before = d.enumerations()
    d.detach(0)  # pulled out while button 4 is held
    d.wait_enumeration(before)
    # A name too long for the line's two lines ends in an ellipsis; the
    # window holds the line whole.
    st = s.wait_for(lambda st: st.control(1040, page=False)["text"].startswith(
        "コントローラー: Wireless Controller"), 10, "the long name")
    line = st.control(1040, page=False)["text"]
    check(line.endswith("\u2026") and len(line) < len("コントローラー: " + LONG_NAME),
          f"line {line!r}")
    driver.expect_scaled_layout(st, 96)
    devices.check_page(s.probe(), grid, "after the unplug")
    d.press_button(6, "controller1")
    grid.assign("Button 7")
    devices.check_page(s.probe(), grid, "after button 7 of the next controller")

    before = d.enumerations()
    d.detach(1)
    d.wait_enumeration(before)
    wait_line(s, NO_CONTROLLER)
    before = d.enumerations()
    d.attach_again(0)
    d.wait_enumeration(before)
    wait_line(s, "コントローラー: Test Pad 0")
    d.press_button(3)  # the button held when it went: a fresh press now
    grid.assign("Button 4")
    devices.check_page(s.probe(), grid, "after button 4 once it is back")
    devices.click(s, s.probe().control(2, page=False))
    check_eq(app.wait_exit(15), 0, "exit code")
    check(all(c.endswith("-> 0") for c in d.calls() if " Release -> " in c), "references left")


def controller_plugged_back_at_once_is_opened_again(s):
    """Out and in within one tick, and not even a device message: the
    controller keeps its instance GUID and so its slot, but its old object
    stays dead. Its failing reads bring one refresh, which opens it again."""
    d, app, st = start(s, ["controllers 1", "notify none"])
    wait_line(s, "コントローラー: Test Pad 0")
    grid = Grid(DEFAULT_PAD)
    before = d.enumerations()
    d.plug_back_at_once(0)
    d.wait_enumeration(before)
    d.ticks(2)
    d.press_button(5)
    grid.assign("Button 6")
    devices.check_page(s.probe(), grid, "after button 6 of the controller plugged back")
    wait_line(s, "コントローラー: Test Pad 0")
    check_eq(d.enumerations(), before + 1, "enumerations after the plug")
    check("controller0 Release -> 0" in d.calls(), "the dead object released")
    devices.click(s, s.probe().control(2, page=False))
    check_eq(app.wait_exit(15), 0, "exit code")
    check(all(c.endswith("-> 0") for c in d.calls() if " Release -> " in c), "references left")


# Opening failures that end the tool

STARTS = ["keyboard", "mouse", "controller0", "controller1"]
FAILING_STEPS = [
    ("directinput DirectInput8Create", []),
    ("keyboard CreateDevice", []),
    ("keyboard SetDataFormat", ["keyboard"]),
    ("keyboard SetCooperativeLevel", ["keyboard"]),
    ("keyboard SetProperty:BUFFERSIZE", ["keyboard"]),
    ("mouse CreateDevice", ["keyboard"]),
    ("directinput EnumDevices", STARTS),
    ("controller0 SetDataFormat", STARTS),
    ("controller0 SetCooperativeLevel", STARTS),
    ("controller0 EnumObjects", STARTS),
    ("controller0 SetProperty:AXISMODE", STARTS),
    ("controller0 SetProperty:BUFFERSIZE", STARTS),
    ("controller1 SetCooperativeLevel", STARTS),
]


def failing_open(step, created):
    def scenario(s):
        folder = s.new_folder("run")
        d = Double(s, folder, ["controllers 2", f"fail {step} 0x80070005"])
        app = d.launch()
        box = s.wait_box(30, caption="エラー")
        check(INIT_FAILED in box["texts"], f"box texts {box['texts']!r}")
        st = s.probe()
        check(st.main is None or not st.main["visible"], "main window shown")
        failed = [c for c in d.calls() if c.endswith("-> 0x80070005")]
        check_eq(len(failed), 1, f"failed calls {failed}")
        devices.answer(s, box, driver.IDOK)
        check_eq(app.wait_exit(15), 0, "exit code")
        check_eq(s.reg_get(driver.MAPLE_KEY), None, "MAPLE record")
        check_eq(s.reg_get(driver.CEDAR_KEY), None, "CEDAR record")
        check(not (folder / "Padloom.ini").exists(), "Padloom.ini written")
        closing = [" ".join(c.split()[:2]) for c in d.calls()
                   if c.split()[1:2] in (["Unacquire"], ["Release"])]
        expected = []
        for device in created:
            expected += [f"{device} Unacquire", f"{device} Release"]
        if step != "directinput DirectInput8Create":
            expected.append("directinput Release")
        check_eq(closing, expected, "closing calls")
        check(all(c.endswith("-> 0") for c in d.calls() if " Release -> " in c), "references left")
    name = step.replace(" ", "_").replace(":", "_")
    scenario.__name__ = f"failing_{name}_ends_the_tool"
    return scenario


# Opening failures that the tool lives with


def mouse_refusing_its_format_leaves_controllers_working(s):
    d, app, st = start(s, ["controllers 1", "fail mouse SetDataFormat 0x80070057"])
    calls = d.calls()
    mouse_release = calls.index("mouse Release -> 0")
    check(mouse_release < calls.index("directinput EnumDevices class=4 flags=1 begin"),
          "mouse released before the controllers are enumerated")
    check(not any(c.startswith("mouse Acquire") for c in calls), "refused mouse acquired")
    grid = Grid(DEFAULT_PAD)
    d.press_button(5)
    grid.assign("Button 6")
    devices.check_page(s.probe(), grid, "after button 6")
    devices.click(s, s.probe().control(2, page=False))
    check_eq(app.wait_exit(15), 0, "exit code")
    check_eq(d.calls().count("mouse Release -> 0"), 1, "mouse released once")
    # The mouse went at opening; the rest close in order.
    released_in_order(d, ["mouse", "keyboard", "controller0"])


def controller_failing_creation_is_skipped(s):
    d, app, st = start(s, ["controllers 2", "fail create controller0 0x80040154"])
    grid = Grid(DEFAULT_PAD)
    d.press_button(2, "controller1")
    grid.assign("Button 3")
    devices.check_page(s.probe(), grid, "after the second controller's button 3")
    devices.click(s, s.probe().control(2, page=False))
    check_eq(app.wait_exit(15), 0, "exit code")
    released_in_order(d, ["keyboard", "mouse", "controller1"])


def axis_refusing_its_range_leaves_the_controller_working(s):
    d, app, st = start(s, ["controllers 1", "fail controller0 SetProperty:RANGE 0x80070057 1"])
    ranges = [c for c in d.calls("controller0") if "prop=RANGE" in c]
    check_eq(len(ranges), 1, f"range settings {ranges}")
    check("controller0 EnumObjects callback type=0x00000002 -> 0" in d.calls(), "X callback stops")
    grid = Grid(DEFAULT_PAD)
    d.press_button(0)
    grid.assign("Button 1")
    devices.check_page(s.probe(), grid, "after button 1")


# Keyboard events that were never delivered


def key_lost_in_an_overflow_presses_again(s):
    d, app, st = start(s, ["controllers 0"])
    st = keyboard_page(s)
    grid = Grid(DEFAULT_KEYS)
    d.send(f"key {DIK_SPACE:#04x} down")
    d.ticks(2)
    grid.assign("Space")
    devices.check_page(s.probe(), grid, "after Space")
    # Nine events in one tick: the buffer holds eight, Space's release is lost.
    burst = []
    for code in (DIK_F1, DIK_F2, DIK_F1, DIK_F2):
        burst += [f"key {code:#04x} down", f"key {code:#04x} up"]
    d.send(*burst, f"key {DIK_SPACE:#04x} up")
    d.ticks(3)
    overflow = [c for c in d.calls("keyboard") if "GetDeviceData" in c and "-> 0x00000001" in c]
    check_eq(len(overflow), 1, "one overflowing read")
    devices.check_page(s.probe(), grid, "after the burst")
    d.press_key(DIK_SPACE)
    grid.assign("Space")
    devices.check_page(s.probe(), grid, "after Space again")


def keys_changed_in_the_background_count_from_the_next_press(s):
    d, app, st = start(s, ["controllers 0"])
    st = keyboard_page(s)
    grid = Grid(DEFAULT_KEYS)
    d.send(f"key {DIK_Z:#04x} down")
    d.ticks(2)
    grid.assign("Z")
    devices.check_page(s.probe(), grid, "after Z")
    d.send("background")
    d.ticks(2)
    # Z let go, and Enter pressed to answer a box: both unseen by the buffer.
    d.send(f"key {DIK_Z:#04x} up", f"key {DIK_RETURN:#04x} down")
    d.ticks(2)
    d.send("foreground")
    d.ticks(3)
    check(any(c == "keyboard Acquire -> 0x00000000" for c in d.calls()[-40:]), "keyboard acquired again")
    devices.check_page(s.probe(), grid, "back in front with Enter still down")
    d.send(f"key {DIK_RETURN:#04x} up")
    d.ticks(2)
    d.press_key(DIK_Z)
    grid.assign("Z")
    devices.check_page(s.probe(), grid, "after Z again")
    d.press_key(DIK_RETURN)
    grid.assign("Enter")
    devices.check_page(s.probe(), grid, "after Enter pressed in front")


def dinput8_beside_the_tool_is_never_loaded(s):
    """Game folders often hold a modded dinput8.dll: with Wine told to prefer
    native DLLs, one beside the tool is what a load by bare name would take."""
    folder = s.new_folder("run")
    shutil.copy2(devices.DLL, folder / "dinput8.dll")
    system = devices.system_folder(s.prefix) / "dinput8.dll"
    system.unlink()
    os.link(devices.system_folder(s.args.template) / "dinput8.dll", system)
    log = folder / "planted.log"
    saved = s.env
    s.env = dict(saved, WINEDLLOVERRIDES="mscoree,mshtml=;dinput8=n,b", PADLOOM_DI_LOG=str(log))
    try:
        app = s.launch(folder)
    finally:
        s.env = saved
    app.wait_shown(60)
    check(not log.exists(), "the dinput8.dll beside the tool was loaded")


SCENARIOS = ([one_controller_fills_the_gamepad_page, window_follows_a_monitor_of_another_dpi,
              frame_changed_while_open_keeps_every_control_whole,
              every_text_whole_in_every_language_at_every_scaling,
              two_controllers_only_the_first_assigns,
              seventeen_controllers_the_first_is_used, no_controller_gamepad_page_takes_delete_only,
              pad_presses_within_one_tick, controller_polled_with_no_effect_assigns,
              controller_works_again_after_the_background,
              devices_refusing_to_acquire_at_start_are_acquired_later,
              unplugged_first_controller_leaves_the_keyboard_working,
              controller_plugged_in_later_assigns_and_a_second_does_not_take_over,
              unplugging_the_read_controller_hands_over_to_the_next,
              controller_plugged_back_at_once_is_opened_again,
              screen_reader_hears_every_slot_and_each_capture]
             + [failing_open(step, created) for step, created in FAILING_STEPS]
             + [mouse_refusing_its_format_leaves_controllers_working,
                controller_failing_creation_is_skipped,
                axis_refusing_its_range_leaves_the_controller_working,
                key_lost_in_an_overflow_presses_again,
                keys_changed_in_the_background_count_from_the_next_press,
                dinput8_beside_the_tool_is_never_loaded])

if __name__ == "__main__":
    driver.main(SCENARIOS, devices.parse())
