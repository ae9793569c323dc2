"""The shipped program is small and imports only Windows' own DLLs; DirectInput
and winmm are loaded at run time, so a machine without them still starts it.
It is also built for its tree's architecture and carries the release's version
resource, in every language it lists. Holds for the 64-bit and the 32-bit
program alike; scripts/package runs the same checks before it ships them."""
import argparse
import struct
import subprocess
import sys
from pathlib import Path

LIMIT = 150 * 1024
# DLLs that every Windows installation has in its system folder.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll",
               "msvcrt.dll", "shell32.dll", "ole32.dll", "comdlg32.dll", "ntdll.dll", "uxtheme.dll"}
FORBIDDEN = {"dinput8.dll", "winmm.dll"}
# objdump's name for each architecture's executables; the x86-64 objdump reads
# both.
FORMATS = {"x86-64": "pei-x86-64", "i386": "pei-i386"}


def headers(exe):
    return subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(exe)], stdout=subprocess.PIPE,
                          check=True, timeout=60).stdout.decode(errors="replace")


def imported_dlls(exe, text=None):
    text = headers(exe) if text is None else text
    return sorted(line.split(":", 1)[1].strip() for line in text.splitlines()
                  if "DLL Name:" in line)


def file_format(text):
    lines = [line for line in text.splitlines() if "file format" in line]
    return lines[0].split("file format", 1)[1].strip() if lines else "unknown"


def version_resource(data):
    """The VS_VERSIONINFO found in an executable's bytes, as {"file": (a, b, c,
    d), "product": (...), "tables": {"040904b0": {name: text}}, "translations":
    ["040904b0", ...]}, or None."""
    root = data.find("VS_VERSION_INFO\0".encode("utf-16-le")) - 6
    if root < 0:
        return None

    def aligned(pos):  # every node and value starts on a 32-bit boundary
        return root + (pos - root + 3) // 4 * 4

    def node(pos):
        length, value_length, is_text = struct.unpack_from("<3H", data, pos)
        end = pos + 6
        while data[end:end + 2] != b"\0\0":
            end += 2
        name = data[pos + 6:end].decode("utf-16-le")
        value_pos = aligned(end + 2)
        value = data[value_pos:value_pos + value_length * (2 if is_text else 1)]
        children, child = [], aligned(value_pos + len(value))
        while child < pos + length:
            child_length = struct.unpack_from("<H", data, child)[0]
            if child_length == 0:
                break
            children.append(node(child))
            child = aligned(child + child_length)
        return name, value, children

    _, fixed, blocks = node(root)
    if len(fixed) < 24 or struct.unpack_from("<I", fixed)[0] != 0xFEEF04BD:
        return None
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", fixed, 8)
    found = {"file": (file_ms >> 16, file_ms & 0xFFFF, file_ls >> 16, file_ls & 0xFFFF),
             "product": (product_ms >> 16, product_ms & 0xFFFF, product_ls >> 16,
                         product_ls & 0xFFFF),
             "tables": {}, "translations": []}
    for name, _, children in blocks:
        if name == "StringFileInfo":
            for table, _, strings in children:
                found["tables"][table.lower()] = {
                    key: value.decode("utf-16-le").rstrip("\0") for key, value, _ in strings}
        elif name == "VarFileInfo":
            for _, value, _ in children:
                words = struct.unpack(f"<{len(value) // 2}H", value)
                found["translations"] += [f"{lang:04x}{page:04x}"
                                          for lang, page in zip(words[::2], words[1::2])]
    return found


def version_problems(data, version):
    found = version_resource(data)
    if found is None:
        return ["no version resource"]
    problems = []
    number = tuple(int(part) for part in version.split(".")) + (0,)
    for which in ("file", "product"):
        if found[which] != number:
            problems.append(f"{which} version {found[which]}, expected {number}")
    if "040904b0" not in found["tables"]:
        problems.append(f"no English string table, only {sorted(found['tables'])}")
    for table, strings in sorted(found["tables"].items()):
        for name, expected in (("ProductName", "Padloom"), ("FileVersion", version),
                               ("ProductVersion", version)):
            if strings.get(name) != expected:
                problems.append(f"{table} {name} {strings.get(name)!r}, expected {expected!r}")
        if not strings.get("FileDescription"):
            problems.append(f"{table} has no FileDescription")
    # Explorer shows a string table only when the Translation entry lists it.
    if sorted(found["translations"]) != sorted(found["tables"]):
        problems.append(f"Translation lists {found['translations']}, string tables are "
                        f"{sorted(found['tables'])}")
    return problems


def problems(exe, machine, version, text=None):
    """Everything wrong with exe as a shipped program, one line each."""
    exe = Path(exe)
    text = headers(exe) if text is None else text
    size = exe.stat().st_size
    found = []
    if size >= LIMIT:
        found.append(f"size: {size} bytes, limit {LIMIT}")
    lowered = {d.lower() for d in imported_dlls(exe, text)}
    if lowered & FORBIDDEN:
        found.append(f"imports {sorted(lowered & FORBIDDEN)}")
    if lowered - SYSTEM_DLLS:
        found.append(f"imports DLLs that are not Windows' own: {sorted(lowered - SYSTEM_DLLS)}")
    if file_format(text) != FORMATS[machine]:
        found.append(f"file format {file_format(text)}, expected {FORMATS[machine]}")
    return found + version_problems(exe.read_bytes(), version)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--machine", required=True, choices=sorted(FORMATS))
    ap.add_argument("--version", required=True, help="MAJOR.MINOR.PATCH, as in VERSION")
    args, _ = ap.parse_known_args()
    exe = Path(args.exe)
    size = exe.stat().st_size
    text = headers(exe)
    print(f"{exe.name}: {file_format(text)}, {size} bytes ({size / 1024:.1f} KB); imports "
          + ", ".join(imported_dlls(exe, text)))
    found = problems(exe, args.machine, args.version, text)
    for problem in found:
        print(f"FAIL {problem}")
    print("FAIL" if found else "PASS")
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
