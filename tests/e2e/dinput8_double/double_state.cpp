#include "double_state.h"

#include <windows.h>

#include <dbt.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

#include "accessible_reader.h"
#include "di_guids.h"

namespace dd {
namespace {

struct TimedLine {
    std::uint64_t dueMs;
    std::string line;
};

bool initialised = false;
std::FILE* logFile = nullptr;
bool logReads = false;
std::string commandPath;
std::uint64_t commandOffset = 0;
std::uint64_t startMs = 0;
std::vector<bool> attached;  // by controller index
std::map<int, std::string> productNames;
bool background = false;
HWND window = nullptr;
bool notifyDevnodes = true;
bool notifyInterface = false;
std::uint32_t sequence = 0;
std::vector<Failure> failures;
std::vector<TimedLine> timed;
std::vector<Device*> devices;

// Wine reads "/tmp/x" as a path on the current drive; Z: is the Unix root.
std::string WindowsPath(const char* path) {
    std::string p(path);
    if (!p.empty() && p[0] == '/')
        p = "Z:" + p;
    return p;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w) {
        if (w[0] == '#')
            break;
        words.push_back(w);
    }
    return words;
}

long Number(const std::string& text) {
    return std::strtol(text.c_str(), nullptr, 0);
}

void Queue(Device& device, std::uint32_t offset, std::uint32_t data) {
    if (!device.acquired)
        return;  // unseen, as input while the device is not acquired
    if (device.queue.size() >= device.bufferSize) {
        device.overflow = true;  // DirectInput keeps the oldest and drops the rest
        return;
    }
    device.queue.push_back({offset, data});
}

std::uint32_t Press(const std::string& how) {
    return how == "down" ? 0x80u : 0u;
}

// K of "controllerK", or -1.
int ControllerIndexOf(const std::string& name) {
    const std::string stem = "controller";
    if (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0)
        return -1;
    for (std::size_t i = stem.size(); i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return -1;
    return static_cast<int>(Number(name.substr(stem.size())));
}

bool Detached(const std::string& name) {
    int n = ControllerIndexOf(name);
    return n >= 0 && n < ControllerSlots() && !attached[static_cast<std::size_t>(n)];
}

std::string Joined(const std::vector<std::string>& w, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < w.size(); ++i)
        text += (text.empty() ? "" : " ") + w[i];
    return text;
}

// Device objects of the controller keep this record and go dead with it.
void Unplug(const std::string& name) {
    for (std::size_t i = 0; i < devices.size(); ++i) {
        Device* d = devices[i];
        if (d->name != name)
            continue;
        d->unplugged = true;
        d->lostWhileAcquired = d->acquired;
        d->acquired = false;
        d->queue.clear();
        d->overflow = false;
        devices.erase(devices.begin() + static_cast<std::ptrdiff_t>(i));
        return;
    }
}

struct Message {
    HWND window;
    WPARAM what;
    LPARAM detail;
    UINT message;
};

// A FreeLibrary must not unmap the code that a thread of ours returns to.
void PinSelf() {
    static bool pinned = false;
    HMODULE self = nullptr;
    if (!pinned)
        pinned = GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
            reinterpret_cast<LPCWSTR>(&PinSelf), &self);
}

// The frame Windows documents for the window's styles at a DPI, as "WxH".
std::string DocumentedFrame(HWND w, UINT dpi) {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjust = reinterpret_cast<Adjust>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT r = {0, 0, 0, 0};
    const DWORD style = static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE));
    if (!adjust || !adjust(&r, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

DWORD WINAPI SendFromAnotherThread(void* parameter) {
    Message* m = static_cast<Message*>(parameter);
    RECT* suggested = reinterpret_cast<RECT*>(m->detail);
    if (m->message == WM_DPICHANGED && suggested->right == suggested->left) {
        // As Windows 10 1703 and later: the size is the window's answer to
        // WM_GETDPISCALEDSIZE, where it gives one.
        SIZE size = {0, 0};
        const UINT dpi = LOWORD(m->what);
        const LRESULT given = SendMessageW(m->window, 0x02E4, dpi, reinterpret_cast<LPARAM>(&size));
        Log("dpi answer window=" + std::to_string(reinterpret_cast<UINT_PTR>(m->window)) +
            " dpi=" + std::to_string(dpi) + " result=" + std::to_string(given) +
            " size=" + std::to_string(size.cx) + "x" + std::to_string(size.cy) +
            " frame=" + DocumentedFrame(m->window, dpi));
        suggested->right = suggested->left + size.cx;
        suggested->bottom = suggested->top + size.cy;
    }
    SendMessageW(m->window, m->message, m->what, m->detail);
    delete m;
    return 0;
}

// What Windows does when the user picks a taller caption or a high-contrast
// theme, from inside the process (Wine keeps each process's frame metrics to
// itself): the metrics, the window's frame recomputed around its outer
// rectangle, then WM_SETTINGCHANGE, sent as the system's broadcast is.
DWORD WINAPI ChangeFrame(void* parameter) {
    const int caption = static_cast<int>(reinterpret_cast<INT_PTR>(parameter));
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    BOOL done = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    metrics.iCaptionHeight = caption;
    done = done && SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS,
                 reinterpret_cast<LPARAM>(L"WindowMetrics"));
    Log("framed window=" + std::to_string(reinterpret_cast<UINT_PTR>(window)) +
        " caption=" + std::to_string(caption) + (done ? "" : " failed"));
    return 0;
}

// DBT_DEVNODES_CHANGED is posted. Windows refuses to post the messages whose
// lParam is a pointer (ERROR_MESSAGE_SYNC_ONLY), so those are sent from
// another thread, as the system's broadcast is: the window procedure gets
// them when the tool's thread next retrieves messages, not inside the read
// that took the command.
bool Deliver(WPARAM what, LPARAM detail, UINT message = WM_DEVICECHANGE) {
    if (message == WM_DEVICECHANGE && !(what & 0x8000))
        return PostMessageW(window, WM_DEVICECHANGE, what, detail) != 0;
    PinSelf();
    Message* m = new Message{window, what, detail, message};
    HANDLE thread = CreateThread(nullptr, 0, SendFromAnotherThread, m, 0, nullptr);
    if (!thread) {
        delete m;
        return false;
    }
    CloseHandle(thread);
    return true;
}

void Notify(WPARAM what, LPARAM detail, const std::string& note) {
    char text[32];
    std::snprintf(text, sizeof text, " wParam=0x%04X", static_cast<unsigned>(what));
    if (!window) {
        Log(std::string("notify window=none") + text + note + " not posted");
        return;
    }
    std::string line =
        "notify window=" + std::to_string(reinterpret_cast<UINT_PTR>(window)) + text + note;
    if (!Deliver(what, detail))
        line += " failed error=" + std::to_string(GetLastError());
    Log(line);
}

// Windows tells top-level windows that a device came or went; those that
// registered for HID interfaces also learn which one.
void Announce(int n, bool arrived) {
    if (notifyDevnodes)
        Notify(DBT_DEVNODES_CHANGED, 0, "");
    if (!notifyInterface)
        return;
    char path[128];
    std::snprintf(path, sizeof path,
                  "\\\\?\\HID#VID_1209&PID_5AD0#7&2a5f3c1&0&%04X#"
                  "{4d1e55b2-f16f-11cf-88cb-001111000030}",
                  static_cast<unsigned>(n));
    std::size_t length = std::strlen(path);
    std::size_t size =
        offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (length + 1) * sizeof(wchar_t);
    // The window reads it after Notify has returned; a test double may leak it.
    auto* b = static_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(std::calloc(1, size));
    b->dbcc_size = static_cast<DWORD>(size);
    b->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    b->dbcc_classguid = kHidInterface;
    wchar_t* name = reinterpret_cast<wchar_t*>(
        reinterpret_cast<unsigned char*>(b) + offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name));
    for (std::size_t i = 0; i <= length; ++i)
        name[i] = static_cast<wchar_t>(path[i]);
    Notify(arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(b),
           std::string(" name=") + path);
}

// Inside the tool's process, where its fonts are: how much room each
// control's text takes in the control's own font, on one line and broken into
// lines of the control's width, so that a test can tell a cut text.
BOOL CALLBACK MeasureControl(HWND control, LPARAM) {
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    RECT client = {};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    RECT line = {0, 0, 0, 0};
    DrawTextW(dc, text, -1, &line, DT_CALCRECT | DT_SINGLELINE);
    RECT lines = {0, 0, client.right, 0};
    DrawTextW(dc, text, -1, &lines, DT_CALCRECT | DT_WORDBREAK);
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(control, dc);
    char buffer[160];
    std::snprintf(buffer, sizeof buffer,
                  "measure id=%d style=0x%08lX width=%ld height=%ld line=%ldx%ld lines=%ld",
                  GetDlgCtrlID(control) & 0xFFFF,
                  static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE)), client.right,
                  client.bottom, line.right, line.bottom, lines.bottom);
    Log(buffer);
    return TRUE;
}

void Attach(const std::vector<std::string>& w, const std::string& line) {
    int n = -1;
    if (w.size() == 2 && ControllerIndexOf(w[1]) >= 0) {
        n = ControllerIndexOf(w[1]);
        if (!Detached(w[1])) {
            Log("unknown " + line);
            return;
        }
        attached[static_cast<std::size_t>(n)] = true;
    } else {
        n = ControllerSlots();
        attached.push_back(true);
        if (w.size() >= 2)
            productNames[n] = Joined(w, 1);
    }
    std::string name = "controller" + std::to_string(n);
    Unplug(name);  // events sent before it existed leave no trace: it arrives at rest
    Log("attached " + name + " product=" + ProductName(n));
    Announce(n, true);
}

void Detach(const std::vector<std::string>& w, const std::string& line) {
    int n = w.size() == 2 ? ControllerIndexOf(w[1]) : -1;
    if (n < 0 || n >= ControllerSlots() || !attached[static_cast<std::size_t>(n)]) {
        Log("unknown " + line);
        return;
    }
    attached[static_cast<std::size_t>(n)] = false;
    Unplug(w[1]);
    Log("detached " + w[1]);
    Announce(n, false);
}

void Apply(const std::vector<std::string>& w, const std::string& line);

void ApplyEvent(const std::vector<std::string>& w, const std::string& line) {
    const std::string& verb = w[0];
    if ((verb == "button" || verb == "axis") && Detached(w.size() >= 4 ? w[3] : "controller0")) {
        Log("dropped " + line);
    } else if (verb == "key" && w.size() >= 3) {
        Device& k = DeviceNamed("keyboard");
        std::uint32_t code = static_cast<std::uint32_t>(Number(w[1])) & 0xFF;
        std::uint32_t data = Press(w[2]);
        k.keys[code] = static_cast<std::uint8_t>(data);
        Queue(k, code, data);
    } else if (verb == "button" && w.size() >= 3) {
        Device& c = DeviceNamed(w.size() >= 4 ? w[3] : "controller0");
        std::uint32_t n = static_cast<std::uint32_t>(Number(w[1])) & 31;
        std::uint32_t data = Press(w[2]);
        c.buttons[n] = static_cast<std::uint8_t>(data);
        Queue(c, 48 + n, data);
    } else if (verb == "axis" && w.size() >= 3) {
        Device& c = DeviceNamed(w.size() >= 4 ? w[3] : "controller0");
        std::int32_t v = static_cast<std::int32_t>(Number(w[2]));
        if (w[1] == "y") {
            c.axisY = v;
            Queue(c, 4, static_cast<std::uint32_t>(v));
        } else {
            c.axisX = v;
            Queue(c, 0, static_cast<std::uint32_t>(v));
        }
    } else if (verb == "mouse" && w.size() >= 4 && w[1] == "button") {
        Device& m = DeviceNamed("mouse");
        std::uint32_t n = static_cast<std::uint32_t>(Number(w[2])) & 7;
        m.buttons[n] = static_cast<std::uint8_t>(Press(w[3]));
        Queue(m, 12 + n, Press(w[3]));
    } else if (verb == "mouse" && w.size() >= 4 && w[1] == "move") {
        Device& m = DeviceNamed("mouse");
        Queue(m, 0, static_cast<std::uint32_t>(Number(w[2])));
        Queue(m, 4, static_cast<std::uint32_t>(Number(w[3])));
    } else {
        Log("unknown " + line);
    }
}

void Apply(const std::vector<std::string>& w, const std::string& line) {
    if (w.empty())
        return;
    const std::string& verb = w[0];
    if (verb == "controllers" && w.size() >= 2) {
        attached.assign(static_cast<std::size_t>(Number(w[1])), true);
    } else if (verb == "fail" && w.size() >= 3) {
        Failure f;
        std::size_t next = 3;
        if (w[1] == "create") {
            f.target = w[2];
            f.operation = "CreateDevice";
        } else if (w.size() >= 3) {
            f.target = w[1];
            f.operation = w[2];
        }
        f.code = static_cast<std::int32_t>(0x80004005u);
        if (w.size() > next)
            f.code = static_cast<std::int32_t>(std::strtoul(w[next].c_str(), nullptr, 0));
        if (w.size() > next + 1)
            f.remaining = static_cast<int>(Number(w[next + 1]));
        failures.push_back(f);
    } else if (verb == "pass" && w.size() >= 3) {
        // Withdraws scripted failures, e.g. once a scenario has seen them.
        for (Failure& f : failures)
            if (f.target == w[1] && f.operation == w[2])
                f.remaining = 0;
    } else if (verb == "at" && w.size() >= 3) {
        std::string rest = line.substr(line.find(w[1]) + w[1].size());
        timed.push_back({static_cast<std::uint64_t>(Number(w[1])), rest});
    } else if (verb == "background") {
        background = true;
        for (Device* d : devices) {
            d->acquired = false;
            d->queue.clear();
            d->overflow = false;
        }
    } else if (verb == "foreground") {
        background = false;
    } else if (verb == "attach") {
        Attach(w, line);
    } else if (verb == "detach") {
        Detach(w, line);
    } else if (verb == "name" && w.size() >= 3 && ControllerIndexOf(w[1]) >= 0) {
        productNames[ControllerIndexOf(w[1])] = Joined(w, 2);
    } else if (verb == "notify" && w.size() == 2 &&
               (w[1] == "devnodes" || w[1] == "interface" || w[1] == "both" || w[1] == "none")) {
        notifyDevnodes = w[1] == "devnodes" || w[1] == "both";
        notifyInterface = w[1] == "interface" || w[1] == "both";
    } else if (verb == "dpi" && (w.size() == 6 || w.size() == 4)) {
        // What Windows sends a per-monitor-aware window moved to a monitor of
        // another DPI: the DPI in both words, a suggested rectangle (with
        // only its corner given, of the size the window asks for).
        const WORD dpi = static_cast<WORD>(Number(w[1]));
        const LONG left = static_cast<LONG>(Number(w[2]));
        const LONG top = static_cast<LONG>(Number(w[3]));
        RECT* suggested =
            new RECT{left, top, w.size() == 6 ? static_cast<LONG>(Number(w[4])) : left,
                     w.size() == 6 ? static_cast<LONG>(Number(w[5])) : top};
        std::string note =
            "dpi window=" + std::to_string(reinterpret_cast<UINT_PTR>(window)) + " dpi=" + w[1];
        if (!window ||
            !Deliver(MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(suggested), WM_DPICHANGED))
            note += " failed";
        Log(note);
    } else if (verb == "frame" && w.size() == 2) {
        PinSelf();
        HANDLE thread =
            window ? CreateThread(nullptr, 0, ChangeFrame,
                                  reinterpret_cast<void*>(static_cast<INT_PTR>(Number(w[1]))), 0,
                                  nullptr)
                   : nullptr;
        if (thread)
            CloseHandle(thread);
        else
            Log("framed window=none failed");
    } else if (verb == "measure") {
        if (window)
            EnumChildWindows(window, MeasureControl, 0);
        Log("measured");
    } else if (verb == "accessible") {
        LogAccessible(window);
    } else if (verb == "watch" && w.size() == 2 && w[1] == "names") {
        WatchNameChanges();
    } else if (verb == "mark") {
        // Only logged: shows the driver that a later device read has begun.
    } else {
        ApplyEvent(w, line);
    }
}

void ReadCommands() {
    if (commandPath.empty())
        return;
    HANDLE file = CreateFileA(commandPath.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(commandOffset);
    std::string text;
    if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
            text.append(chunk, got);
    }
    CloseHandle(file);
    std::size_t end = text.rfind('\n');
    if (end == std::string::npos)
        return;  // only a partly written line so far
    commandOffset += end + 1;
    std::istringstream lines(text.substr(0, end + 1));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> w = Words(line);
        if (w.empty())
            continue;
        Log("command " + line);
        Apply(w, line);
    }
}

}  // namespace

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

void Initialise() {
    if (initialised)
        return;
    initialised = true;
    startMs = GetTickCount64();
    if (const char* p = std::getenv("PADLOOM_DI_LOG"))
        logFile = std::fopen(WindowsPath(p).c_str(), "ab");
    if (const char* p = std::getenv("PADLOOM_DI_COMMANDS"))
        commandPath = WindowsPath(p);
    if (const char* p = std::getenv("PADLOOM_DI_LOG_READS"))
        logReads = p[0] == '1';
    if (const char* p = std::getenv("PADLOOM_DI_SCRIPT")) {
        if (std::FILE* script = std::fopen(WindowsPath(p).c_str(), "rb")) {
            char buffer[512];
            while (std::fgets(buffer, sizeof buffer, script)) {
                std::string line(buffer);
                while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                    line.pop_back();
                Apply(Words(line), line);
            }
            std::fclose(script);
        } else {
            Log(std::string("script missing ") + p);
        }
    }
}

void Log(const std::string& line) {
    if (!logFile)
        return;
    std::fputs(line.c_str(), logFile);
    std::fputc('\n', logFile);
    std::fflush(logFile);
}

bool LogReads() {
    return logReads;
}

void Pump() {
    std::uint64_t now = GetTickCount64() - startMs;
    for (std::size_t i = 0; i < timed.size();) {
        if (timed[i].dueMs <= now) {
            std::string line = timed[i].line;
            timed.erase(timed.begin() + static_cast<std::ptrdiff_t>(i));
            Log("timed" + line);
            Apply(Words(line), line);
        } else {
            ++i;
        }
    }
    ReadCommands();
}

bool Background() {
    return background;
}

std::int32_t FailureFor(const std::string& target, const std::string& operation) {
    for (Failure& f : failures) {
        if (f.target != target || f.remaining == 0)
            continue;
        if (f.operation != operation && operation.rfind(f.operation + ":", 0) != 0)
            continue;
        if (f.remaining > 0)
            --f.remaining;
        return f.code;
    }
    return 0;
}

int ControllerSlots() {
    return static_cast<int>(attached.size());
}

bool ControllerAttached(int n) {
    return n >= 0 && n < ControllerSlots() && attached[static_cast<std::size_t>(n)];
}

std::string ProductName(int n) {
    auto named = productNames.find(n);
    std::string name =
        named != productNames.end() ? named->second : "Test Pad " + std::to_string(n);
    return name.substr(0, MAX_PATH - 1);  // DIDEVICEINSTANCEA's field, with its terminator
}

Device& DeviceNamed(const std::string& name) {
    for (Device* d : devices)
        if (d->name == name)
            return *d;
    Device* d = new Device;
    d->name = name;
    d->kind = name == "keyboard" ? Kind::Keyboard
              : name == "mouse"  ? Kind::Mouse
                                 : Kind::Controller;
    devices.push_back(d);
    return *d;
}

void NoteWindow(void* w) {
    window = static_cast<HWND>(w);
}

std::uint32_t Sequence() {
    return ++sequence;
}

}  // namespace dd
