"""Stored records the tool did not write: shown as far as they make sense,
and stored back as a clean 25-byte record on OK."""
import driver
from driver import DEFAULT_KEYS, DEFAULT_PAD, DEFAULT_RECORD, E, IDOK, MAPLE_KEY, check, check_eq
from driver import expect_captions


def show_then_store(s, pad, keys):
    """Checks both pages, presses OK and returns the stored record."""
    app, st = driver.start_tool(s)
    expect_captions(st, pad, "gamepad page")
    st = driver.show_page(s, 1)
    expect_captions(st, keys, "keyboard page")
    check(app.running(), "tool ended")
    s.click(st.control(IDOK, page=False))
    box = s.wait_box(caption="お知らせ")
    check_eq(box["texts"], ["設定を保存しました"], "notice")
    s.answer(box, IDOK)
    check_eq(app.wait_exit(), 0, "exit code")
    return s.reg_record(MAPLE_KEY)


def string_value(s):
    s.reg_set_string(MAPLE_KEY, "0b0c0d0e0f10111200000d0d0c0c0b0b0c0d00000e0f101112")
    check_eq(show_then_store(s, DEFAULT_PAD, DEFAULT_KEYS), DEFAULT_RECORD, "stored record")


def value_of_26_bytes(s):
    s.reg_set_binary(MAPLE_KEY, bytes([18] * 26))
    check_eq(show_then_store(s, DEFAULT_PAD, DEFAULT_KEYS), DEFAULT_RECORD, "stored record")


def value_of_10_bytes(s):
    # The bytes past a short value are 0, not whatever was in memory before.
    short = bytes([18, 17, 16, 15, 14, 13, 12, 11, 11, 12])
    s.reg_set_binary(MAPLE_KEY, short)
    pad = [["Button 8", "Button 9", E], ["Button 7", "Button 10", E]] + \
          [[f"Button {6 - r}", E, E] for r in range(6)]
    stored = show_then_store(s, pad, [[E] * 3] * 8)
    check_eq(stored, short + bytes(15), "stored record")


def codes_out_of_range_and_four_inputs(s):
    pad = [1, 10, 19, 255, 11, 11, 11, 11, 0, 18]
    keys = [11, 11, 11, 11, 5, 200, 12, 12, 12, 12, 13, 0, 0, 0, 14]
    s.reg_set_binary(MAPLE_KEY, bytes(pad + keys))
    pad_rows = [["Button 5", "Button 6", "Button 7"]] + [[E] * 3] * 6 + [["Button 10", E, E]]
    key_rows = [["Space", "Enter", "Esc"], ["X", "C", "V"], ["A", E, E], ["W", E, E]] + \
               [[E] * 3] * 4
    stored = show_then_store(s, pad_rows, key_rows)
    check_eq(list(stored), [0, 0, 0, 0, 11, 11, 11, 0, 0, 18] +
             [11, 11, 11, 0, 0, 0, 12, 12, 12, 0, 13, 0, 0, 0, 14], "normalised record")


if __name__ == "__main__":
    driver.main([string_value, value_of_26_bytes, value_of_10_bytes,
                 codes_out_of_range_and_four_inputs])
