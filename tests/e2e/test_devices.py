"""The gamepad page and device faults, end to end: the real padloom.exe with
the test-only dinput8.dll (dinput8_double/), which attaches scripted
controllers, delivers scripted events and fails the calls a scenario names."""
import devices
import driver
from devices import DIK_DELETE, DIK_F1, DIK_F2, DIK_SPACE, DIK_Z, Double, Grid
from driver import check, check_eq

DEFAULT_PAD = [[f"Button {r + 1}", "----", "----"] for r in range(8)]
DEFAULT_KEYS = [["Shift", "Z", "----"], ["Esc", "Num 0", "X"], ["Space", "Enter", "C"],
                ["A", "----", "----"], ["S", "----", "----"], ["D", "----", "----"],
                ["Q", "----", "----"], ["W", "----", "----"]]
INIT_FAILED = "DirectInputの初期化に失敗しました"


def start(s, script, name="run"):
    folder = s.new_folder(name)
    d = Double(s, folder, script)
    app = d.launch()
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
    s.click_at(tab["x"] + 20, tab["y"] + 10)
    s.xdo("key", "Right")
    return s.wait_for(lambda st: st.tab["selected"] == 1, 10, "keyboard page shown")


def press_ok_and_store(s, app):
    ok = s.probe().control(1, page=False)
    s.click(ok)
    box = s.wait_box(10, caption="お知らせ")
    s.answer(box, driver.IDOK)
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
    opening = devices.open_sequence(d.calls())
    expected_start = [
        "DirectInput8Create version=0x00000800 iid=IDirectInput8A instance=given outer=null -> 0x00000000",
        "directinput CreateDevice device=keyboard outer=null -> 0x00000000",
        "keyboard SetDataFormat format=keyboard objs=256 size=256 flags=2 -> 0x00000000",
        "keyboard SetCooperativeLevel window=valid flags=6 -> 0x00000000",
        "keyboard SetProperty prop=BUFFERSIZE size=20 header=16 obj=0x00000000 how=0 value=8 -> 0x00000000",
        "keyboard Acquire -> 0x00000000",
        "directinput CreateDevice device=mouse outer=null -> 0x00000000",
        "mouse SetDataFormat format=mouse2 objs=11 size=20 flags=2 -> 0x00000000",
        "mouse SetCooperativeLevel window=valid flags=6 -> 0x00000000",
        "mouse SetProperty prop=AXISMODE size=20 header=16 obj=0x00000000 how=0 value=1 -> 0x00000000",
        "mouse SetProperty prop=BUFFERSIZE size=20 header=16 obj=0x00000000 how=0 value=8 -> 0x00000000",
        "mouse Acquire -> 0x00000000",
        "directinput EnumDevices class=4 flags=1 begin",
        "directinput CreateDevice device=controller0 outer=null -> 0x00000000",
        "directinput EnumDevices callback controller0 -> 1",
        "directinput EnumDevices end -> 0x00000000",
        "controller0 SetDataFormat format=joystick objs=44 size=80 flags=1 -> 0x00000000",
        "controller0 SetCooperativeLevel window=valid flags=6 -> 0x00000000",
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


if __name__ == "__main__":
    driver.main([one_controller_fills_the_gamepad_page], devices.parse())
