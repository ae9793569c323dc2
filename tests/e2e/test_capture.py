"""Capture: selecting a slot and pressing keys, as the user does it."""
import driver
from driver import DEFAULT_KEYS, DEFAULT_PAD, E, check, check_eq, expect_captions


def wait_cursor(s, row, slot, what):
    """Waits until exactly the given slot is checked, and returns that reading."""
    return s.wait_for(lambda st: st.checked_slots() == [(row, slot)], 10, what)


def road_of_one_press(s):
    folder = s.new_folder("road")
    app, st = driver.start_tool(s, folder)
    driver.show_page(s, 1)
    driver.select_slot(s, 1, 1)
    check_eq(s.probe().slot(1, 1)["text"], "Num 0", "row B slot 1 before")
    s.focus()
    s.press("space")
    st = wait_cursor(s, 2, 1, "selection on row C slot 1")
    expect_captions(st, {"B": ["Esc", "Space", "X"], "C": ["Num 0", "Enter", "C"]}, "after Space")
    check_eq(st.focus_id(), driver.slot_id(2, 1), "focused control")
    s.click(st.control(driver.IDOK, page=False))
    box = s.wait_box(caption="お知らせ")
    check_eq(box["texts"], ["設定を保存しました"], "notice")
    s.answer(box, driver.IDOK)
    check_eq(app.wait_exit(), 0, "exit code")
    expected = bytearray(driver.DEFAULT_RECORD)
    expected[10], expected[13] = 0x0C, 0x0D
    check_eq(s.reg_record(), bytes(expected), "stored record")
    check("RpgType=MAPLE" in s.read_ini(folder), f"settings file: {s.read_ini(folder)!r}")


def column_filled_by_pressing_keys(s):
    app, st = driver.start_tool(s)
    driver.show_page(s, 1)
    driver.select_slot(s, 0, 2)
    s.focus()
    # One key after another runs down slot column 2 from row A.
    s.press("v", "b", "space", "Return", "Escape", "KP_0", "Shift_R", "w")
    st = wait_cursor(s, 0, 0, "selection wrapped to row A slot 0")
    check_eq([r[2] for r in st.captions()],
             ["V", "B", "Space", "Enter", "Esc", "Num 0", "Shift", "W"], "column 2")
    # A key shown elsewhere swaps with what the column slot held; a key not on
    # the page replaces it (X, under row B slot 2, is gone).
    expect_captions(st, {"A": [E, "Z", "V"], "B": [E, E, "B"], "C": ["C", E, "Space"],
                         "X": ["A", E, "Enter"], "R": [E, E, "W"]}, "swapped rows")


def delete_empties_and_advances(s):
    app, st = driver.start_tool(s)
    driver.show_page(s, 1)
    driver.select_slot(s, 2, 0)
    s.focus()
    s.press("Delete")
    st = wait_cursor(s, 3, 0, "selection on row X slot 0")
    expect_captions(st, {"C": [E, "Enter", "C"], "X": ["A", E, E]}, "after Delete")
    s.press("Delete")
    st = wait_cursor(s, 4, 0, "selection on row Y slot 0")
    expect_captions(st, {"X": [E, E, E]}, "after the second Delete")
    # Delete works on the gamepad page too.
    driver.show_page(s, 0)
    driver.select_slot(s, 7, 0)
    s.focus()
    s.press("Delete")
    st = wait_cursor(s, 0, 1, "gamepad selection on row A slot 1")
    check_eq(st.captions()[7], [E, E, E], "gamepad row R")


def keys_that_assign_nothing(s):
    app, st = driver.start_tool(s)
    driver.select_slot(s, 2, 1)
    s.focus()
    # The gamepad page listens to gamepad buttons only.
    s.press("space", "z", "Return")
    st = s.probe()
    expect_captions(st, DEFAULT_PAD, "gamepad page after keys")
    check_eq(st.checked_slots(), [(2, 1)], "gamepad selection")
    driver.show_page(s, 1)
    driver.select_slot(s, 2, 1)
    s.focus()
    # Keys outside the table: the keypad's Enter, an arrow key, the top row's 0, F1.
    s.press("KP_Enter", "Left", "0", "F1", "k")
    st = s.probe()
    expect_captions(st, DEFAULT_KEYS, "keyboard page after keys outside the table")
    check_eq(st.checked_slots(), [(2, 1)], "keyboard selection")
    check(app.running(), "tool ended")


if __name__ == "__main__":
    driver.main([road_of_one_press, column_filled_by_pressing_keys, delete_empties_and_advances,
                 keys_that_assign_nothing])
