"""Drives a Windows program under Wine on a private Xvfb display and reads its
state with probe.exe. Python 3 standard library only.

A scenario file lists functions that take a Session and raise on failure:

    import driver

    def road_of_one_press(s):
        app = s.launch(s.new_folder("road"))
        app.wait_shown()
        ...

    driver.main([road_of_one_press])

Each scenario starts from a clean state: no Quillhaven registry key, a new
folder, no program running. Every wait is bounded; a failure saves a
screenshot and prints the probe's last output.
"""

import argparse
import contextlib
import json
import os
import random
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parent.parent

# As scripts/wine-env.sh: ja_JP.UTF-8 makes Wine's ANSI code page 932.
WINE_ENV = {
    "LANG": "ja_JP.UTF-8",
    "LC_ALL": "ja_JP.UTF-8",
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=",
    "WINEARCH": "win64",
}

# X display numbers, as scripts/wine-env.sh draws them: the Wine 10 root's
# Xvfb and the host's share X's abstract sockets but not their lock files, so
# each side keeps to its own range.
IN_WINE10_ROOT = Path("/etc/padloom-root").exists()
DISPLAYS = range(1000, 2000) if IN_WINE10_ROOT else range(100, 1000)

MAIN_CLASS = "Config_WindowClass"
# A Western system for the tool's process alone: Wine then gives it code page
# 1252 and UI language 0409, in the same prefix.
WESTERN = {"LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"}
MAPLE_KEY = r"HKCU\Software\Quillhaven\Vyne"
CEDAR_KEY = r"HKCU\Software\Quillhaven\Vyne2"
VENDOR_KEY = r"HKCU\Software\Quillhaven"
DEFAULT_RECORD = bytes([11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 13, 13, 12, 12, 11, 11, 12, 13,
                        0, 0, 14, 15, 16, 17, 18])
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7


class Failure(AssertionError):
    pass


# What a group exits with where this machine cannot run it at all; CTest
# counts it as skipped (SKIP_RETURN_CODE in e2e.cmake), not failed.
SKIPPED = 77


class Unsupported(Exception):
    pass


def is_i386(path):
    """True for a 32-bit x86 Windows program or DLL."""
    data = Path(path).read_bytes()[:4096]
    pe = int.from_bytes(data[0x3C:0x40], "little")
    return int.from_bytes(data[pe + 4:pe + 6], "little") == 0x14C


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_eq(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: expected {expected!r}, got {actual!r}")


def slot_id(row, slot):
    """Control id of a slot radio button (rows A..R = 0..7, slots 0..2)."""
    return 1001 + 4 * row + slot


ROWS = "ABCXYZLR"


def run(cmd, env, timeout, cwd=None, check_rc=True):
    # Output goes through files, not pipes: Wine's service processes inherit
    # the handles and would hold a pipe open long after the command ended.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        p = subprocess.Popen(cmd, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out,
                             stderr=err)
        try:
            rc = p.wait(timeout)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
            raise Failure(f"timed out after {timeout} s: {' '.join(map(str, cmd))}")
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(cmd, rc, out.read(), err.read())
    if check_rc and rc != 0:
        raise Failure(f"{' '.join(map(str, cmd))} exited {rc}: "
                      f"{result.stderr.decode(errors='replace').strip()}")
    return result


class State:
    """One probe reading."""

    def __init__(self, data):
        self.data = data
        self.main = data.get("main")
        self.controls = data.get("controls", [])
        self.boxes = data.get("boxes", [])
        self.tab = data.get("tab")
        self.combo = data.get("combo")
        self.focus = data.get("focus")

    def visible_page(self):
        """The controls of the shown assignment page dialog, by id."""
        pages = [c for c in self.controls if c["class"] == "#32770" and c["visible"]]
        check(len(pages) == 1, f"expected one visible page, found {len(pages)}")
        page = pages[0]["hwnd"]
        return {c["id"]: c for c in self.controls if c["parent"] == page}

    def pages(self):
        return [c for c in self.controls if c["class"] == "#32770"]

    def control(self, cid, page=True):
        if page:
            found = self.visible_page().get(cid)
        else:
            found = next((c for c in self.controls
                          if c["id"] == cid and c["parent"] == self.main["hwnd"]), None)
        check(found is not None, f"no control {cid}")
        return found

    def slot(self, row, s):
        return self.control(slot_id(row, s))

    def captions(self):
        """The shown page's 8 x 3 slot captions."""
        page = self.visible_page()
        return [[page[slot_id(r, s)]["text"] for s in range(3)] for r in range(8)]

    def checked_slots(self):
        page = self.visible_page()
        return [(r, s) for r in range(8) for s in range(3) if page[slot_id(r, s)].get("checked")]

    def labels(self):
        page = self.visible_page()
        return [page[1000 + 4 * r]["text"] for r in range(8)]

    def focus_id(self):
        return self.focus["id"] if self.focus else None

    def dump(self):
        return json.dumps(self.data, ensure_ascii=False)


class App:
    """One run of the program under test."""

    def __init__(self, session, folder, proc, log):
        self.s = session
        self.folder = folder
        self.proc = proc
        self.log = log

    def running(self):
        return self.proc.poll() is None

    def wait_shown(self, timeout=30):
        """Waits until the main window is visible and returns the probe's reading."""
        pages = self.s.main_class == MAIN_CLASS
        return self.s.wait_for(
            lambda st: st.main and st.main["visible"] and (st.pages() or not pages), timeout,
            "main window shown")

    def wait_exit(self, timeout=15):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"program did not end within {timeout} s")

    def stop(self):
        if self.running():
            try:
                os.killpg(self.proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                pass
        self.log.close()


class Session:
    """One Xvfb, one Wine prefix with a persistent wineserver, many scenarios."""

    def __init__(self, args):
        self.args = args
        self.exe = Path(args.exe).resolve()
        self.probe_exe = Path(args.probe).resolve()
        self.volatile_exe = Path(args.volatile_key).resolve() if args.volatile_key else None
        self.work = Path(args.work).resolve()
        self.shots = self.work / "screenshots"
        self.prefix = self.work / "prefix"
        self.xvfb = None
        self.server = None
        self.probe_proc = None
        self.apps = []
        self.last_probe = None
        self.scenario = None
        self.main_class = MAIN_CLASS
        self.env = dict(os.environ)
        self.env.update(WINE_ENV)
        self.env["WINEPREFIX"] = str(self.prefix)

    # Set-up and tear-down

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self):
        if self.work.exists():
            shutil.rmtree(self.work)
        self.shots.mkdir(parents=True)
        self._make_prefix()
        self._start_xvfb()
        self._start_server()

    def _make_prefix(self):
        template = Path(self.args.template).resolve()
        # wineboot takes most of a minute, so it runs once per build tree and
        # each group gets a copy; concurrent groups wait on the same lock.
        prep = (f". '{REPO}/scripts/wine-env.sh' && prepare_wine_prefix '{template}'")
        run(["bash", "-c", prep], dict(os.environ), timeout=660)
        self.prefix.mkdir(parents=True)
        for item in template.iterdir():
            if item.name in ("drive_c", "wineserver"):
                continue
            if item.is_symlink() or item.is_file():
                shutil.copy2(item, self.prefix / item.name, follow_symlinks=False)
            else:
                shutil.copytree(item, self.prefix / item.name, symlinks=True)
        # The system DLLs are never written by a run: hard links keep this cheap.
        run(["cp", "-al", str(template / "drive_c"), str(self.prefix / "drive_c")], self.env, 120)
        users = self.prefix / "drive_c" / "users"
        shutil.rmtree(users)
        shutil.copytree(template / "drive_c" / "users", users, symlinks=True)

    def _start_xvfb(self):
        # Other trees start their own displays at the same time, so the number
        # is chosen here at random and a display lost to a race is tried again.
        rng = random.Random(os.getpid() ^ int(time.time() * 1000))
        for attempt in range(5):
            number = rng.choice(DISPLAYS)
            if Path(f"/tmp/.X{number}-lock").exists():
                continue
            log = open(self.work / f"xvfb-{attempt}.log", "wb")
            self.xvfb = subprocess.Popen(
                # No key repeats: a key held longer than the repeat delay on a
                # busy machine would press again.
                ["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                 "-ardelay", "60000"],
                stdin=subprocess.DEVNULL, stdout=log, stderr=log)
            log.close()
            self.env["DISPLAY"] = f":{number}"
            deadline = time.monotonic() + 20
            while self.xvfb.poll() is None and time.monotonic() < deadline:
                p = run(["xdotool", "getdisplaygeometry"], self.env, 10, check_rc=False)
                if p.returncode == 0:
                    return
                time.sleep(0.1)
            self._stop_xvfb()
        raise Failure("Xvfb did not start")

    def _stop_xvfb(self):
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait(5)
            self.xvfb = None

    def _server_ready(self):
        # This Wine names its server's folder in the prefix's "wineserver" file.
        st = self.prefix.stat()
        name = f"server-{st.st_dev:x}-{st.st_ino:x}"
        marker = self.prefix / "wineserver"
        tmp = Path(os.environ.get("TMPDIR", "/tmp"))
        dirs = [tmp / f".wine-{os.getuid()}"]
        if marker.exists():
            dirs.insert(0, tmp / marker.read_text().strip())
        return any((d / name / "socket").exists() for d in dirs)

    def _start_server(self):
        # A persistent server keeps Wine's services up between the many short
        # runs (probe, reg) and keeps volatile keys alive.
        self.server = subprocess.Popen(["wineserver", "-f", "-p"], env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.poll_until(self._server_ready, 15, "wineserver socket")
        # One run through files first: the processes Wine starts for the first
        # program (services, the desktop) must not inherit the serving probe's pipes.
        first = run(["wine", str(self.probe_exe)], self.env, 120, check_rc=False)
        # Wine 10 runs 32-bit programs in 64-bit processes (WoW64), switching
        # to 32-bit code segments, which a kernel that runs 64-bit user code
        # only refuses (dmesg: "IA-32 emulation off"): nothing 32-bit starts.
        if b'"main"' not in first.stdout and is_i386(self.probe_exe):
            raise Unsupported("this machine cannot run 32-bit Windows programs: its kernel "
                              "runs 64-bit user code only, which Wine's WoW64 mode needs; "
                              f"Wine said: {first.stderr.decode(errors='replace').strip()[-300:]}")

    def _stop_server(self):
        if self.server is not None:
            run(["wineserver", "-k"], self.env, 30, check_rc=False)
            try:
                self.server.wait(15)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait(5)
            self.server = None

    def _stop_wine(self):
        for app in self.apps:
            app.stop()
        self.apps = []
        self._stop_probe()
        self._stop_server()

    def restart_wine(self):
        """Ends every program of the prefix and Wine's desktop with them, so that
        what is started next sees settings the desktop reads once (Wine 10
        takes the monitors' DPI there)."""
        self._stop_wine()
        self._start_server()

    def close(self):
        self._stop_wine()
        self._stop_xvfb()

    # Waiting

    def poll_until(self, predicate, timeout, what, interval=0.05):
        deadline = time.monotonic() + timeout
        while True:
            value = predicate()
            if value:
                return value
            if time.monotonic() > deadline:
                raise Failure(f"timed out after {timeout} s waiting for {what}")
            time.sleep(interval)

    def wait_for(self, predicate, timeout, what):
        """Probes until predicate(State) is true; returns that State."""
        deadline = time.monotonic() + timeout
        while True:
            st = self.probe()
            if predicate(st):
                return st
            if time.monotonic() > deadline:
                raise Failure(f"timed out after {timeout} s waiting for {what}")
            time.sleep(0.1)

    # Reading

    def probe(self):
        text = self._ask_probe(f"state {self.main_class}")
        self.last_probe = text
        try:
            return State(json.loads(text))
        except ValueError:
            raise Failure(f"probe printed no JSON: {text[:500]!r}")

    def _ask_probe(self, request, timeout=30):
        """One request to the serving probe; it is started on first use, so
        Wine's process start is paid once per group, not once per reading."""
        if self.probe_proc is None or self.probe_proc.poll() is not None:
            self.probe_proc = subprocess.Popen(
                ["wine", str(self.probe_exe), "--serve"], env=self.env, stdin=subprocess.PIPE,
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True)
        proc = self.probe_proc
        try:
            proc.stdin.write(request.encode() + b"\n")
            proc.stdin.flush()
        except OSError:
            self._stop_probe()
            raise Failure("probe ended")
        data = b""
        deadline = time.monotonic() + timeout
        fd = proc.stdout.fileno()
        while not (data.endswith(b"\nEND\n") or data == b"END\n"):
            left = deadline - time.monotonic()
            ready = select.select([fd], [], [], max(left, 0))[0] if left > 0 else []
            chunk = os.read(fd, 65536) if ready else b""
            if not chunk:
                self._stop_probe()
                raise Failure(f"probe gave no answer to {request!r} within {timeout} s"
                              if not ready else "probe ended")
            data += chunk.replace(b"\r", b"")
        return data[:-4].decode("utf-8", errors="replace")

    def _stop_probe(self):
        proc, self.probe_proc = self.probe_proc, None
        if proc is None:
            return
        try:
            proc.stdin.write(b"quit\n")
            proc.stdin.close()
            proc.wait(5)
        except (OSError, subprocess.TimeoutExpired):
            try:
                os.killpg(proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            proc.wait(5)
        proc.stdout.close()

    def screenshot(self, name):
        path = self.shots / f"{name}.png"
        try:
            run(["import", "-window", "root", str(path)], self.env, 30)
        except Failure as e:
            print(f"  no screenshot: {e}", flush=True)
        return path

    # Registry

    def reg_set_binary(self, key, data, value="ButtonAssign"):
        run(["wine", "reg", "add", key, "/v", value, "/t", "REG_BINARY", "/d", bytes(data).hex(),
             "/f"], self.env, 60)

    def reg_set_string(self, key, text, value="ButtonAssign"):
        run(["wine", "reg", "add", key, "/v", value, "/t", "REG_SZ", "/d", text, "/f"], self.env,
            60)

    def reg_get(self, key, value="ButtonAssign"):
        """Returns (type, bytes or text) or None when the value does not exist."""
        subkey = key.split("\\", 1)[1]
        got = json.loads(self._ask_probe(f"reg {subkey}|{value}"))
        if got is None:
            return None
        data = bytes.fromhex(got["hex"])
        kind = {1: "REG_SZ", 3: "REG_BINARY"}.get(got["type"], str(got["type"]))
        if kind == "REG_SZ":
            return kind, data.split(b"\0")[0].decode("cp932")
        return kind, data

    def reg_record(self, key=MAPLE_KEY):
        """The stored record as bytes; fails unless it is a REG_BINARY value."""
        got = self.reg_get(key)
        check(got is not None, f"no ButtonAssign under {key}")
        check_eq(got[0], "REG_BINARY", f"type of ButtonAssign under {key}")
        return got[1]

    def reg_delete(self, key):
        run(["wine", "reg", "delete", key, "/f"], self.env, 60, check_rc=False)

    def make_volatile(self, subkey):
        """Creates HKCU\\subkey as a volatile key, so nothing lasting can be created below it."""
        check(self.volatile_exe is not None, "no volatile_key.exe given")
        p = run(["wine", str(self.volatile_exe), subkey], self.env, 60, check_rc=False)
        check(p.returncode == 0, f"volatile key {subkey}: {p.stdout!r} {p.stderr!r}")

    # Folders and the settings file

    def new_folder(self, name):
        """A new folder holding a copy of the program."""
        folder = self.work / "runs" / self.scenario / name
        if folder.exists():
            shutil.rmtree(folder)
        folder.mkdir(parents=True)
        shutil.copy2(self.exe, folder / self.exe.name)
        return folder

    @staticmethod
    def write_ini(folder, text):
        (Path(folder) / "Padloom.ini").write_bytes(text.replace("\n", "\r\n").encode("cp932"))

    @staticmethod
    def read_ini(folder):
        path = Path(folder) / "Padloom.ini"
        return path.read_bytes().decode("cp932") if path.exists() else None

    # Running and driving

    def launch(self, folder, *args, env=None):
        """Starts the program in folder; env adds to the session's environment."""
        folder = Path(folder)
        log = open(folder / "wine.log", "wb")
        proc = subprocess.Popen(["wine", str(folder / self.exe.name), *args], cwd=str(folder),
                                env=dict(self.env, **(env or {})), stdout=log,
                                stderr=subprocess.STDOUT, start_new_session=True)
        app = App(self, folder, proc, log)
        self.apps.append(app)
        return app

    def xdo(self, *args, timeout=15):
        return run(["xdotool", *map(str, args)], self.env, timeout)

    def x_window(self, title_part, timeout=10):
        """The X window id of a visible top-level window whose title contains title_part."""
        def find():
            p = run(["xdotool", "search", "--onlyvisible", "--name", title_part], self.env, 10,
                    check_rc=False)
            ids = p.stdout.decode().split()
            return ids[-1] if ids else None
        return self.poll_until(find, timeout, f"X window '{title_part}'")

    def focus(self, title_part="Vyne Player"):
        """Gives the X input focus to a window; Wine's DirectInput keyboard reads only then."""
        xid = self.x_window(title_part)
        self.xdo("windowfocus", "--sync", xid)
        return xid

    def click_at(self, x, y):
        # No --sync: it waits for ever when the pointer is already there.
        self.xdo("mousemove", x, y)
        time.sleep(0.05)
        self.xdo("click", "1")
        time.sleep(0.15)

    def click(self, control):
        """Clicks the middle of a control as the probe reported it."""
        self.click_at(control["x"] + control["width"] // 2, control["y"] + control["height"] // 2)

    def press(self, *keys, hold=0.1):
        """Presses and releases each key in turn, held long enough to span a 20 ms tick."""
        for key in keys:
            self.xdo("keydown", key)
            time.sleep(hold)
            self.xdo("keyup", key)
            time.sleep(hold)

    def wait_box(self, timeout=10, caption=None):
        def has_box(st):
            return any(caption is None or b["caption"] == caption for b in st.boxes)
        st = self.wait_for(has_box, timeout, f"message box {caption or ''}")
        return next(b for b in st.boxes if caption is None or b["caption"] == caption)

    def answer(self, box, button_id):
        button = next((b for b in box["buttons"] if b["id"] == button_id), None)
        check(button is not None, f"box {box['caption']!r} has no button {button_id}")
        self.click(button)
        self.wait_for(lambda st: all(b["hwnd"] != box["hwnd"] for b in st.boxes), 10,
                      "message box closed")

    # Scenarios

    def reset(self):
        for app in self.apps:
            app.stop()
        self.apps = []
        self.reg_delete(VENDOR_KEY)

    def run_scenario(self, fn):
        self.scenario = fn.__name__
        started = time.monotonic()
        try:
            self.reset()
            fn(self)
            self.screenshot(self.scenario)
            print(f"PASS {self.scenario} ({time.monotonic() - started:.1f} s)", flush=True)
            return True
        except Exception as e:
            shot = self.screenshot(self.scenario + "-failed")
            print(f"FAIL {self.scenario} ({time.monotonic() - started:.1f} s): {e}", flush=True)
            if not isinstance(e, Failure):
                traceback.print_exc()
            print(f"  screenshot: {shot}", flush=True)
            print(f"  last probe output:\n{self.last_probe}", flush=True)
            for app in self.apps:
                app.log.flush()
                log = (app.folder / "wine.log").read_bytes()[-2000:]
                if log:
                    print(f"  program output:\n{log.decode(errors='replace')}", flush=True)
            return False
        finally:
            for app in self.apps:
                app.stop()
            self.apps = []


def parse_args(argv=None):
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True, help="the program under test")
    ap.add_argument("--probe", required=True, help="probe.exe")
    ap.add_argument("--volatile-key", help="volatile_key.exe")
    ap.add_argument("--work", required=True, help="a folder of this group's own")
    ap.add_argument("--template", required=True, help="the prepared template prefix")
    ap.add_argument("--only", action="append", help="run only these scenarios")
    return ap.parse_args(argv)


def main(scenarios, argv=None):
    args = parse_args(argv)
    chosen = [f for f in scenarios if not args.only or f.__name__ in args.only]
    started = time.monotonic()
    results = []
    try:
        with Session(args) as s:
            for fn in chosen:
                results.append(s.run_scenario(fn))
    except Unsupported as e:
        print(f"SKIPPED {len(chosen)} scenarios: {e}", flush=True)
        sys.exit(SKIPPED)
    failed = results.count(False)
    print(f"{len(results) - failed} passed, {failed} failed "
          f"({time.monotonic() - started:.1f} s)", flush=True)
    sys.exit(1 if failed or not results else 0)


# Helpers for the tool's own scenarios


def start_tool(s, folder=None, ini=None, env=None):
    """Launches the tool from a new folder (or the given one) and waits for its
    window; ini is text saved as Shift-JIS, or bytes saved as they are."""
    folder = folder or s.new_folder("tool")
    if isinstance(ini, bytes):
        (Path(folder) / "Padloom.ini").write_bytes(ini)
    elif ini is not None:
        s.write_ini(folder, ini)
    app = s.launch(folder, env=env)
    return app, app.wait_shown()


def show_page(s, page):
    """Clicks a tab (0 gamepad, 1 keyboard) and waits until the tool shows that page."""
    st = s.probe()
    s.click(st.tab["items"][page])
    return s.wait_for(lambda st: st.tab["selected"] == page, 10, f"page {page} shown")


def select_slot(s, row, slot):
    """Clicks a slot's radio button on the shown page and focuses the window again."""
    s.click(s.probe().slot(row, slot))
    return s.wait_for(lambda st: st.slot(row, slot).get("checked") == 1, 10,
                      f"slot {ROWS[row]}{slot} checked")


def expect_captions(st, expected, what):
    """expected: rows of three captions, or a dict row letter -> three captions."""
    got = st.captions()
    if isinstance(expected, dict):
        for letter, caps in expected.items():
            check_eq(got[ROWS.index(letter)], list(caps), f"{what}, row {letter}")
    else:
        check_eq(got, [list(r) for r in expected], what)


def rc_texts():
    """The tool's texts as res/padloom.rc holds them: {"LANG_X, SUBLANG_Y": {"IDS_...": text}},
    one entry per LANGUAGE block with a STRINGTABLE."""
    tables, language, table = {}, None, None
    for line in (REPO / "res" / "padloom.rc").read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith("LANGUAGE "):
            language = line[len("LANGUAGE "):]
        elif line == "STRINGTABLE":
            table = tables.setdefault(language, {})
        elif line == "END":
            table = None
        elif table is not None and line.startswith("IDS_"):
            name, text = line.split(None, 1)
            table[name] = text[1:-1].replace('""', '"')
    return tables


def text_ids():
    """The names of every text id in res/resource.h."""
    header = (REPO / "res" / "resource.h").read_text(encoding="utf-8")
    return [line.split()[1] for line in header.splitlines() if line.startswith("#define IDS_")]


E = "----"
DEFAULT_PAD = [[f"Button {i + 1}", E, E] for i in range(8)]
DEFAULT_KEYS = [["Shift", "Z", E], ["Esc", "Num 0", "X"], ["Space", "Enter", "C"], ["A", E, E],
                ["S", E, E], ["D", E, E], ["Q", E, E], ["W", E, E]]


def dpi_scale(value, dpi):
    """A 96-DPI pixel value at a DPI, rounded as MulDiv rounds."""
    return (value * dpi + 48) // 96


# The main window's own controls at 96 DPI: x, y, width, height in its client
# area (the combo box's height is its closed field's, set by its font), and
# the client area itself.
LAYOUT_96 = {900: (12, 12, 455, 255), 1033: (12, 275, 88, None), IDOK: (281, 275, 88, 21),
             IDCANCEL: (379, 275, 88, 21), 1040: (108, 270, 166, 28)}
CLIENT_96 = (474, 303)


def set_display_dpi(s, dpi):
    """The prefix's display scaling, as winecfg sets it; programs started from
    now on are told it, once Wine has started anew as after a log-on."""
    run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
         "REG_DWORD", "/d", str(dpi), "/f"], s.env, 60)
    s.restart_wine()


def inside(c, area):
    return (c["x"] >= area["x"] and c["y"] >= area["y"] and
            c["x"] + c["width"] <= area["x"] + area["width"] and
            c["y"] + c["height"] <= area["y"] + area["height"])


WINDOW_METRICS = r"HKCU\Control Panel\Desktop\WindowMetrics"
# The frame Windows 10 ships (its WindowMetrics values -15, -330 and -60).
WINDOWS_10_FRAME = {"BorderWidth": 1, "CaptionHeight": 22, "PaddedBorderWidth": 4}


@contextlib.contextmanager
def window_metrics(s, **pixels):
    """The prefix's frame metrics for the programs started inside the block,
    e.g. CaptionHeight=40: each value in pixels, stored as Windows stores it
    (a string of negative twips, -15 per pixel). The values before come back
    after the block, absent ones removed."""
    before = {name: s.reg_get(WINDOW_METRICS, name) for name in pixels}
    try:
        for name, value in pixels.items():
            s.reg_set_string(WINDOW_METRICS, str(-15 * value), name)
        yield
    finally:
        for name, got in before.items():
            if got is None:
                run(["wine", "reg", "delete", WINDOW_METRICS, "/v", name, "/f"], s.env, 60,
                    check_rc=False)
            else:
                s.reg_set_string(WINDOW_METRICS, got[1], name)


@contextlib.contextmanager
def window_manager(s):
    """openbox on the session's display for the programs started inside the
    block, as most Linux desktops run Wine under a window manager that draws
    the frames; ended after the block."""
    log = open(s.work / "openbox.log", "wb")
    wm = subprocess.Popen(["openbox", "--sm-disable"], env=s.env, stdin=subprocess.DEVNULL,
                          stdout=log, stderr=log, start_new_session=True)
    log.close()
    try:
        s.poll_until(lambda: wm.poll() is not None or b"window id" in run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], s.env, 10, check_rc=False).stdout,
            15, "openbox to manage the display")
        check(wm.poll() is None, f"openbox ended: {(s.work / 'openbox.log').read_text()}")
        yield
    finally:
        wm.terminate()
        try:
            wm.wait(10)
        except subprocess.TimeoutExpired:
            wm.kill()
            wm.wait(5)


def frame_extents(s, xid):
    """What the window manager's frame takes around an X window (left, right,
    top, bottom), or None where no manager frames it."""
    p = run(["xprop", "-id", str(xid), "_NET_FRAME_EXTENTS"], s.env, 10, check_rc=False)
    text = p.stdout.decode(errors="replace")
    if "=" not in text:
        return None
    return tuple(int(v) for v in text.split("=", 1)[1].split(","))


def expect_scaled_layout(st, dpi):
    """The main window's client area is its 96-DPI layout scaled to dpi, the tab
    and what lies below or right of it moved on only as far as the pages, the
    buttons' texts and the controller line's lines needed; every control lies
    inside the client area, and every page and page control inside the tab's
    display area. The outer size is the system's frame around that."""
    m = st.main
    top = {c["id"]: c for c in st.controls if c["parent"] == m["hwnd"]}
    tab, line, client = top[900], top[1040], m["client"]
    grow_x = tab["width"] - dpi_scale(455, dpi)
    grow_y = tab["height"] - dpi_scale(255, dpi)
    taller = line["height"] - dpi_scale(28, dpi)
    check(0 <= grow_x and 0 <= grow_y <= dpi_scale(120, dpi) and 0 <= taller,
          f"tab grown by {grow_x}, {grow_y}; line by {taller}")
    check_eq((client["width"], client["height"]),
             (dpi_scale(CLIENT_96[0], dpi) + grow_x, dpi_scale(CLIENT_96[1], dpi) + grow_y + taller),
             f"client area at {dpi}")
    cx, cy = client["x"], client["y"]
    for cid, (x, y, w, h) in LAYOUT_96.items():
        c = top[cid]
        dy = grow_y if cid != 900 else 0
        if cid in (IDOK, IDCANCEL):
            # Right-aligned with the tab; wider where their text needs it.
            got = (c["x"] + c["width"] - cx, c["y"] - cy, c["height"])
            want = (dpi_scale(x + w, dpi) + grow_x, dpi_scale(y, dpi) + dy, dpi_scale(h, dpi))
            check(c["width"] >= dpi_scale(w, dpi), f"control {cid} narrower than scaled")
        else:
            h = None if cid == 1040 else h  # its lines are counted in `taller`
            got = (c["x"] - cx, c["y"] - cy, c["width"]) + ((c["height"],) if h else ())
            want = (dpi_scale(x, dpi), dpi_scale(y, dpi) + dy,
                    dpi_scale(w, dpi) + (grow_x if cid == 900 else 0)) + \
                ((dpi_scale(h, dpi) + (grow_y if cid == 900 else 0),) if h else ())
        check(abs(got[0] - want[0]) <= 1 and got[1:] == want[1:],
              f"control {cid} at {dpi} DPI: expected {want}, got {got}")
        check(inside(c, client), f"control {cid} outside the client area: {c} / {client}")
    display = st.tab["display"]
    check(display is not None and inside(display, tab), f"display area {display} / {tab}")
    for p in st.pages():
        check(inside(p, display), f"page {p} outside the display area {display}")
        for c in (c for c in st.controls if c["parent"] == p["hwnd"]):
            check(inside(c, display),
                  f"page control {c['id']} ({c['text']!r}) outside the display area: "
                  f"{c} / {display}")


def choose_edition(s, index):
    """Opens the edition combo box and clicks an item, as the user does."""
    st = s.probe()
    s.click(st.combo)
    st = s.wait_for(lambda st: st.combo["list"], 10, "edition list dropped down")
    lst = st.combo["list"]
    h = lst["item_height"]
    # The list's client area starts one border pixel inside its window.
    s.click_at(lst["x"] + lst["width"] // 2, lst["y"] + 1 + (index - lst["top"]) * h + h // 2)


def close_box(s):
    """What the title bar's close box does: Alt+F4 gives the same WM_SYSCOMMAND close.
    No window manager runs on the test display, so there is no drawn close box."""
    s.focus()
    s.xdo("key", "alt+F4")
