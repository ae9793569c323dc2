#include "ui/accessible_name_win32.h"

#include <ole2.h>

#include <oleacc.h>

#include <new>

#include "input/system_library.h"
#include "ui/wide_text_win32.h"

namespace {

using CreateStdAccessibleObjectCall = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectCall = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using SysAllocStringLenCall = BSTR(WINAPI*)(const OLECHAR*, UINT);
using CoInitializeExCall = HRESULT(WINAPI*)(void*, DWORD);

// Looked up at the first request of a reader, so that a start without one
// loads nothing; kept for the process, as objects handed out may outlive any
// window. Windows' own DLLs, from the system directory like DirectInput.
struct AccessibilityCalls {
    bool tried;
    CreateStdAccessibleObjectCall createStandard;
    LresultFromObjectCall lresultFromObject;
    SysAllocStringLenCall allocString;
};
AccessibilityCalls Oleacc = {};

template <typename Call>
Call EntryPoint(const char* dll, const char* name) {
    HMODULE module = static_cast<HMODULE>(LoadSystemLibrary(dll));
    const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Call>(reinterpret_cast<void*>(found));
}

bool LoadAccessibility() {
    if (!Oleacc.tried) {
        Oleacc.tried = true;
        Oleacc.createStandard =
            EntryPoint<CreateStdAccessibleObjectCall>("oleacc.dll", "CreateStdAccessibleObject");
        Oleacc.lresultFromObject =
            EntryPoint<LresultFromObjectCall>("oleacc.dll", "LresultFromObject");
        Oleacc.allocString = EntryPoint<SysAllocStringLenCall>("oleaut32.dll", "SysAllocStringLen");
        // LresultFromObject hands the object to a reader in another process
        // by COM marshalling, which needs COM on the thread that owns the
        // object. Once for the process's one thread, never undone; a thread
        // already in COM keeps what it has.
        const CoInitializeExCall initialize =
            EntryPoint<CoInitializeExCall>("ole32.dll", "CoInitializeEx");
        if (initialize != nullptr) {
            initialize(nullptr, COINIT_APARTMENTTHREADED);
        }
    }
    return Oleacc.createStandard != nullptr && Oleacc.lresultFromObject != nullptr &&
           Oleacc.allocString != nullptr;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object with its own name replaced; every other call goes to
// it unchanged. IOleWindow is answered here rather than by the standard
// object, so that a client asking it for IAccessible comes back to this one.
class NamedAccessible final : public IAccessible, public IOleWindow {
  public:
    // Takes over the caller's reference to `standard`.
    NamedAccessible(IAccessible* standard, HWND control, AccessibleNameSource source,
                    std::uintptr_t key)
        : standard_(standard), control_(control), source_(source), key_(key) {}
    ~NamedAccessible() { standard_->Release(); }
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
        } else if (IsEqualIID(iid, __uuidof(IOleWindow))) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            this->~NamedAccessible();
            HeapFree(GetProcessHeap(), 0, this);
        }
        return static_cast<ULONG>(left);
    }

    // IOleWindow, as the standard object answers it.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (window == nullptr) {
            return E_INVALIDARG;
        }
        *window = control_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch. A call by DISPID runs through the standard object's type
    // information on this object, so it reaches the name given here too.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* wrongArgument) override {
        ITypeInfo* info = nullptr;
        if (FAILED(standard_->GetTypeInfo(0, locale, &info)) || info == nullptr) {
            return standard_->Invoke(id, iid, locale, flags, parameters, result, exception,
                                     wrongArgument);
        }
        const HRESULT answer = info->Invoke(static_cast<IAccessible*>(this), id, flags, parameters,
                                            result, exception, wrongArgument);
        info->Release();
        return answer;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) {
            return standard_->get_accName(child, name);
        }
        if (name == nullptr) {
            return E_INVALIDARG;
        }
        WideText text;
        source_(key_, text);
        *name = Oleacc.allocString(text.Get(), static_cast<UINT>(text.Length()));
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return standard_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

  private:
    LONG references_ = 1;
    IAccessible* const standard_;
    const HWND control_;
    const AccessibleNameSource source_;
    const std::uintptr_t key_;
};

// The answer to WM_GETOBJECT for the client object, or false to leave the
// request to the control (it then gets the standard object, unnamed).
bool AnswerNamed(HWND control, WPARAM wParam, AccessibleNameSource source, std::uintptr_t key,
                 LRESULT& answer) {
    if (!LoadAccessibility()) {
        return false;
    }
    IAccessible* standard = nullptr;
    if (FAILED(Oleacc.createStandard(control, OBJID_CLIENT, __uuidof(IAccessible),
                                     reinterpret_cast<void**>(&standard))) ||
        standard == nullptr) {
        return false;
    }
    void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(NamedAccessible));
    if (memory == nullptr) {
        standard->Release();
        return false;
    }
    IAccessible* named = new (memory) NamedAccessible(standard, control, source, key);
    // LresultFromObject takes references of its own: ours ends here, as
    // Microsoft's servers do it.
    answer = Oleacc.lresultFromObject(__uuidof(IAccessible), wParam, named);
    named->Release();
    // A positive value on success, an HRESULT (negative) on failure.
    return answer > 0;
}

// The controls named, each with the procedure it had. A plain subclass of
// the window procedure rather than SetWindowSubclass: comctl32 finds its
// subclass data with GetPropW on every message, which under Wine is a round
// trip to its server, for every paint of every slot. The table is small and
// filled once, so the look-up by handle costs nothing that shows.
struct NamedControl {
    HWND control;
    WNDPROC original;
    AccessibleNameSource source;
    std::uintptr_t key;
};
constexpr int kMostNamed = 64;
NamedControl Named[kMostNamed] = {};
int NamedCount = 0;

const NamedControl* Find(HWND control) {
    for (int i = 0; i < NamedCount; ++i) {
        if (Named[i].control == control) {
            return &Named[i];
        }
    }
    return nullptr;
}

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const NamedControl* named = Find(control);
    if (named == nullptr) {
        return DefWindowProcW(control, message, wParam, lParam);
    }
    // WM_GETOBJECT's object id is a DWORD: in 64 bits, lParam's upper half is
    // not to be looked at.
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
        LRESULT answer = 0;
        if (AnswerNamed(control, wParam, named->source, named->key, answer)) {
            return answer;
        }
    }
    return CallWindowProcW(named->original, control, message, wParam, lParam);
}

void OwnTextName(std::uintptr_t key, WideText& name) {
    name.AppendOwn(static_cast<TextId>(key), 0);
}

}  // namespace

bool NameControl(HWND control, AccessibleNameSource source, std::uintptr_t key) {
    if (control == nullptr || source == nullptr || NamedCount == kMostNamed ||
        Find(control) != nullptr) {
        return false;
    }
    // Entered before the procedure is replaced, which sends the control
    // nothing; a window procedure of another process cannot be replaced.
    NamedControl& named = Named[NamedCount];
    named = {control, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC)), source,
             key};
    if (named.original == nullptr) {
        return false;
    }
    ++NamedCount;
    if (SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NamedControlProc)) ==
        0) {
        named = {};
        --NamedCount;
        return false;
    }
    return true;
}

bool NameControl(HWND control, TextId name) {
    return NameControl(control, OwnTextName, name);
}
