"""The harness itself, on the minimal window program: launch, probe, focus,
keys, screenshot and stop all work before the tool is looked at."""
import time

import driver
from driver import check, check_eq


def minimal_window_is_seen(s):
    s.main_class = "Minimal_WindowClass"
    app = s.launch(s.new_folder("minimal"))
    st = app.wait_shown()
    check_eq(st.main["title"], "Minimal window", "title")
    check_eq((st.main["width"], st.main["height"]), (480, 328), "size")
    check_eq((st.main["x"], st.main["y"]), ((1024 - 480) // 2, (768 - 328) // 2), "position")
    ok = st.control(1, page=False)
    check_eq((ok["class"], ok["text"], ok["visible"]), ("Button", "OK", True), "OK button")
    s.focus("Minimal window")
    s.press("space")
    check(app.running(), "program ended")


def hung_program_is_reported_not_waited_for(s):
    s.main_class = "Minimal_WindowClass"
    app = s.launch(s.new_folder("hung"), "hang")
    started = time.monotonic()
    st = s.wait_for(lambda st: st.main and st.main["visible"], 30, "window shown")
    while not st.data.get("hung") and time.monotonic() - started < 30:
        st = s.probe()
    check(st.data.get("hung"), "probe did not notice the program hung")
    took = time.monotonic() - started
    check(took < 30, f"probing a hung program took {took:.1f} s")


def registry_and_ini_round_trip(s):
    s.reg_set_binary(driver.MAPLE_KEY, driver.DEFAULT_RECORD)
    check_eq(s.reg_record(), driver.DEFAULT_RECORD, "record read back")
    s.reg_set_string(driver.CEDAR_KEY, "abc")
    check_eq(s.reg_get(driver.CEDAR_KEY), ("REG_SZ", "abc"), "string value")
    s.reg_delete(driver.VENDOR_KEY)
    check_eq(s.reg_get(driver.MAPLE_KEY), None, "deleted value")
    folder = s.new_folder("表")
    s.write_ini(folder, "[KeyName]\nA=決定\n")
    check_eq(s.read_ini(folder), "[KeyName]\r\nA=決定\r\n", "ini text")
    check_eq((folder / "Padloom.ini").read_bytes(), b"[KeyName]\r\nA=\x8c\x88\x92\xe8\r\n",
             "ini bytes")


if __name__ == "__main__":
    driver.main([minimal_window_is_seen, hung_program_is_reported_not_waited_for,
                 registry_and_ini_round_trip])
