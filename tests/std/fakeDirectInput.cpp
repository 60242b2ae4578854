#include "fakeDirectInput.h"

#include <cstring>

namespace {

FakeInput g_fake;

HRESULT Next(std::deque<HRESULT>& results)
{
    if (results.empty()) return DI_OK;
    HRESULT hr = results.front();
    results.pop_front();
    return hr;
}

class Device final : public IDirectInputDevice7A {
public:
    explicit Device(FakeInputDevice* config) : m_pConfig(config) { m_pConfig->refCount = 1; }

    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_pConfig->refCount; }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG count = --m_pConfig->refCount;
        if (count == 0) delete this;
        return count;
    }
    STDMETHOD(GetCapabilities)(LPDIDEVCAPS) override { return E_NOTIMPL; }
    STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetProperty)(REFGUID, LPDIPROPHEADER) override { return E_NOTIMPL; }
    STDMETHOD(SetProperty)(REFGUID property, LPCDIPROPHEADER header) override
    {
        if (&property != &DIPROP_BUFFERSIZE || header->dwHow != DIPH_DEVICE) return E_INVALIDARG;
        m_pConfig->bufferSize = ((const DIPROPDWORD*)header)->dwData;
        return DI_OK;
    }
    STDMETHOD(Acquire)() override
    {
        ++m_pConfig->acquireCalls;
        return Next(m_pConfig->acquireResults);
    }
    STDMETHOD(Unacquire)() override { return DI_OK; }
    STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override
    {
        if (size != sizeof(DIMOUSESTATE2)) return DIERR_INVALIDPARAM;
        memcpy(data, &m_pConfig->state, size);
        return DI_OK;
    }
    STDMETHOD(GetDeviceData)(DWORD size, LPDIDEVICEOBJECTDATA records, LPDWORD count, DWORD) override
    {
        ++m_pConfig->readCalls;
        HRESULT hr = Next(m_pConfig->readResults);
        if (FAILED(hr)) return hr;
        if (size != sizeof(DIDEVICEOBJECTDATA)) return DIERR_INVALIDPARAM;
        DWORD n = 0;
        auto& events = m_pConfig->events;
        while (n < *count && n < events.size()) {
            records[n] = events[n];
            ++n;
        }
        events.erase(events.begin(), events.begin() + n);
        *count = n;
        return hr;
    }
    STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT format) override
    {
        m_pConfig->format = format;
        return DI_OK;
    }
    STDMETHOD(SetEventNotification)(HANDLE) override { return E_NOTIMPL; }
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD flags) override
    {
        m_pConfig->window = window;
        m_pConfig->cooperation = flags;
        return DI_OK;
    }
    STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA) override { return E_NOTIMPL; }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(CreateEffect)(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) override { return E_NOTIMPL; }
    STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(GetForceFeedbackState)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(SendForceFeedbackCommand)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumCreatedEffectObjects)(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(Escape)(LPDIEFFESCAPE) override { return E_NOTIMPL; }
    STDMETHOD(Poll)() override { return DI_NOEFFECT; }
    STDMETHOD(SendDeviceData)(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumEffectsInFile)(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(WriteEffectToFile)(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) override { return E_NOTIMPL; }

private:
    FakeInputDevice* m_pConfig;
};

class Input final : public IDirectInput7A {
public:
    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_refCount; }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG count = --m_refCount;
        if (count == 0) delete this;
        return count;
    }
    STDMETHOD(CreateDevice)(REFGUID, LPDIRECTINPUTDEVICEA*, LPUNKNOWN) override { return E_NOTIMPL; }
    STDMETHOD(EnumDevices)(DWORD, LPDIENUMDEVICESCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceStatus)(REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(FindDevice)(REFGUID, LPCSTR, LPGUID) override { return E_NOTIMPL; }
    STDMETHOD(CreateDeviceEx)(REFGUID guid, REFIID iid, LPVOID* object, LPUNKNOWN) override
    {
        *object = nullptr;
        if (!IsEqualGUID(iid, IID_IDirectInputDevice7A)) return E_NOINTERFACE;
        FakeInputDevice* config = IsEqualGUID(guid, GUID_SysKeyboard) ? &g_fake.keyboard
                                  : IsEqualGUID(guid, GUID_SysMouse)  ? &g_fake.mouse
                                                                       : nullptr;
        if (!config) return DIERR_DEVICENOTREG;
        if (config->bCreateFails) return DIERR_NOTINITIALIZED;
        *object = static_cast<IDirectInputDevice7A*>(new Device(config));
        return DI_OK;
    }

private:
    ULONG m_refCount = 1;
};

HRESULT WINAPI FakeCreateEx(HINSTANCE instance, DWORD version, REFIID iid, void** object, IUnknown*)
{
    *object = nullptr;
    g_fake.instance = instance;
    g_fake.version = version;
    if (g_fake.bCreateFails) return DIERR_OLDDIRECTINPUTVERSION;
    if (!IsEqualGUID(iid, IID_IDirectInput7A)) return E_NOINTERFACE;
    *object = static_cast<IDirectInput7A*>(new Input);
    return DI_OK;
}

}  // namespace

FakeInput& fakeInput_Install()
{
    stdInput_Shutdown();
    g_fake = FakeInput();
    stdInput_api.pfnCreateEx = FakeCreateEx;
    return g_fake;
}

void fakeInput_Uninstall()
{
    stdInput_Shutdown();
    stdInput_UseSystem();
}

DIDEVICEOBJECTDATA fakeInput_Event(DWORD offset, bool down, DWORD time)
{
    DIDEVICEOBJECTDATA record = {};
    record.dwOfs = offset;
    record.dwData = down ? 0x80 : 0;
    record.dwTimeStamp = time;
    return record;
}

DIDEVICEOBJECTDATA fakeInput_Axis(DWORD offset, LONG value, DWORD time)
{
    DIDEVICEOBJECTDATA record = {};
    record.dwOfs = offset;
    record.dwData = (DWORD)value;
    record.dwTimeStamp = time;
    return record;
}
