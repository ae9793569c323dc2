"""Start-up: the window, its controls, the labels and the remembered edition."""
import driver
from driver import (CEDAR_KEY, DEFAULT_KEYS, DEFAULT_PAD, DEFAULT_RECORD, E, IDCANCEL, IDOK,
                    MAPLE_KEY, check, check_eq, expect_captions)

CEDAR_RECORD = bytes([0, 0, 0, 0, 0, 0, 0, 0, 11, 12]) + bytes([18] * 3) + bytes(12)


def window_and_controls(s):
    app, st = driver.start_tool(s)
    m = st.main
    check_eq(m["title"], "Vyne Player 外部キーコンフィグツール", "title")
    check_eq((m["width"], m["height"]), (480, 328), "outer size")
    check_eq((m["x"], m["y"]), ((1024 - 480) // 2, (768 - 328) // 2), "centred position")
    top = {c["id"]: c for c in st.controls if c["parent"] == m["hwnd"]}
    check_eq(sorted(top), [1, 2, 900, 1033, 1040], "controls of the main window")
    check_eq((top[900]["class"], top[1033]["class"].lower()), ("SysTabControl32", "combobox"),
             "classes")
    check_eq((top[IDOK]["text"], top[IDCANCEL]["text"]), ("OK", "キャンセル"), "button texts")
    for cid, (x, y) in {900: (12, 12), 1033: (12, 275), 1: (281, 275), 2: (379, 275)}.items():
        c = top[cid]
        check_eq((c["x"] - m["client"]["x"], c["y"] - m["client"]["y"]), (x, y),
                 f"position of control {cid}")
    check_eq([i["text"] for i in st.tab["items"]], ["ゲームパッド", "キーボード"], "tab captions")
    check_eq(st.tab["selected"], 0, "selected tab")
    check_eq(len(st.pages()), 2, "page dialogs")
    check_eq((st.combo["items"], st.combo["selected"]), (["MAPLE", "CEDAR"], 0), "edition list")
    check_eq(st.labels(), list("ABCXYZLR"), "labels")
    expect_captions(st, DEFAULT_PAD, "gamepad page")
    check_eq(st.checked_slots(), [(0, 0)], "selection")
    page = st.visible_page()
    check_eq(page[1032]["text"], "リセット(&R)", "Reset button")
    check_eq(page[0xFFFF]["text"], "※Deleteキーで設定を消せます", "hint")
    st = driver.show_page(s, 1)
    expect_captions(st, DEFAULT_KEYS, "keyboard page")
    check_eq(st.checked_slots(), [(0, 0)], "keyboard selection")


def labels_from_keyname(s):
    ini = "[KeyName]\nA=決定\nB=\nX=メニュー表示\n[Config]\nRpgType=cedar\n"
    app, st = driver.start_tool(s, ini=ini)
    labels = ["決定", "", "C", "メニュー表示", "Y", "Z", "L", "R"]
    check_eq(st.labels(), labels, "gamepad page labels")
    # A name in small letters names no edition: the first is used.
    check_eq(st.combo["selected"], 0, "edition for RpgType=cedar")
    st = driver.show_page(s, 1)
    check_eq(st.labels(), labels, "keyboard page labels")


def cedar_from_rpgtype(s):
    s.reg_set_binary(CEDAR_KEY, CEDAR_RECORD)
    s.reg_set_binary(MAPLE_KEY, DEFAULT_RECORD)
    app, st = driver.start_tool(s, ini="[Config]\nRpgType=CEDAR\n")
    check_eq(st.combo["selected"], 1, "edition")
    expect_captions(st, {"A": ["Button 9", E, E], "B": ["Button 10", E, E], "C": [E, E, E]},
                    "CEDAR gamepad page")
    st = driver.show_page(s, 1)
    expect_captions(st, {"R": ["Space", "Enter", "Esc"], "A": [E, E, E]}, "CEDAR keyboard page")


def folder_with_a_0x5c_character(s):
    # 表 is 0x95 0x5C in Shift-JIS: its second byte must not cut the path.
    folder = s.new_folder("表")
    s.reg_set_binary(CEDAR_KEY, CEDAR_RECORD)
    app, st = driver.start_tool(s, folder, ini="[KeyName]\nA=表示\n[Config]\nRpgType=CEDAR\n")
    check_eq(st.labels()[0], "表示", "label read from the folder")
    check_eq(st.combo["selected"], 1, "edition read from the folder")
    driver.choose_edition(s, 0)
    s.answer(s.wait_box(caption="お知らせ"), driver.IDNO)
    s.wait_for(lambda st: st.combo["selected"] == 0, 10, "MAPLE selected")
    s.click(s.probe().control(IDCANCEL, page=False))
    check_eq(app.wait_exit(), 0, "exit code")
    check_eq(s.read_ini(folder), "[KeyName]\r\nA=表示\r\n[Config]\r\nRpgType=MAPLE\r\n",
             "settings file in the folder")
    stray = [p for p in folder.parent.rglob("*") if p.name.lower() == "padloom.ini"
             and p.parent != folder]
    check_eq(stray, [], "settings files elsewhere")


if __name__ == "__main__":
    driver.main([window_and_controls, labels_from_keyname, cedar_from_rpgtype,
                 folder_with_a_0x5c_character])
