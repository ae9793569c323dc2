// A scriptable stand-in for dinput8.dll, loaded by the real padloom.exe in
// end-to-end tests. It answers with DirectInput's own result codes and record
// layouts, and logs every call so a test can check what the tool asked for.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <dinput.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "double_state.h"
#include "di_guids.h"

namespace {

const GUID kIUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID kXAxis = {0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID kYAxis = {0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

int ControllerIndex(REFGUID guid) {
    GUID stem = ControllerGuid(0);
    if (std::memcmp(&guid, &stem, sizeof(GUID) - 1) != 0)
        return -1;
    return guid.Data4[7];
}

std::string Result(HRESULT hr) {
    return " -> " + dd::Hex(static_cast<std::uint32_t>(hr));
}

// Scripted failure of this call, if any, else the call's own result.
HRESULT Scripted(const std::string& target, const std::string& operation) {
    return static_cast<HRESULT>(dd::FailureFor(target, operation));
}

std::string FormatName(LPCDIDATAFORMAT format) {
    if (!format)
        return "null";
    char text[96];
    const char* known = "custom";
    if (format->dwNumObjs == 256 && format->dwDataSize == 256)
        known = "keyboard";
    if (format->dwNumObjs == 11 && format->dwDataSize == 20)
        known = "mouse2";
    if (format->dwNumObjs == 7 && format->dwDataSize == 16)
        known = "mouse";
    if (format->dwNumObjs == 44 && format->dwDataSize == 80)
        known = "joystick";
    std::snprintf(text, sizeof text, "%s objs=%lu size=%lu flags=%lu", known,
                  static_cast<unsigned long>(format->dwNumObjs),
                  static_cast<unsigned long>(format->dwDataSize),
                  static_cast<unsigned long>(format->dwFlags));
    return text;
}

std::string PropertyName(REFGUID property) {
    std::uintptr_t id = reinterpret_cast<std::uintptr_t>(&property);
    switch (id) {
        case 1:
            return "BUFFERSIZE";
        case 2:
            return "AXISMODE";
        case 4:
            return "RANGE";
        default:
            return "P" + std::to_string(id > 0xFFFF ? 0 : id);
    }
}

class Device final : public IDirectInputDevice8A {
  public:
    explicit Device(dd::Device& state) : state_(state), name_(state.name) {}

    STDMETHOD(QueryInterface)(REFIID, void** out) override {
        *out = nullptr;
        dd::Log(name_ + " QueryInterface" + Result(E_NOINTERFACE));
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
    STDMETHOD_(ULONG, Release)() override {
        ULONG left = refs_ > 0 ? --refs_ : 0;
        if (left == 0 && state_.acquired) {
            state_.acquired = false;
            state_.queue.clear();
        }
        dd::Log(name_ + " Release -> " + std::to_string(left));
        return left;
    }
    STDMETHOD(GetCapabilities)(LPDIDEVCAPS) override { return NotImpl("GetCapabilities"); }
    STDMETHOD(EnumObjects)
    (LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context, DWORD flags) override {
        HRESULT hr = Scripted(name_, "EnumObjects");
        dd::Log(name_ + " EnumObjects flags=" + std::to_string(flags) + " begin");
        if (hr == 0 && state_.kind == dd::Kind::Controller &&
            (flags == DIDFT_ALL || (flags & DIDFT_AXIS))) {
            for (int axis = 0; axis < 2; ++axis) {
                DIDEVICEOBJECTINSTANCEA object = {};
                object.dwSize = sizeof object;
                object.guidType = axis == 0 ? kXAxis : kYAxis;
                object.dwOfs = axis == 0 ? 0 : 4;
                object.dwType = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(axis);
                std::strcpy(object.tszName, axis == 0 ? "X Axis" : "Y Axis");
                BOOL more = callback(&object, context);
                dd::Log(name_ + " EnumObjects callback type=" + dd::Hex(object.dwType) + " -> " +
                        std::to_string(more));
                if (more == DIENUM_STOP)
                    break;
            }
        }
        dd::Log(name_ + " EnumObjects end" + Result(hr));
        return hr;
    }
    STDMETHOD(GetProperty)(REFGUID, LPDIPROPHEADER) override { return NotImpl("GetProperty"); }
    STDMETHOD(SetProperty)(REFGUID property, LPCDIPROPHEADER header) override {
        std::string prop = PropertyName(property);
        std::string line = name_ + " SetProperty prop=" + prop;
        HRESULT hr = Scripted(name_, "SetProperty:" + prop);
        if (!header) {
            hr = hr ? hr : DIERR_INVALIDPARAM;
            dd::Log(line + Result(hr));
            return hr;
        }
        line += " size=" + std::to_string(header->dwSize) +
                " header=" + std::to_string(header->dwHeaderSize) +
                " obj=" + dd::Hex(header->dwObj) + " how=" + std::to_string(header->dwHow);
        bool isRange = prop == "RANGE";
        if (isRange) {
            auto range = reinterpret_cast<LPCDIPROPRANGE>(header);
            line += " min=" + std::to_string(range->lMin) + " max=" + std::to_string(range->lMax);
        } else {
            line += " value=" + std::to_string(reinterpret_cast<LPCDIPROPDWORD>(header)->dwData);
        }
        if (hr == 0) {
            if (header->dwHeaderSize != sizeof(DIPROPHEADER) ||
                header->dwSize != (isRange ? sizeof(DIPROPRANGE) : sizeof(DIPROPDWORD))) {
                hr = DIERR_INVALIDPARAM;
            } else if (header->dwHow == DIPH_DEVICE && header->dwObj != 0) {
                hr = DIERR_INVALIDPARAM;
            } else if (isRange &&
                       (header->dwHow != DIPH_BYID || state_.kind != dd::Kind::Controller ||
                        (header->dwObj != (DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0)) &&
                         header->dwObj != (DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1))))) {
                hr = header->dwHow == DIPH_DEVICE ? DIERR_UNSUPPORTED : DIERR_OBJECTNOTFOUND;
            } else if (prop == "BUFFERSIZE") {
                if (state_.acquired) {
                    hr = DIERR_ACQUIRED;
                } else {
                    state_.bufferSize = reinterpret_cast<LPCDIPROPDWORD>(header)->dwData;
                }
            }
        }
        dd::Log(line + Result(hr));
        return hr;
    }
    STDMETHOD(Acquire)() override {
        dd::Pump();
        HRESULT hr = Scripted(name_, "Acquire");
        if (hr == 0) {
            if (state_.unplugged) {
                hr = DIERR_UNPLUGGED;
            } else if (!state_.dataFormatSet) {
                hr = DIERR_INVALIDPARAM;
            } else if (dd::Background()) {
                hr = DIERR_OTHERAPPHASPRIO;
            } else if (state_.acquired) {
                hr = DI_NOEFFECT;
            } else {
                state_.acquired = true;
                state_.queue.clear();
                state_.overflow = false;
            }
        }
        dd::Log(name_ + " Acquire" + Result(hr));
        return hr;
    }
    STDMETHOD(Unacquire)() override {
        HRESULT hr = Scripted(name_, "Unacquire");
        if (hr == 0) {
            hr = state_.acquired ? DI_OK : DI_NOEFFECT;
            state_.acquired = false;
            state_.queue.clear();
        }
        dd::Log(name_ + " Unacquire" + Result(hr));
        return hr;
    }
    STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override {
        dd::Pump();
        HRESULT hr = Scripted(name_, "GetDeviceState");
        if (hr == 0)
            hr = state_.acquired ? DI_OK : DIERR_NOTACQUIRED;
        if (hr == 0)
            hr = FillState(size, static_cast<unsigned char*>(data));
        dd::Log(name_ + " GetDeviceState size=" + std::to_string(size) + Result(hr));
        return hr;
    }
    STDMETHOD(GetDeviceData)
    (DWORD recordSize, LPDIDEVICEOBJECTDATA records, LPDWORD inOut, DWORD flags) override {
        dd::Pump();
        DWORD capacity = inOut ? *inOut : 0;
        HRESULT hr = Scripted(name_, "GetDeviceData");
        DWORD delivered = 0;
        if (hr == 0) {
            if (!inOut || recordSize < 16) {
                hr = DIERR_INVALIDPARAM;
            } else if (!state_.acquired) {
                hr = NotAcquired();
            } else if (state_.bufferSize == 0) {
                hr = DIERR_NOTBUFFERED;
            } else {
                std::size_t take = std::min<std::size_t>(capacity, state_.queue.size());
                for (std::size_t i = 0; i < take && records; ++i) {
                    DIDEVICEOBJECTDATA record = {};
                    record.dwOfs = state_.queue[i].offset;
                    record.dwData = state_.queue[i].data;
                    record.dwTimeStamp = GetTickCount();
                    record.dwSequence = dd::Sequence();
                    // Like DirectInput, step through the caller's buffer by the size it gave.
                    std::memcpy(reinterpret_cast<unsigned char*>(records) + i * recordSize, &record,
                                std::min<std::size_t>(recordSize, sizeof record));
                }
                delivered = static_cast<DWORD>(take);
                if (!(flags & DIGDD_PEEK)) {
                    state_.queue.erase(state_.queue.begin(),
                                       state_.queue.begin() + static_cast<std::ptrdiff_t>(take));
                }
                hr = state_.overflow ? DI_BUFFEROVERFLOW : DI_OK;
                if (!(flags & DIGDD_PEEK))
                    state_.overflow = false;
            }
        }
        if (inOut)
            *inOut = delivered;
        if (hr != 0 || delivered > 0 || dd::LogReads()) {
            std::string line = name_ + " GetDeviceData size=" + std::to_string(recordSize) +
                               " capacity=" + std::to_string(capacity) +
                               " flags=" + std::to_string(flags) + Result(hr) +
                               " count=" + std::to_string(delivered);
            for (DWORD i = 0; i < delivered && records; ++i) {
                auto record = reinterpret_cast<const DIDEVICEOBJECTDATA*>(
                    reinterpret_cast<const unsigned char*>(records) + i * recordSize);
                line += " " + std::to_string(record->dwOfs) + ":" + dd::Hex(record->dwData);
            }
            dd::Log(line);
        }
        return hr;
    }
    STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT format) override {
        HRESULT hr = Scripted(name_, "SetDataFormat");
        if (hr == 0) {
            if (!format)
                hr = DIERR_INVALIDPARAM;
            else if (state_.acquired)
                hr = DIERR_ACQUIRED;
            else
                state_.dataFormatSet = true;
        }
        dd::Log(name_ + " SetDataFormat format=" + FormatName(format) + Result(hr));
        return hr;
    }
    STDMETHOD(SetEventNotification)(HANDLE) override { return NotImpl("SetEventNotification"); }
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD flags) override {
        HRESULT hr = Scripted(name_, "SetCooperativeLevel");
        // The handle in decimal, as the probe prints it, so a test can
        // compare it with the main window.
        char text[64];
        std::snprintf(text, sizeof text, " window=%s%llu flags=%lu",
                      window != nullptr && !IsWindow(window) ? "invalid:" : "",
                      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
                      static_cast<unsigned long>(flags));
        if (hr == 0 && (flags & DISCL_FOREGROUND) && !IsWindow(window))
            hr = E_HANDLE;
        if (hr == 0)
            dd::NoteWindow(window);
        dd::Log(name_ + " SetCooperativeLevel" + text + Result(hr));
        return hr;
    }
    STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override {
        return NotImpl("GetObjectInfo");
    }
    STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA) override { return NotImpl("GetDeviceInfo"); }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return NotImpl("RunControlPanel"); }
    STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return NotImpl("Initialize"); }
    STDMETHOD(CreateEffect)(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) override {
        return NotImpl("CreateEffect");
    }
    STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override {
        return NotImpl("EnumEffects");
    }
    STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA, REFGUID) override { return NotImpl("GetEffectInfo"); }
    STDMETHOD(GetForceFeedbackState)(LPDWORD) override { return NotImpl("GetForceFeedbackState"); }
    STDMETHOD(SendForceFeedbackCommand)(DWORD) override {
        return NotImpl("SendForceFeedbackCommand");
    }
    STDMETHOD(EnumCreatedEffectObjects)
    (LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override {
        return NotImpl("EnumCreatedEffectObjects");
    }
    STDMETHOD(Escape)(LPDIEFFESCAPE) override { return NotImpl("Escape"); }
    STDMETHOD(Poll)() override {
        dd::Pump();
        HRESULT hr = Scripted(name_, "Poll");
        if (hr == 0)
            hr = state_.acquired ? DI_OK : NotAcquired();
        if (hr != 0 || dd::LogReads())
            dd::Log(name_ + " Poll" + Result(hr));
        return hr;
    }
    STDMETHOD(SendDeviceData)(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override {
        return NotImpl("SendDeviceData");
    }
    STDMETHOD(EnumEffectsInFile)(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) override {
        return NotImpl("EnumEffectsInFile");
    }
    STDMETHOD(WriteEffectToFile)(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) override {
        return NotImpl("WriteEffectToFile");
    }
    STDMETHOD(BuildActionMap)(LPDIACTIONFORMATA, LPCSTR, DWORD) override {
        return NotImpl("BuildActionMap");
    }
    STDMETHOD(SetActionMap)(LPDIACTIONFORMATA, LPCSTR, DWORD) override {
        return NotImpl("SetActionMap");
    }
    STDMETHOD(GetImageInfo)(LPDIDEVICEIMAGEINFOHEADERA) override { return NotImpl("GetImageInfo"); }

  private:
    HRESULT NotImpl(const char* operation) {
        dd::Log(name_ + " " + operation + Result(E_NOTIMPL));
        return E_NOTIMPL;
    }

    // A read that finds its device unplugged while acquired learns once
    // that the input was lost; after that it is merely not acquired.
    HRESULT NotAcquired() {
        if (!state_.lostWhileAcquired || lossReported_)
            return DIERR_NOTACQUIRED;
        lossReported_ = true;
        return DIERR_INPUTLOST;
    }

    HRESULT FillState(DWORD size, unsigned char* data) {
        if (!data)
            return DIERR_INVALIDPARAM;
        switch (state_.kind) {
            case dd::Kind::Keyboard:
                if (size != 256)
                    return DIERR_INVALIDPARAM;
                std::memcpy(data, state_.keys, 256);
                return DI_OK;
            case dd::Kind::Mouse:
                if (size != sizeof(DIMOUSESTATE) && size != sizeof(DIMOUSESTATE2))
                    return DIERR_INVALIDPARAM;
                std::memset(data, 0, size);
                std::memcpy(data + 12, state_.buttons, size - 12);
                return DI_OK;
            case dd::Kind::Controller: {
                if (size != sizeof(DIJOYSTATE))
                    return DIERR_INVALIDPARAM;
                DIJOYSTATE joy = {};
                joy.lX = state_.axisX;
                joy.lY = state_.axisY;
                for (DWORD& pov : joy.rgdwPOV)
                    pov = 0xFFFFFFFF;
                std::memcpy(joy.rgbButtons, state_.buttons, sizeof joy.rgbButtons);
                std::memcpy(data, &joy, sizeof joy);
                return DI_OK;
            }
        }
        return DIERR_INVALIDPARAM;
    }

    dd::Device& state_;
    std::string name_;
    ULONG refs_ = 1;
    bool lossReported_ = false;
};

class DirectInput final : public IDirectInput8A {
  public:
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
        if (IsEqualGUID(iid, kIDirectInput8A) || IsEqualGUID(iid, kIUnknown)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
    STDMETHOD_(ULONG, Release)() override {
        ULONG left = refs_ > 0 ? --refs_ : 0;
        dd::Log("directinput Release -> " + std::to_string(left));
        return left;
    }
    STDMETHOD(CreateDevice)(REFGUID guid, LPDIRECTINPUTDEVICE8A* out, LPUNKNOWN outer) override {
        std::string name;
        bool unplugged = false;
        if (IsEqualGUID(guid, kSysKeyboard)) {
            name = "keyboard";
        } else if (IsEqualGUID(guid, kSysMouse)) {
            name = "mouse";
        } else {
            int n = ControllerIndex(guid);
            if (n >= 0 && n < dd::ControllerSlots())
                name = "controller" + std::to_string(n);
            unplugged = !dd::ControllerAttached(n);
        }
        HRESULT hr =
            name.empty() || unplugged ? DIERR_DEVICENOTREG : Scripted(name, "CreateDevice");
        if (hr == 0 && !out)
            hr = E_POINTER;
        if (hr == 0 && outer)
            hr = DIERR_NOAGGREGATION;
        if (out)
            *out = nullptr;
        if (hr == 0)
            *out = new Device(dd::DeviceNamed(name));
        dd::Log(
            "directinput CreateDevice device=" + (name.empty() ? std::string("unknown") : name) +
            " outer=" + (outer ? "given" : "null") + Result(hr));
        return hr;
    }
    STDMETHOD(EnumDevices)
    (DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID context, DWORD flags) override {
        HRESULT hr = Scripted("directinput", "EnumDevices");
        dd::Log("directinput EnumDevices class=" + std::to_string(type) +
                " flags=" + std::to_string(flags) + " begin");
        bool controllers = type == DI8DEVCLASS_ALL || type == DI8DEVCLASS_GAMECTRL;
        // A scripted failure is answered after the callbacks, so the devices
        // created during the enumeration are there to be released. Unplugged
        // controllers stay installed: only DIEDFL_ATTACHEDONLY leaves them out.
        for (int n = 0; controllers && callback && n < dd::ControllerSlots(); ++n) {
            if ((flags & DIEDFL_ATTACHEDONLY) && !dd::ControllerAttached(n))
                continue;
            DIDEVICEINSTANCEA instance = {};
            instance.dwSize = sizeof instance;
            instance.guidInstance = ControllerGuid(n);
            instance.guidProduct = ControllerGuid(0x80 + n);
            instance.dwDevType = DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8);
            std::snprintf(instance.tszInstanceName, sizeof instance.tszInstanceName, "Test Pad %d",
                          n);
            std::snprintf(instance.tszProductName, sizeof instance.tszProductName, "%s",
                          dd::ProductName(n).c_str());
            BOOL more = callback(&instance, context);
            dd::Log("directinput EnumDevices callback controller" + std::to_string(n) + " -> " +
                    std::to_string(more));
            if (more == DIENUM_STOP)
                break;
        }
        dd::Log("directinput EnumDevices end" + Result(hr));
        return hr;
    }
    STDMETHOD(GetDeviceStatus)(REFGUID) override { return NotImpl("GetDeviceStatus"); }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return NotImpl("RunControlPanel"); }
    STDMETHOD(Initialize)(HINSTANCE, DWORD) override { return NotImpl("Initialize"); }
    STDMETHOD(FindDevice)(REFGUID, LPCSTR, LPGUID) override { return NotImpl("FindDevice"); }
    STDMETHOD(EnumDevicesBySemantics)
    (LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA, LPVOID, DWORD) override {
        return NotImpl("EnumDevicesBySemantics");
    }
    STDMETHOD(ConfigureDevices)
    (LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA, DWORD, LPVOID) override {
        return NotImpl("ConfigureDevices");
    }

  private:
    HRESULT NotImpl(const char* operation) {
        dd::Log(std::string("directinput ") + operation + Result(E_NOTIMPL));
        return E_NOTIMPL;
    }
    ULONG refs_ = 1;
};

}  // namespace

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid,
                                             LPVOID* out, LPUNKNOWN outer) {
    dd::Initialise();
    HRESULT hr = Scripted("directinput", "DirectInput8Create");
    if (hr == 0 && !out)
        hr = E_POINTER;
    if (hr == 0 && version != 0x0800)
        hr = version < 0x0800 ? DIERR_OLDDIRECTINPUTVERSION : DIERR_BETADIRECTINPUTVERSION;
    if (hr == 0 && !IsEqualGUID(iid, kIDirectInput8A))
        hr = DIERR_NOINTERFACE;
    if (hr == 0 && outer)
        hr = DIERR_NOAGGREGATION;
    if (out)
        *out = hr == 0 ? static_cast<IDirectInput8A*>(new DirectInput) : nullptr;
    dd::Log(std::string("DirectInput8Create version=") + dd::Hex(version) +
            " iid=" + (IsEqualGUID(iid, kIDirectInput8A) ? "IDirectInput8A" : "other") +
            " instance=" + (instance ? "given" : "null") + " outer=" + (outer ? "given" : "null") +
            Result(hr));
    return hr;
}
