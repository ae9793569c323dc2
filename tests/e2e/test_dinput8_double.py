"""The test-only dinput8.dll on its own: a small program loads it from the
system directory exactly as padloom.exe does, opens the devices in the tool's
order and reads scripted events (its checks print ok/FAIL lines)."""
import devices
import driver
from driver import check, check_eq


def smoke_program_passes(s):
    folder = s.new_folder("smoke")
    d = devices.Double(s, folder, ["controllers 2"])
    app = d.launch()
    rc = app.wait_exit(60)
    out = (folder / "wine.log").read_bytes().decode(errors="replace")
    check("SMOKE PASSED" in out and rc == 0, f"smoke program (exit {rc}):\n{out}")
    joy = [l for l in out.splitlines() if l.startswith("info joyGetNumDevs")]
    print(f"  {joy[0] if joy else 'joyGetNumDevs not reported'}", flush=True)
    calls = d.calls()
    check_eq(calls[0].split(" ", 1)[0], "DirectInput8Create", "first call")
    released = [c for c in calls if " Release -> 0" in c]
    check_eq([c.split()[0] for c in released],
             ["keyboard", "mouse", "controller0", "controller1", "controller0", "directinput"],
             "releases")
    # Scenarios find the posts by the main window's handle, as SetCooperativeLevel logs it.
    window = next(c for c in calls if c.startswith("keyboard SetCooperativeLevel")).split()[2]
    posts = [c.replace(window, "window=main").split(" name=")[0] for c in calls
             if c.startswith("notify ")]
    check_eq(posts, ["notify window=main wParam=0x0007", "notify window=main wParam=0x8000",
                     "notify window=main wParam=0x0007"], "device-change posts")


def scripted_failure_reaches_the_caller(s):
    folder = s.new_folder("failing")
    d = devices.Double(s, folder, ["controllers 2", "fail keyboard SetCooperativeLevel 0x80070005"])
    app = d.launch()
    rc = app.wait_exit(60)
    check(rc != 0, "smoke program should report the refused cooperative level")
    line = next(l for l in d.calls("keyboard") if " SetCooperativeLevel" in l)
    check_eq(devices.result(line), "0x80070005", "logged result")


if __name__ == "__main__":
    driver.main([smoke_program_passes, scripted_failure_reaches_the_caller], devices.parse())
