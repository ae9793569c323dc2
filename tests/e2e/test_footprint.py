"""The shipped program is small and imports only Windows' own DLLs; DirectInput
and winmm are loaded at run time, so a machine without them still starts it."""
import argparse
import subprocess
import sys
from pathlib import Path

LIMIT = 150 * 1024
# DLLs that every Windows installation has in its system folder.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll",
               "msvcrt.dll", "shell32.dll", "ole32.dll", "comdlg32.dll", "ntdll.dll"}
FORBIDDEN = {"dinput8.dll", "winmm.dll"}


def imported_dlls(exe):
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(exe)], stdout=subprocess.PIPE,
                         check=True, timeout=60).stdout.decode(errors="replace")
    return sorted(line.split(":", 1)[1].strip() for line in out.splitlines()
                  if "DLL Name:" in line)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    args, _ = ap.parse_known_args()
    exe = Path(args.exe)
    size = exe.stat().st_size
    dlls = imported_dlls(exe)
    print(f"{exe.name}: {size} bytes ({size / 1024:.1f} KB); imports {', '.join(dlls)}")
    failed = False
    if size >= LIMIT:
        print(f"FAIL size: {size} bytes, limit {LIMIT}")
        failed = True
    lowered = {d.lower() for d in dlls}
    if lowered & FORBIDDEN:
        print(f"FAIL imports {sorted(lowered & FORBIDDEN)}")
        failed = True
    if lowered - SYSTEM_DLLS:
        print(f"FAIL imports DLLs that are not Windows' own: {sorted(lowered - SYSTEM_DLLS)}")
        failed = True
    print("FAIL" if failed else "PASS")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
