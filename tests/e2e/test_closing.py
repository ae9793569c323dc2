"""Closing and switching: what OK, Cancel, the close box, Reset and the
edition switch leave in the registry and in Padloom.ini."""
import os
import time

import driver
from driver import (CEDAR_KEY, DEFAULT_KEYS, DEFAULT_PAD, DEFAULT_RECORD, E, IDCANCEL, IDNO, IDOK,
                    IDYES, MAPLE_KEY, check, check_eq, expect_captions)

# A CEDAR record unlike the default: gamepad buttons 1 to 8 on rows R to A.
CEDAR_RECORD = bytes([18, 17, 16, 15, 14, 13, 12, 11, 0, 0]) + DEFAULT_RECORD[10:]
CEDAR_PAD = [[f"Button {8 - r}", E, E] for r in range(8)]
# The road of one press: Space into row B slot 1.
EDITED_KEYS = {"B": ["Esc", "Space", "X"], "C": ["Num 0", "Enter", "C"]}
EDITED_RECORD = bytes(DEFAULT_RECORD[:10]) + bytes([12, 13, 12, 13]) + DEFAULT_RECORD[14:]


def edit_keyboard_page(s):
    """Shows the keyboard page and presses Space into row B slot 1."""
    driver.show_page(s, 1)
    driver.select_slot(s, 1, 1)
    s.focus()
    s.press("space")
    return s.wait_for(lambda st: st.checked_slots() == [(2, 1)], 10, "Space captured")


def expect_no_box(s, seconds=1.0):
    time.sleep(seconds)
    boxes = s.probe().boxes
    check(not boxes, f"unexpected message box: {boxes}")


def ini_edition(s, folder):
    text = s.read_ini(folder)
    check(text is not None, "no Padloom.ini written")
    check(text.count("RpgType=") == 1, f"settings file: {text!r}")
    return text.split("RpgType=")[1].split()[0]


def cancel_stores_nothing(s):
    folder = s.new_folder("cancel")
    app, st = driver.start_tool(s, folder)
    edit_keyboard_page(s)
    s.click(s.probe().control(IDCANCEL, page=False))
    check_eq(app.wait_exit(), 0, "exit code")
    check_eq(s.reg_get(MAPLE_KEY), None, "MAPLE value after Cancel")
    check_eq(s.read_ini(folder), "[Config]\r\nRpgType=MAPLE\r\n", "settings file")


def close_box_stores_nothing(s):
    s.reg_set_binary(CEDAR_KEY, CEDAR_RECORD)
    folder = s.new_folder("close")
    app, st = driver.start_tool(s, folder, ini="[Config]\nRpgType=CEDAR\n")
    edit_keyboard_page(s)
    driver.close_box(s)
    check_eq(app.wait_exit(), 0, "exit code")
    check_eq(s.reg_record(CEDAR_KEY), CEDAR_RECORD, "CEDAR record after the close box")
    check_eq(s.reg_get(MAPLE_KEY), None, "MAPLE value")
    check_eq(ini_edition(s, folder), "CEDAR", "RpgType")


def reset_restores_one_page(s):
    s.reg_set_binary(MAPLE_KEY, bytes([0] * 10) + bytes([11] * 15))
    app, st = driver.start_tool(s)
    expect_captions(st, [[E] * 3] * 8, "gamepad page as stored")
    st = driver.show_page(s, 1)
    expect_captions(st, {"A": ["Space", "Enter", "Esc"]}, "keyboard page as stored")
    s.click(st.control(1032))
    st = s.wait_for(lambda st: st.captions()[1] == DEFAULT_KEYS[1], 10, "keyboard page reset")
    expect_captions(st, DEFAULT_KEYS, "keyboard page after Reset")
    # The gamepad page keeps its grid until it is reset itself.
    st = driver.show_page(s, 0)
    expect_captions(st, [[E] * 3] * 8, "gamepad page after the keyboard page's Reset")
    s.click(st.control(IDOK, page=False))
    s.answer(s.wait_box(caption="お知らせ"), IDOK)
    check_eq(app.wait_exit(), 0, "exit code")
    check_eq(s.reg_record(), bytes([0] * 10) + DEFAULT_RECORD[10:], "stored record")


def switch_to_cedar(s, answer):
    """Edits MAPLE's keyboard page, picks CEDAR and answers the save question."""
    s.reg_set_binary(CEDAR_KEY, CEDAR_RECORD)
    folder = s.new_folder("switch")
    app, st = driver.start_tool(s, folder)
    edit_keyboard_page(s)
    driver.choose_edition(s, 1)
    box = s.wait_box(caption="お知らせ")
    check_eq(box["texts"], ["設定を保存しますか？"], "question")
    check_eq(sorted(b["id"] for b in box["buttons"]), [IDCANCEL, IDYES, IDNO], "buttons")
    s.answer(box, answer)
    return app, folder


def switch_answered_yes(s):
    app, folder = switch_to_cedar(s, IDYES)
    expect_no_box(s)
    check_eq(s.reg_record(MAPLE_KEY), EDITED_RECORD, "MAPLE record stored at the switch")
    st = s.wait_for(lambda st: st.combo["selected"] == 1, 10, "CEDAR selected")
    check_eq(st.tab["selected"], 1, "tab after the switch")
    expect_captions(st, DEFAULT_KEYS, "CEDAR keyboard page")
    check_eq(st.checked_slots(), [(2, 1)], "selection kept")
    st = driver.show_page(s, 0)
    expect_captions(st, CEDAR_PAD, "CEDAR gamepad page")
    s.click(st.control(IDCANCEL, page=False))
    check_eq(app.wait_exit(), 0, "exit code")
    check_eq(s.reg_record(CEDAR_KEY), CEDAR_RECORD, "CEDAR record after Cancel")
    check_eq(s.reg_record(MAPLE_KEY), EDITED_RECORD, "MAPLE record after Cancel")
    check_eq(ini_edition(s, folder), "CEDAR", "RpgType")


def switch_answered_no(s):
    app, folder = switch_to_cedar(s, IDNO)
    st = s.wait_for(lambda st: st.combo["selected"] == 1, 10, "CEDAR selected")
    expect_captions(st, DEFAULT_KEYS, "CEDAR keyboard page")
    check_eq(s.reg_get(MAPLE_KEY), None, "MAPLE value after No")
    check_eq(s.reg_record(CEDAR_KEY), CEDAR_RECORD, "CEDAR record after No")
    # OK now stores to CEDAR.
    s.click(st.control(IDOK, page=False))
    s.answer(s.wait_box(caption="お知らせ"), IDOK)
    check_eq(app.wait_exit(), 0, "exit code")
    check_eq(s.reg_record(CEDAR_KEY), CEDAR_RECORD, "CEDAR record after OK")
    check_eq(s.reg_get(MAPLE_KEY), None, "MAPLE value after OK")
    check_eq(ini_edition(s, folder), "CEDAR", "RpgType")


def switch_answered_cancel(s):
    app, folder = switch_to_cedar(s, IDCANCEL)
    st = s.wait_for(lambda st: st.combo["selected"] == 0, 10, "MAPLE selected again")
    expect_captions(st, EDITED_KEYS, "edits kept")
    check_eq(s.reg_get(MAPLE_KEY), None, "MAPLE value after Cancel")
    check_eq(s.reg_record(CEDAR_KEY), CEDAR_RECORD, "CEDAR record after Cancel")
    s.click(st.control(IDOK, page=False))
    s.answer(s.wait_box(caption="お知らせ"), IDOK)
    check_eq(app.wait_exit(), 0, "exit code")
    check_eq(s.reg_record(MAPLE_KEY), EDITED_RECORD, "MAPLE record after OK")
    check_eq(s.reg_record(CEDAR_KEY), CEDAR_RECORD, "CEDAR record after OK")
    check_eq(ini_edition(s, folder), "MAPLE", "RpgType")


def failed_store_on_ok_keeps_the_window(s):
    # Nothing lasting can be created below a volatile key: the store fails.
    s.make_volatile(r"Software\Quillhaven")
    folder = s.new_folder("fail-ok")
    app, st = driver.start_tool(s, folder)
    edit_keyboard_page(s)
    s.click(s.probe().control(IDOK, page=False))
    box = s.wait_box(caption="お知らせ")
    check_eq(box["texts"], ["設定の保存に失敗しました"], "failure notice")
    s.answer(box, IDOK)
    # The edits are not lost: the window stays open with them.
    time.sleep(0.5)
    check(app.running(), "tool ended after a failed store")
    st = s.probe()
    check(st.main is not None and st.main["visible"], "main window gone")
    expect_captions(st, EDITED_KEYS, "edits after the failed store")
    s.click(st.control(IDCANCEL, page=False))
    check_eq(app.wait_exit(), 0, "exit code")
    check_eq(s.reg_get(MAPLE_KEY), None, "MAPLE value")
    check_eq(ini_edition(s, folder), "MAPLE", "RpgType")


def linked_settings_stay_a_link(s):
    """Padloom.ini linked into another folder (players keep it in a synced one):
    an edition change is written into the link's target, labels kept, and the
    link stays a link. A Linux symbolic link in the prefix's drive is one to
    Wine, which follows it when opening the file and gives its target as the
    final path, as Windows does; unlike Windows, it never shows the link itself
    (FILE_FLAG_OPEN_REPARSE_POINT opens the target)."""
    folder = s.new_folder("link")
    synced = s.new_folder("synced")
    s.write_ini(synced, "[KeyName]\nA=ジャンプ\n[Config]\nRpgType=MAPLE\n")
    # An old backup beside the target: gone once the file has been read.
    (synced / "Padloom.ini.old~").write_bytes(b"[Config]\r\nRpgType=CEDAR\r\n")
    link = folder / "Padloom.ini"
    os.symlink("../synced/Padloom.ini", link)
    app, st = driver.start_tool(s, folder)
    check_eq(st.labels()[0], "ジャンプ", "label read through the link")
    driver.choose_edition(s, 1)
    s.answer(s.wait_box(caption="お知らせ"), IDNO)
    st = s.wait_for(lambda st: st.combo["selected"] == 1, 10, "CEDAR selected")
    s.click(st.control(IDCANCEL, page=False))
    check_eq(app.wait_exit(), 0, "exit code")
    check(link.is_symlink(), "Padloom.ini is no longer a link")
    check_eq(os.readlink(link), "../synced/Padloom.ini", "the link's target")
    check_eq(s.read_ini(synced), "[KeyName]\r\nA=ジャンプ\r\n[Config]\r\nRpgType=CEDAR\r\n",
             "the target")
    left = [f.name for d in (folder, synced) for f in d.iterdir() if f.name.endswith("~")]
    check_eq(left, [], "files left beside the link or its target")


def failed_store_on_switch_keeps_the_edition(s):
    s.make_volatile(r"Software\Quillhaven")
    app, st = driver.start_tool(s)
    edit_keyboard_page(s)
    driver.choose_edition(s, 1)
    s.answer(s.wait_box(caption="お知らせ"), IDYES)
    box = s.wait_box(caption="お知らせ")
    check_eq(box["texts"], ["設定の保存に失敗しました"], "failure notice")
    s.answer(box, IDOK)
    # The switch is abandoned: the edits stay, for the edition they were made for.
    st = s.wait_for(lambda st: st.combo["selected"] == 0, 10, "MAPLE selected again")
    expect_captions(st, EDITED_KEYS, "edits after the failed store")
    check_eq(s.reg_get(MAPLE_KEY), None, "MAPLE value")
    check_eq(s.reg_get(CEDAR_KEY), None, "CEDAR value")
    check(app.running(), "tool ended")


if __name__ == "__main__":
    driver.main([cancel_stores_nothing, close_box_stores_nothing, reset_restores_one_page,
                 switch_answered_yes, switch_answered_no, switch_answered_cancel,
                 failed_store_on_ok_keeps_the_window, failed_store_on_switch_keeps_the_edition,
                 linked_settings_stay_a_link])
