"""Start-up: the window, its controls, the labels and the remembered edition."""
import driver
from driver import (CEDAR_KEY, DEFAULT_KEYS, DEFAULT_PAD, DEFAULT_RECORD, E, IDCANCEL, IDOK,
                    MAPLE_KEY, check, check_eq, expect_captions)

CEDAR_RECORD = bytes([0, 0, 0, 0, 0, 0, 0, 0, 11, 12]) + bytes([18] * 3) + bytes(12)


def window_and_controls(s):
    app, st = driver.start_tool(s)
    m = st.main
    check_eq(m["title"], "Vyne Player 外部キーコンフィグツール", "title")
    # The 96-DPI client area, grown only where this system's fonts need it.
    driver.expect_scaled_layout(st, 96)
    check_eq((m["x"], m["y"]), ((1024 - m["width"]) // 2, (768 - m["height"]) // 2),
             "centred position")
    top = {c["id"]: c for c in st.controls if c["parent"] == m["hwnd"]}
    check_eq(sorted(top), [1, 2, 900, 1033, 1040], "controls of the main window")
    check_eq((top[900]["class"], top[1033]["class"].lower()), ("SysTabControl32", "combobox"),
             "classes")
    check_eq((top[IDOK]["text"], top[IDCANCEL]["text"]), ("OK", "キャンセル"), "button texts")
    check_eq([i["text"] for i in st.tab["items"]], ["ゲームパッド", "キーボード"], "tab captions")
    check_eq(st.tab["selected"], 0, "selected tab")
    # The hidden page is made once the window is shown.
    st = s.wait_for(lambda st: len(st.pages()) == 2, 10, "both page dialogs")
    driver.expect_scaled_layout(st, 96)
    check_eq((st.combo["items"], st.combo["selected"]), (["MAPLE", "CEDAR"], 0), "edition list")
    check_eq(st.labels(), list("ABCXYZLR"), "labels")
    expect_captions(st, DEFAULT_PAD, "gamepad page")
    check_eq(st.checked_slots(), [(0, 0)], "selection")
    page = st.visible_page()
    # The keys act on what is seen: the shown page's selected slot has the focus.
    check_eq(st.focus and st.focus["hwnd"], page[driver.slot_id(0, 0)]["hwnd"], "focus at start")
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


def run_from_a_japanese_folder(s, env=None, config=""):
    # 表 is 0x95 0x5C in Shift-JIS: no byte of a folder name may cut the path.
    folder = s.new_folder("表")
    s.reg_set_binary(CEDAR_KEY, CEDAR_RECORD)
    ini = f"[KeyName]\nA=表示\n[Config]\nRpgType=CEDAR\n{config}"
    app, st = driver.start_tool(s, folder, ini=ini, env=env)
    check_eq(st.main["title"], "Vyne Player 外部キーコンフィグツール", "title")
    check_eq(st.labels()[0], "表示", "label read from the folder")
    check_eq(st.combo["selected"], 1, "edition read from the folder")
    driver.choose_edition(s, 0)
    s.answer(s.wait_box(caption="お知らせ"), driver.IDNO)
    s.wait_for(lambda st: st.combo["selected"] == 0, 10, "MAPLE selected")
    s.click(s.probe().control(IDCANCEL, page=False))
    check_eq(app.wait_exit(), 0, "exit code")
    check_eq(s.read_ini(folder),
             ("[KeyName]\nA=表示\n[Config]\nRpgType=MAPLE\n" + config).replace("\n", "\r\n"),
             "settings file in the folder")
    stray = [p for p in folder.parent.rglob("*") if p.name.lower() == "padloom.ini"
             and p.parent != folder]
    check_eq(stray, [], "settings files elsewhere")


def folder_with_a_0x5c_character(s):
    run_from_a_japanese_folder(s)


def western_system_japanese_folder_and_language(s):
    """A Western Windows (code page 1252, UI language 0409): the folder, the
    Shift-JIS label and the Japanese asked for in the file all come right.
    The save question's buttons are not checked: Wine 8 ignores the thread's
    preferred UI languages that make them Japanese on Windows."""
    run_from_a_japanese_folder(s, driver.WESTERN, "Language=ja\n")


def english_where_japanese_is_not_read(s):
    # Notepad's default today: UTF-8 with a byte-order mark.
    ini = "\ufeff[KeyName]\r\nA=決定\r\nB=Café\r\n[Config]\r\nRpgType=CEDAR\r\n"
    s.reg_set_binary(CEDAR_KEY, CEDAR_RECORD)
    app, st = driver.start_tool(s, ini=ini.encode("utf-8"), env=driver.WESTERN)
    check_eq(st.main["title"], "Vyne Player Key Config Tool", "title")
    top = {c["id"]: c for c in st.controls if c["parent"] == st.main["hwnd"]}
    check_eq((top[IDOK]["text"], top[IDCANCEL]["text"]), ("OK", "Cancel"), "button texts")
    check(top[1040]["text"] in ("No controller connected. Just plug one in.",)
          or top[1040]["text"].startswith("Controller: "), f"controller line {top[1040]['text']!r}")
    check_eq([i["text"] for i in st.tab["items"]], ["Gamepad", "Keyboard"], "tab captions")
    check_eq(st.labels()[:3], ["決定", "Café", "C"], "labels from a UTF-8 file")
    page = st.visible_page()
    check_eq((page[0xFFFF]["text"], page[1032]["text"]),
             ("Press Delete to clear a slot.", "&Reset"), "hint and Reset")
    # Whatever font stood in for the template's, every control is whole.
    driver.expect_scaled_layout(st, 96)
    driver.choose_edition(s, 0)
    box = s.wait_box(caption="Notice")
    check("Save the settings?" in box["texts"], f"box texts {box['texts']!r}")
    s.answer(box, IDCANCEL)
    s.click(s.probe().control(IDCANCEL, page=False))
    check_eq(app.wait_exit(), 0, "exit code")


def scaled_display(s, dpi):
    """The prefix's display scaling at dpi: the window is the 96-DPI one scaled,
    centred, nothing cut, and a key still assigns."""
    driver.set_display_dpi(s, dpi)
    try:
        app, st = driver.start_tool(s)
        driver.expect_scaled_layout(st, dpi)
        m = st.main
        # Centred where it fits; taller than the screen, at its top edge.
        check_eq((m["x"], m["y"]), (max(0, (1024 - m["width"]) // 2),
                                    max(0, (768 - m["height"]) // 2)), "position")
        st = driver.show_page(s, 1)
        driver.expect_scaled_layout(st, dpi)
        driver.select_slot(s, 3, 1)
        s.focus()
        s.press("space")
        st = s.wait_for(lambda st: st.checked_slots() == [(4, 1)], 10, "selection moved on")
        expect_captions(st, {"X": ["A", "Space", E], "C": [E, "Enter", "C"]}, "after Space")
    finally:
        driver.set_display_dpi(s, 96)


def whole_in_other_frames(s):
    """Windows 10's frame at 100 %, and a 40-pixel caption at 150 %: the frame
    takes what it needs around the client area, which stays whole."""
    frames = (("windows10", 96, driver.WINDOWS_10_FRAME),
              ("caption40", 144, {"CaptionHeight": 40, "BorderWidth": 4}))
    try:
        for frame, dpi, metrics in frames:
            driver.set_display_dpi(s, dpi)
            with driver.window_metrics(s, **metrics):
                app, st = driver.start_tool(s, s.new_folder(frame))
                driver.expect_scaled_layout(st, dpi)
                m = st.main
                caption = m["client"]["y"] - m["y"]
                check(m["y"] >= 0 and caption >= metrics["CaptionHeight"],
                      f"{frame}: caption of {caption} px at {m['y']}")
                app.stop()
    finally:
        driver.set_display_dpi(s, 96)


def whole_under_a_window_manager(s):
    """Most Linux players run Wine under a window manager, which draws the
    frame: the frame is the manager's and every control is whole."""
    with driver.window_manager(s):
        app, st = driver.start_tool(s)
        driver.expect_scaled_layout(st, 96)
        extents = s.poll_until(lambda: driver.frame_extents(s, s.x_window("Vyne Player")), 10,
                               "the manager's frame")
        check(extents[2] > 0, f"frame extents {extents}")
        s.screenshot("whole_under_a_window_manager-framed")
        app.stop()


def display_at_150_percent(s):
    scaled_display(s, 144)


def display_at_200_percent(s):
    scaled_display(s, 192)


# The locale under which Wine gives each further language, and its block in padloom.rc.
LOCALES = {
    "zh_CN": "LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED",
    "zh_TW": "LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL",
    "ko_KR": "LANG_KOREAN, SUBLANG_KOREAN",
    "es_ES": "LANG_SPANISH, SUBLANG_SPANISH_MODERN",
    "pt_BR": "LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN",
    "ru_RU": "LANG_RUSSIAN, SUBLANG_DEFAULT",
}


def system_of(locale):
    return {"LANG": f"{locale}.UTF-8", "LC_ALL": f"{locale}.UTF-8"}


def expect_texts(st, texts, what):
    """The main window, its tabs and buttons and the shown page read as the table says."""
    m = st.main
    top = {c["id"]: c for c in st.controls if c["parent"] == m["hwnd"]}
    page = st.visible_page()
    check_eq([m["title"], top[IDOK]["text"], top[IDCANCEL]["text"],
              [i["text"] for i in st.tab["items"]], page[0xFFFF]["text"], page[1032]["text"]],
             [texts["IDS_TITLE"], texts["IDS_OK"], texts["IDS_CANCEL"],
              [texts["IDS_TAB_GAMEPAD"], texts["IDS_TAB_KEYBOARD"]], texts["IDS_HINT"],
              texts["IDS_RESET"]], f"{what}: title, OK, Cancel, tabs, hint, Reset")
    line = top[1040]["text"]
    check(line == texts["IDS_NO_CONTROLLER"] or line.startswith(texts["IDS_CONTROLLER"]),
          f"{what}: controller line {line!r}")


def each_language_from_the_system(s):
    """Each further language on a system whose UI language it is: every text
    as its block in padloom.rc holds it, and every block complete."""
    tables = driver.rc_texts()
    for language, texts in tables.items():
        missing = [i for i in driver.text_ids() if not texts.get(i)]
        check_eq(missing, [], f"texts missing from the block {language}")
    for locale, language in LOCALES.items():
        texts = tables[language]
        app, st = driver.start_tool(s, s.new_folder(locale), env=system_of(locale))
        expect_texts(st, texts, locale)
        driver.expect_scaled_layout(st, 96)
        if locale in ("zh_CN", "ko_KR"):
            s.screenshot(f"{s.scenario}-{locale}")
        driver.choose_edition(s, 1)
        box = s.wait_box(caption=texts["IDS_CAPTION_NOTICE"])
        check(texts["IDS_ASK_SAVE"] in box["texts"], f"{locale}: box texts {box['texts']!r}")
        s.answer(box, IDCANCEL)
        s.click(s.probe().control(IDCANCEL, page=False))
        check_eq(app.wait_exit(), 0, f"{locale}: exit code")


def language_setting_overrides_the_system(s):
    tables = driver.rc_texts()
    for locale, setting, language in (
            ("C", "ko", "LANG_KOREAN, SUBLANG_KOREAN"),
            ("ja_JP", "ko", "LANG_KOREAN, SUBLANG_KOREAN"),
            ("zh_CN", "ZH-TW", "LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL"),
            ("ru_RU", "xx", "LANG_RUSSIAN, SUBLANG_DEFAULT")):
        app, st = driver.start_tool(s, s.new_folder(setting),
                                    ini=f"[Config]\nLanguage={setting}\n", env=system_of(locale))
        expect_texts(st, tables[language], f"Language={setting} under {locale}")
        driver.expect_scaled_layout(st, 96)
        s.click(s.probe().control(IDCANCEL, page=False))
        check_eq(app.wait_exit(), 0, "exit code")


if __name__ == "__main__":
    driver.main([window_and_controls, labels_from_keyname, cedar_from_rpgtype,
                 folder_with_a_0x5c_character, western_system_japanese_folder_and_language,
                 english_where_japanese_is_not_read, whole_in_other_frames,
                 whole_under_a_window_manager, display_at_150_percent,
                 display_at_200_percent, each_language_from_the_system,
                 language_setting_overrides_the_system])
