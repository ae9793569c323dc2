// Reads the state of the running tool from outside and prints it as one JSON
// object on stdout. It only looks: no clicks, no keys, no text changes. Texts
// are read in their wide form, so they come right whatever the code page of
// the tool or the probe, and are printed as UTF-8.
//
// probe.exe [window class]   (default "Config_WindowClass"); see main for --serve.
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const UINT kTimeoutMs = 2000;

std::string WideToUtf8(const wchar_t* wide) {
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    return utf8;
}

std::string Quote(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// A hung tool must not hang the probe: every message to it is bounded, and
// after one has timed out the rest of the reading does without answers.
bool ToolHung = false;

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, bool* ok = nullptr) {
    DWORD_PTR result = 0;
    LRESULT sent = 0;
    if (!ToolHung) {
        sent =
            SendMessageTimeoutW(hwnd, msg, wparam, lparam, SMTO_ABORTIFHUNG, kTimeoutMs, &result);
        ToolHung = sent == 0 && GetLastError() == ERROR_TIMEOUT;
    }
    if (ok != nullptr) {
        *ok = sent != 0;
    }
    return static_cast<LRESULT>(result);
}

std::string WindowText(HWND hwnd) {
    wchar_t buf[1024] = {};
    bool ok = false;
    Ask(hwnd, WM_GETTEXT, sizeof buf / sizeof buf[0], reinterpret_cast<LPARAM>(buf), &ok);
    if (!ok) {
        GetWindowTextW(hwnd, buf, sizeof buf / sizeof buf[0]);
    }
    return WideToUtf8(buf);
}

std::string ClassOf(HWND hwnd) {
    char buf[256] = {};
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

std::string Handle(HWND hwnd) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llu",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return buf;
}

std::string RectFields(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    char buf[128];
    std::snprintf(buf, sizeof buf, "\"x\": %ld, \"y\": %ld, \"width\": %ld, \"height\": %ld",
                  r.left, r.top, r.right - r.left, r.bottom - r.top);
    return buf;
}

bool IsClass(HWND hwnd, const char* name) {
    return lstrcmpiA(ClassOf(hwnd).c_str(), name) == 0;
}

struct Collected {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<Collected*>(param)->windows.push_back(hwnd);
    return TRUE;
}

std::string ControlJson(HWND hwnd) {
    std::string cls = ClassOf(hwnd);
    std::string out =
        "{\"hwnd\": " + Handle(hwnd) + ", \"parent\": " + Handle(GetParent(hwnd)) +
        ", \"class\": " + Quote(cls) + ", \"id\": " + std::to_string(GetDlgCtrlID(hwnd) & 0xFFFF) +
        ", \"text\": " + Quote(WindowText(hwnd)) +
        ", \"visible\": " + (IsWindowVisible(hwnd) ? "true" : "false") +
        ", \"enabled\": " + (IsWindowEnabled(hwnd) ? "true" : "false") + ", " + RectFields(hwnd);
    if (lstrcmpiA(cls.c_str(), "Button") == 0) {
        out += ", \"checked\": " + std::to_string(Ask(hwnd, BM_GETCHECK, 0, 0));
    }
    return out + "}";
}

// Tab items and the display area live in the tool's memory, so they are read
// through a buffer placed in its process.
class ToolBuffer {
  public:
    static constexpr SIZE_T kSize = 4096;

    explicit ToolBuffer(HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_ != nullptr) {
            at_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        }
    }
    ~ToolBuffer() {
        if (at_ != nullptr) {
            VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        }
        if (process_ != nullptr) {
            CloseHandle(process_);
        }
    }
    ToolBuffer(const ToolBuffer&) = delete;
    ToolBuffer& operator=(const ToolBuffer&) = delete;

    bool Ok() const { return at_ != nullptr; }
    // The address at an offset, as the tool sees it.
    LPARAM At(SIZE_T offset) const { return reinterpret_cast<LPARAM>(at_ + offset); }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        return WriteProcessMemory(process_, at_ + offset, data, size, nullptr) != 0;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        return ReadProcessMemory(process_, at_ + offset, data, size, nullptr) != 0;
    }

  private:
    HANDLE process_ = nullptr;
    char* at_ = nullptr;
};

std::string TabItemsJson(HWND tab, LRESULT count, const ToolBuffer& buffer) {
    std::string items = "[";
    for (LRESULT i = 0; buffer.Ok() && i < count && i < 16; ++i) {
        RECT r = {};
        if (Ask(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), buffer.At(0))) {
            buffer.Read(0, &r, sizeof r);
        }
        POINT corner = {r.left, r.top};
        ClientToScreen(tab, &corner);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(buffer.At(1024));
        item.cchTextMax = 1024;
        wchar_t text[1024] = {};
        if (buffer.Write(512, &item, sizeof item) &&
            Ask(tab, TCM_GETITEMW, static_cast<WPARAM>(i), buffer.At(512))) {
            buffer.Read(1024, text, sizeof text - sizeof text[0]);
        }
        char buf[160];
        std::snprintf(buf, sizeof buf, "\"x\": %ld, \"y\": %ld, \"width\": %ld, \"height\": %ld",
                      corner.x, corner.y, r.right - r.left, r.bottom - r.top);
        items += std::string(i > 0 ? ", " : "") + "{\"text\": " + Quote(WideToUtf8(text)) + ", " +
                 buf + "}";
    }
    return items + "]";
}

// The tab's display area (TCM_ADJUSTRECT of its client area), on the screen.
std::string DisplayJson(HWND tab, const ToolBuffer& buffer) {
    RECT area = {};
    GetClientRect(tab, &area);
    bool ok = buffer.Ok() && buffer.Write(0, &area, sizeof area);
    if (ok) {
        Ask(tab, TCM_ADJUSTRECT, FALSE, buffer.At(0), &ok);
    }
    if (!ok || !buffer.Read(0, &area, sizeof area)) {
        return "null";
    }
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&area), 2);
    char buf[128];
    std::snprintf(buf, sizeof buf, "{\"x\": %ld, \"y\": %ld, \"width\": %ld, \"height\": %ld}",
                  area.left, area.top, area.right - area.left, area.bottom - area.top);
    return buf;
}

std::string TabJson(HWND tab) {
    LRESULT count = Ask(tab, TCM_GETITEMCOUNT, 0, 0);
    const ToolBuffer buffer(tab);
    return "{\"hwnd\": " + Handle(tab) +
           ", \"selected\": " + std::to_string(Ask(tab, TCM_GETCURSEL, 0, 0)) +
           ", \"count\": " + std::to_string(count) +
           ", \"items\": " + TabItemsJson(tab, count, buffer) +
           ", \"display\": " + DisplayJson(tab, buffer) + "}";
}

std::string ComboJson(HWND combo) {
    LRESULT count = Ask(combo, CB_GETCOUNT, 0, 0);
    std::string items = "[";
    for (LRESULT i = 0; i < count && i < 64; ++i) {
        // Wine passes list texts between processes only in their wide form.
        wchar_t wide[512] = {};
        DWORD_PTR len = 0;
        if (SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG,
                                kTimeoutMs, &len) &&
            len < 512) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, kTimeoutMs,
                                &ignored);
        }
        char utf8[1536] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
        items += (i > 0 ? ", " : "") + Quote(utf8);
    }
    items += "]";
    // The dropped-down list is a top-level window of its own.
    std::string list = "null";
    if (Ask(combo, CB_GETDROPPEDSTATE, 0, 0)) {
        HWND lb = nullptr;
        while ((lb = FindWindowExA(nullptr, lb, "ComboLBox", nullptr)) != nullptr) {
            if (IsWindowVisible(lb)) {
                list = "{" + RectFields(lb) +
                       ", \"item_height\": " + std::to_string(Ask(lb, LB_GETITEMHEIGHT, 0, 0)) +
                       ", \"top\": " + std::to_string(Ask(lb, LB_GETTOPINDEX, 0, 0)) + "}";
                break;
            }
        }
    }
    return "{\"hwnd\": " + Handle(combo) +
           ", \"selected\": " + std::to_string(Ask(combo, CB_GETCURSEL, 0, 0)) +
           ", \"items\": " + items + ", \"list\": " + list + ", " + RectFields(combo) + "}";
}

struct Boxes {
    DWORD self;
    std::vector<HWND> found;
    std::vector<HWND> all;
};

BOOL CALLBACK CollectBox(HWND hwnd, LPARAM param) {
    Boxes* boxes = reinterpret_cast<Boxes*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != boxes->self && IsClass(hwnd, "#32770") && IsWindowVisible(hwnd)) {
        boxes->found.push_back(hwnd);
    }
    if (pid != boxes->self) {
        boxes->all.push_back(hwnd);
    }
    return TRUE;
}

std::string BoxJson(HWND box) {
    Collected kids;
    EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&kids));
    std::string texts = "[";
    std::string buttons = "[";
    for (HWND kid : kids.windows) {
        std::string text = WindowText(kid);
        if (IsClass(kid, "Button")) {
            if (buttons.size() > 1) {
                buttons += ", ";
            }
            buttons += ControlJson(kid);
        } else if (IsClass(kid, "Static") && !text.empty()) {
            texts += (texts.size() > 1 ? ", " : "") + Quote(text);
        }
    }
    return "{\"hwnd\": " + Handle(box) + ", \"owner\": " + Handle(GetWindow(box, GW_OWNER)) +
           ", \"caption\": " + Quote(WindowText(box)) + ", \"texts\": " + texts +
           "], \"buttons\": " + buttons + "], " + RectFields(box) + "}";
}

// The main window's DPI awareness (0 unaware, 1 system, 2 per monitor; -1
// where the system cannot tell) and its DPI, as the tool sees them.
std::string DpiJson(HWND hwnd) {
    using ContextOf = HANDLE(WINAPI*)(HWND);
    using AwarenessOf = int(WINAPI*)(HANDLE);
    using DpiOf = UINT(WINAPI*)(HWND);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto context = reinterpret_cast<ContextOf>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    auto dpi =
        reinterpret_cast<DpiOf>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    const int aware = context != nullptr && awareness != nullptr ? awareness(context(hwnd)) : -1;
    return ", \"awareness\": " + std::to_string(aware) +
           ", \"dpi\": " + std::to_string(dpi != nullptr ? static_cast<int>(dpi(hwnd)) : 0);
}

std::string Snapshot(const char* window_class) {
    ToolHung = false;
    std::string out = "{\"screen\": {\"width\": " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) +
                      ", \"height\": " + std::to_string(GetSystemMetrics(SM_CYSCREEN)) + "}";

    HWND main_window = FindWindowA(window_class, nullptr);
    if (main_window == nullptr) {
        out +=
            ", \"main\": null, \"controls\": [], \"tab\": null, \"combo\": null, \"focus\": null";
    } else {
        RECT client = {};
        GetClientRect(main_window, &client);
        POINT origin = {0, 0};
        ClientToScreen(main_window, &origin);
        out += ", \"main\": {\"hwnd\": " + Handle(main_window) +
               ", \"class\": " + Quote(ClassOf(main_window)) +
               ", \"title\": " + Quote(WindowText(main_window)) +
               ", \"visible\": " + (IsWindowVisible(main_window) ? "true" : "false") + ", " +
               RectFields(main_window) + ", \"client\": {\"x\": " + std::to_string(origin.x) +
               ", \"y\": " + std::to_string(origin.y) +
               ", \"width\": " + std::to_string(client.right) +
               ", \"height\": " + std::to_string(client.bottom) + "}" + DpiJson(main_window) + "}";

        Collected kids;
        EnumChildWindows(main_window, CollectChild, reinterpret_cast<LPARAM>(&kids));
        std::string controls = "[";
        HWND tab = nullptr;
        HWND combo = nullptr;
        for (HWND kid : kids.windows) {
            if (controls.size() > 1) {
                controls += ",\n  ";
            }
            controls += ControlJson(kid);
            if (tab == nullptr && IsClass(kid, WC_TABCONTROLA)) {
                tab = kid;
            }
            if (combo == nullptr && IsClass(kid, "ComboBox")) {
                combo = kid;
            }
        }
        out += ",\n \"controls\": " + controls + "]";
        out += ",\n \"tab\": " + (tab != nullptr ? TabJson(tab) : std::string("null"));
        out += ",\n \"combo\": " + (combo != nullptr ? ComboJson(combo) : std::string("null"));

        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        DWORD thread = GetWindowThreadProcessId(main_window, nullptr);
        if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) {
            out += ",\n \"focus\": {\"hwnd\": " + Handle(info.hwndFocus) +
                   ", \"class\": " + Quote(ClassOf(info.hwndFocus)) +
                   ", \"id\": " + std::to_string(GetDlgCtrlID(info.hwndFocus) & 0xFFFF) +
                   ", \"active\": " + Handle(info.hwndActive) + "}";
        } else {
            out += ",\n \"focus\": null";
        }
    }

    Boxes boxes = {GetCurrentProcessId(), {}, {}};
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&boxes));
    std::string list = "[";
    for (HWND box : boxes.found) {
        list += (list.size() > 1 ? ",\n  " : "") + BoxJson(box);
    }
    // Every top-level window of other processes, for the record when a test fails.
    std::string tops = "[";
    for (HWND top : boxes.all) {
        DWORD pid = 0;
        GetWindowThreadProcessId(top, &pid);
        tops += std::string(tops.size() > 1 ? ", " : "") + "{\"class\": " + Quote(ClassOf(top)) +
                ", \"title\": " + Quote(WindowText(top)) + ", \"pid\": " + std::to_string(pid) +
                ", \"visible\": " + (IsWindowVisible(top) ? "true" : "false") + "}";
    }
    out += ",\n \"boxes\": " + list + "],\n \"top_level\": " + tops +
           "],\n \"hung\": " + (ToolHung ? "true" : "false") + "}\n";
    return out;
}

// A value under HKEY_CURRENT_USER as {"type": n, "hex": "..."}, or null.
std::string RegistryValue(const std::string& subkey, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return "null\n";
    }
    BYTE data[4096];
    DWORD size = sizeof data;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) {
        return "null\n";
    }
    std::string hex;
    for (DWORD i = 0; i < size; ++i) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02x", data[i]);
        hex += buf;
    }
    return "{\"type\": " + std::to_string(type) + ", \"hex\": \"" + hex + "\"}\n";
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

// probe.exe [CLASS]: one reading. probe.exe --serve: a reading per request
// line, so that a test pays Wine's process start once; each answer ends with
// a line "END". Requests: "state CLASS", "reg SUBKEY|VALUE", "quit".
int main(int argc, char** argv) {
    // Rectangles in the screen's own pixels, as the tool (per-monitor aware)
    // and xdotool see them, at any display scaling; system-aware where the
    // system has no per-monitor awareness.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    auto perMonitor = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (perMonitor == nullptr || !perMonitor(reinterpret_cast<HANDLE>(-4))) {
        SetProcessDPIAware();
    }
    // The text goes out as written: UTF-8, with plain line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2 || std::strcmp(argv[1], "--serve") != 0) {
        Print(Snapshot(argc > 1 ? argv[1] : "Config_WindowClass"));
        return 0;
    }
    // Unbuffered: Wine may wait to fill a whole buffer from a pipe.
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    char line[1024];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        std::string request(line);
        while (!request.empty() && (request.back() == '\n' || request.back() == '\r')) {
            request.pop_back();
        }
        if (request.rfind("state ", 0) == 0) {
            Print(Snapshot(request.substr(6).c_str()));
        } else if (request.rfind("reg ", 0) == 0) {
            size_t bar = request.find('|');
            Print(bar == std::string::npos
                      ? std::string("null\n")
                      : RegistryValue(request.substr(4, bar - 4), request.substr(bar + 1)));
        } else if (request == "quit") {
            return 0;
        } else {
            Print("null\n");
        }
        Print("END\n");
    }
    return 0;
}
