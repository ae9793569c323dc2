"""The test-only dinput8.dll (dinput8_double/) in an end-to-end session:
installs it in the session's prefix, launches a program with it, feeds it
events through its command file and reads its call log.

Additive to driver.py: nothing there is changed; a scenario file parses its
own --dinput8 argument and hands the rest to driver.main.
"""

import argparse
import os
import time
from pathlib import Path

import driver
from driver import Failure, check

OVERRIDES = "mscoree,mshtml=;dinput8=n"
ENUM_BEGIN = "directinput EnumDevices class=4 flags=1 begin"

# DirectInput keyboard scan codes used by the scenarios.
DIK_ESCAPE, DIK_Q, DIK_RETURN, DIK_A, DIK_Z, DIK_X = 0x01, 0x10, 0x1C, 0x1E, 0x2C, 0x2D
DIK_SPACE, DIK_F1, DIK_F2, DIK_DELETE = 0x39, 0x3B, 0x3C, 0xD3

DLL = None


def parse(argv=None):
    """Takes --dinput8 PATH for this module and leaves the rest to driver.main."""
    global DLL
    ap = argparse.ArgumentParser(add_help=False)
    ap.add_argument("--dinput8", required=True, help="the test-only dinput8.dll")
    args, rest = ap.parse_known_args(argv)
    DLL = Path(args.dinput8).resolve()
    return rest


def system_folder(prefix):
    """The prefix's system directory as the double's programs see it: a 32-bit
    program in a 64-bit prefix finds its system DLLs in syswow64."""
    data = DLL.read_bytes()
    pe = int.from_bytes(data[0x3C:0x40], "little")
    i386 = int.from_bytes(data[pe + 4:pe + 6], "little") == 0x14C
    return Path(prefix) / "drive_c" / "windows" / ("syswow64" if i386 else "system32")


def install(s):
    """Puts the double in the prefix's system directory. The prefix's files are
    hard links to the shared template's, so the link is replaced, never written."""
    target = system_folder(s.prefix) / "dinput8.dll"
    data = DLL.read_bytes()
    if target.exists() and target.read_bytes() == data:
        return
    if target.exists() or target.is_symlink():
        target.unlink()
    target.write_bytes(data)


class Double:
    """The script, command file and call log of one program run."""

    def __init__(self, s, folder, script):
        self.s = s
        self.folder = Path(folder)
        self.script = self.folder / "di_script.txt"
        self.commands = self.folder / "di_commands.txt"
        self.log = self.folder / "di_calls.log"
        self.sent = 0
        self.marks = 0
        self.script.write_text("\n".join(script) + "\n")
        self.commands.write_text("")
        if self.log.exists():
            self.log.unlink()

    def launch(self, system=None):
        """Starts the session's program with the double and this run's files;
        system adds to the environment (a locale, say)."""
        install(self.s)
        saved = self.s.env
        env = dict(saved, **(system or {}))
        env["WINEDLLOVERRIDES"] = OVERRIDES
        env["PADLOOM_DI_SCRIPT"] = str(self.script)
        env["PADLOOM_DI_COMMANDS"] = str(self.commands)
        env["PADLOOM_DI_LOG"] = str(self.log)
        self.s.env = env
        try:
            return self.s.launch(self.folder)
        finally:
            self.s.env = saved

    # The call log

    def lines(self):
        if not self.log.exists():
            return []
        return self.log.read_text(errors="replace").splitlines()

    def calls(self, device=None):
        """Log lines other than the commands, optionally of one device."""
        out = [l for l in self.lines() if not l.startswith(("command ", "timed "))]
        if device is not None:
            out = [l for l in out if l.split(" ", 1)[0] == device]
        return out

    def wait_log(self, predicate, timeout, what):
        return self.s.poll_until(lambda: predicate(self.lines()), timeout, what, interval=0.02)

    # Driving

    def send(self, *lines, timeout=10):
        """Appends lines in one write, so they are read at the same device read
        (the same tick), and waits until the program's next read took them."""
        with open(self.commands, "a") as f:
            f.write("".join(l + "\n" for l in lines))
        self.sent += len(lines)
        want = self.sent
        self.wait_log(lambda ls: sum(l.startswith("command ") for l in ls) >= want, timeout,
                      f"the double to read {lines!r}")

    def ticks(self, n=1):
        """Returns once the program has begun at least n further device reads
        after the last command, so the tick that read it has been handled."""
        for _ in range(n):
            self.marks += 1
            self.send(f"mark {self.marks}")

    def press_button(self, n, pad="controller0", ticks=2):
        self.send(f"button {n} down {pad}")
        self.ticks(ticks)
        self.send(f"button {n} up {pad}")
        self.ticks(1)

    def press_key(self, code, ticks=2):
        self.send(f"key {code:#04x} down")
        self.ticks(ticks)
        self.send(f"key {code:#04x} up")
        self.ticks(1)

    # Plugging controllers in and out. Each change posts WM_DEVICECHANGE to
    # the program's window (see notify); the program then enumerates again.

    def attach(self, name=None):
        """Plugs in a new controller and returns its device name, 'controllerN'."""
        return self._change("attach" + (f" {name}" if name else ""), "attached").split()[1]

    def attach_again(self, k):
        """Plugs controller k in again, under its old instance GUID."""
        self._change(f"attach controller{k}", f"attached controller{k}")

    def detach(self, k):
        self._change(f"detach controller{k}", f"detached controller{k}")

    def plug_back_at_once(self, k):
        """Unplugs controller k and plugs it in again in one write, so within
        one tick: its instance GUID stays, its old device objects stay dead."""
        done = f"attached controller{k} "
        before = sum(l.startswith(done) for l in self.lines())
        self.send(f"detach controller{k}", f"attach controller{k}")
        self.wait_log(lambda ls: sum(l.startswith(done) for l in ls) > before, 5,
                      f"the double to plug controller{k} back")

    def name(self, k, text):
        """Controller k's product name from its next enumeration on."""
        self.send(f"name controller{k} {text}")

    def notify(self, mode):
        """What a change posts: 'devnodes', 'interface', 'both' or 'none'."""
        self.send(f"notify {mode}")

    def _change(self, command, done):
        """Sends the command and returns the double's line saying it happened
        (a refused one is logged 'unknown ...' and times out here)."""
        def changes(lines):
            return [l for l in lines if l == done or l.startswith(done + " ")]
        before = len(changes(self.lines()))
        self.send(command)
        return self.wait_log(lambda ls: len(changes(ls)) > before and changes(ls), 5,
                             f"the double to do {command!r}")[-1]

    def measure(self):
        """The tool's controls as the double measured them inside its process:
        [{'id', 'style', 'width', 'height', 'line': (w, h), 'lines'}]."""
        done = sum(l == "measured" for l in self.lines())
        self.send("measure")
        lines = self.wait_log(lambda ls: sum(l == "measured" for l in ls) > done and ls, 5,
                              "the measurements")
        last = len(lines) - 1 - lines[::-1].index("command measure")
        found = []
        for l in lines[last + 1:]:
            if l == "measured":
                break
            if l.startswith("measure "):
                f = dict(kv.split("=", 1) for kv in l.split()[1:])
                w, h = f["line"].split("x")
                found.append({"id": int(f["id"]), "style": int(f["style"], 16),
                              "width": int(f["width"]), "height": int(f["height"]),
                              "line": (int(w), int(h)), "lines": int(f["lines"])})
        return found

    def accessible(self):
        """The tool's controls as a screen reader finds them, read by the double
        inside the tool's process: ({hwnd: {'parent', 'id', 'role', 'state',
        'standard': (role, state) of the standard object, 'name'}}, whether
        oleacc.dll was loaded before this reading)."""
        done = sum(l == "accessible end" for l in self.lines())
        self.send("accessible")
        lines = self.wait_log(lambda ls: sum(l == "accessible end" for l in ls) > done and ls, 10,
                              "the accessible objects")
        last = len(lines) - 1 - lines[::-1].index("command accessible")
        found, loaded = {}, None
        for l in lines[last + 1:lines.index("accessible end", last)]:
            if l.startswith("accessible oleacc-loaded="):
                loaded = l.endswith("=1")
            elif l.startswith("accessible window="):
                head, _, name = l.partition(" name=")
                f = dict(kv.split("=", 1) for kv in head.split()[1:])
                check("failed" not in f, f"no accessible object: {l}")
                found[int(f["window"])] = {
                    "parent": int(f["parent"]), "id": int(f["id"]), "role": int(f["role"]),
                    "state": int(f["state"], 16), "name": name,
                    "standard": (int(f["standard-role"]), int(f["standard-state"], 16))}
        return found, loaded

    def watch_names(self):
        """From now on the double logs each name change the tool announces."""
        self.send("watch names")

    def name_changes(self):
        """The announced name changes so far: [{'window', 'id', 'object',
        'child', 'name'}], the name as a reader read it at the event."""
        changes = []
        for l in self.lines():
            if l.startswith("namechange "):
                head, _, name = l.partition(" name=")
                f = dict(kv.split("=", 1) for kv in head.split()[1:])
                changes.append({"window": int(f["window"]), "id": int(f["id"]),
                                "object": int(f["object"]), "child": int(f["child"]),
                                "name": name})
        return changes

    def enumerations(self):
        """How many controller enumerations the program has begun."""
        return sum(l == ENUM_BEGIN for l in self.lines())

    def wait_enumeration(self, before, timeout=5):
        """Waits until an enumeration begun after the first `before` has ended;
        returns the controllers that the latest ended one listed, e.g.
        ['controller0', 'controller2']."""
        def ended(lines):
            runs, listed, last, inside = 0, [], None, False
            for l in lines:
                if l == ENUM_BEGIN:
                    inside, listed = True, []
                elif inside and l.startswith("directinput EnumDevices callback "):
                    listed.append(l.split()[3])
                elif inside and l.startswith("directinput EnumDevices end"):
                    inside, runs, last = False, runs + 1, listed
            return [last] if runs > before else None
        return self.wait_log(ended, timeout, f"enumeration {before + 1} to end")[0]


def click(s, control):
    """driver's click, after moving the pointer away: `xdotool mousemove
    --sync` waits for a motion event that never comes when the pointer is
    already on the spot (message boxes of successive runs sit at the same
    place)."""
    s.xdo("mousemove", 0, 0)
    s.click(control)


def answer(s, box, button_id):
    s.xdo("mousemove", 0, 0)
    s.answer(box, button_id)


def open_sequence(calls):
    """The calls up to the first read, without the enumeration callbacks' own lines."""
    return [c for c in calls if " GetDeviceData" not in c and " Poll" not in c]


def result(line):
    """The hexadecimal result at the end of a log line ('... -> 0x00000000')."""
    return line.rsplit("-> ", 1)[1].split()[0]


class Grid:
    """What a page's slots should show: the tool's assignment rules, replayed."""

    def __init__(self, captions, cursor=0):
        self.cells = [row[:] for row in captions]
        self.cursor = cursor

    def assign(self, name):
        r, s = self.cursor % 8, self.cursor // 8
        if name is None:
            self.cells[r][s] = "----"
        else:
            for rr in range(8):
                for ss in range(3):
                    if (rr, ss) != (r, s) and self.cells[rr][ss] == name:
                        self.cells[rr][ss] = self.cells[r][s]
                        self.cells[r][s] = name
                        self.cursor = (self.cursor + 1) % 24
                        return
            self.cells[r][s] = name
        self.cursor = (self.cursor + 1) % 24

    def selected(self):
        return (self.cursor % 8, self.cursor // 8)


def check_page(st, grid, what):
    driver.check_eq(st.captions(), grid.cells, f"{what}: captions")
    driver.check_eq(st.checked_slots(), [grid.selected()], f"{what}: checked slot")
