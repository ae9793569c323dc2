// What a screen reader learns of the tool's controls, read inside its process:
// Wine serves Active Accessibility to no other process. oleacc is loaded
// only when asked, so that a scenario can see whether the tool loaded it.
#include "accessible_reader.h"

#include <windows.h>

#include <ole2.h>

#include <oleacc.h>

#include <cstdio>
#include <string>

#include "double_state.h"

namespace dd {
namespace {

struct Oleacc {
    decltype(&AccessibleObjectFromWindow) fromWindow;
    decltype(&AccessibleObjectFromEvent) fromEvent;
    decltype(&CreateStdAccessibleObject) standard;
    decltype(&SysFreeString) freeString;
};

template <typename Fn>
Fn Entry(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Oleacc* Load() {
    static Oleacc calls = {};
    if (!calls.fromWindow) {
        HMODULE oleacc = LoadLibraryExA("oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        HMODULE oleaut = LoadLibraryExA("oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!oleacc || !oleaut)
            return nullptr;
        calls.fromWindow = Entry<decltype(calls.fromWindow)>(oleacc, "AccessibleObjectFromWindow");
        calls.fromEvent = Entry<decltype(calls.fromEvent)>(oleacc, "AccessibleObjectFromEvent");
        calls.standard = Entry<decltype(calls.standard)>(oleacc, "CreateStdAccessibleObject");
        calls.freeString = Entry<decltype(calls.freeString)>(oleaut, "SysFreeString");
    }
    return &calls;
}

std::string Utf8(const wchar_t* text) {
    if (!text)
        return "";
    char buffer[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
    return buffer;
}

// "PREFIXrole=R PREFIXstate=0xS", and the name where asked for.
std::string Describe(IAccessible* object, VARIANT child, const char* prefix, bool named) {
    VARIANT role = {};
    VARIANT state = {};
    object->get_accRole(child, &role);
    object->get_accState(child, &state);
    char text[96];
    std::snprintf(text, sizeof text, "%srole=%ld %sstate=0x%08lX", prefix,
                  role.vt == VT_I4 ? role.lVal : -1L, prefix, state.vt == VT_I4 ? state.lVal : 0L);
    std::string line = text;
    if (named) {
        BSTR name = nullptr;
        const HRESULT got = object->get_accName(child, &name);
        line += " name=" +
                (got == S_OK ? Utf8(name) : "<" + Hex(static_cast<std::uint32_t>(got)) + ">");
        Load()->freeString(name);
    }
    return line;
}

std::string Handle(HWND window) {
    return std::to_string(reinterpret_cast<UINT_PTR>(window));
}

BOOL CALLBACK LogControl(HWND control, LPARAM) {
    const Oleacc* calls = Load();
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    std::string line = "accessible window=" + Handle(control) +
                       " parent=" + Handle(GetParent(control)) +
                       " id=" + std::to_string(GetDlgCtrlID(control) & 0xFFFF);
    // The standard object, as oleacc makes it without asking the control:
    // what the tool's object must agree with but for the name.
    IAccessible* standard = nullptr;
    if (SUCCEEDED(calls->standard(control, OBJID_CLIENT, __uuidof(IAccessible),
                                  reinterpret_cast<void**>(&standard)))) {
        line += " " + Describe(standard, self, "standard-", false);
        standard->Release();
    }
    IAccessible* object = nullptr;
    const HRESULT got = calls->fromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object));
    if (FAILED(got)) {
        Log(line + " failed=" + Hex(static_cast<std::uint32_t>(got)));
        return TRUE;
    }
    Log(line + " " + Describe(object, self, "", true));
    object->Release();
    return TRUE;
}

void CALLBACK NameChanged(HWINEVENTHOOK, DWORD, HWND control, LONG object, LONG child, DWORD,
                          DWORD) {
    std::string line = "namechange window=" + Handle(control) +
                       " id=" + std::to_string(GetDlgCtrlID(control) & 0xFFFF) +
                       " object=" + std::to_string(object) + " child=" + std::to_string(child);
    IAccessible* found = nullptr;
    VARIANT which = {};
    if (Load() && SUCCEEDED(Load()->fromEvent(control, static_cast<DWORD>(object),
                                              static_cast<DWORD>(child), &found, &which))) {
        line += " " + Describe(found, which, "", true);
        found->Release();
    }
    Log(line);
}

}  // namespace

void LogAccessible(void* window) {
    // Before the first read: a tool that never met a reader has not loaded it.
    Log(std::string("accessible oleacc-loaded=") + (GetModuleHandleA("oleacc.dll") ? "1" : "0"));
    if (window && Load())
        EnumChildWindows(static_cast<HWND>(window), LogControl, 0);
    Log("accessible end");
}

void WatchNameChanges() {
    // Out of context on the tool's thread, the one reading commands: the
    // events come as it takes its messages, under Wine 8 and 10 alike.
    static HWINEVENTHOOK hook = nullptr;
    if (!hook)
        hook =
            SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, NameChanged,
                            GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    Log(std::string("watching names") + (hook ? "" : " failed"));
}

}  // namespace dd
