// The driver objects are built on the C layout of the interfaces (a pointer to a table of
// functions), so that only the methods the library uses need writing; every other slot traps.
#define CINTERFACE
#include "fakeDirectDraw.h"
#include <ddraw.h>
#include <d3d.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include "fakeDraw.h"
#include "rlDirectDraw.h"

namespace {

struct FakeObject {
    const void* lpVtbl;   // first, as in every interface
    int refCount = 1;
    std::string kind;
    std::vector<FakeObject*> held;   // references this object holds and gives back when it dies
    int driver = 0;
    DDSURFACEDESC2 desc = {};
    std::vector<uint8_t> pixels;
    FakeObject* attached = nullptr;   // the back buffer of a flip chain, the next mip level
    FakeObject* clipper = nullptr;
    FakeObject* stages[8] = {};
};

struct FakeWorld {
    FakeConfig config;
    std::vector<std::unique_ptr<FakeObject>> objects;
    std::map<std::string, int> calls;
    int steps = 0;
    bool bInScene = false;
    bool bSceneError = false;
    bool bHaveRamp = false;
    DDGAMMARAMP ramp = {};
    DWORD lastClearFlags = 0;
    RECT lastPresentDest = {};
    int lastDriver = -1;
};

FakeWorld g;

// A counted call: true when this is the call chosen to fail.
bool fails(const char* method)
{
    g.calls[method]++;
    return ++g.steps == g.config.failAtStep;
}

template <typename I> FakeObject* self(I* p)
{
    FakeObject* object = reinterpret_cast<FakeObject*>(p);
    if (object->refCount <= 0) {
        fprintf(stderr, "fake DirectDraw: call on a released %s\n", object->kind.c_str());
        abort();
    }
    return object;
}

void addRef(FakeObject* object)
{
    object->refCount++;
}

void release(FakeObject* object)
{
    if (--object->refCount > 0) return;
    for (FakeObject* held : object->held) release(held);
    object->held.clear();
    for (FakeObject*& stage : object->stages)
        if (stage) release(std::exchange(stage, nullptr));
    if (object->clipper) release(std::exchange(object->clipper, nullptr));
}

FakeObject* newObject(const void* vtbl, const char* kind)
{
    g.objects.push_back(std::make_unique<FakeObject>());
    FakeObject* object = g.objects.back().get();
    object->lpVtbl = vtbl;
    object->kind = kind;
    return object;
}

template <typename I> ULONG WINAPI fakeAddRef(I* p)
{
    FakeObject* object = self(p);
    addRef(object);
    return object->refCount;
}

template <typename I> ULONG WINAPI fakeRelease(I* p)
{
    FakeObject* object = self(p);
    release(object);
    return object->refCount;
}

// Every slot the library has no business calling stops the test with its slot number.
template <int Interface, int Slot> void trap()
{
    fprintf(stderr, "fake DirectDraw: unexpected call of slot %d of interface %d\n", Slot, Interface);
    abort();
}

template <int Interface, size_t... Slot>
void fillTraps(void* table, size_t size, std::index_sequence<Slot...>)
{
    void* traps[] = {reinterpret_cast<void*>(&trap<Interface, Slot>)...};
    void** slots = static_cast<void**>(table);
    for (size_t i = 0; i < size / sizeof(void*); i++) slots[i] = traps[i];
}

template <int Interface, typename Table> void trapAll(Table& table)
{
    static_assert(sizeof(Table) / sizeof(void*) <= 64);
    fillTraps<Interface>(&table, sizeof(Table), std::make_index_sequence<64>());
}

IDirectDraw7Vtbl directDrawVtbl;
IDirect3D7Vtbl direct3DVtbl;
IDirectDrawSurface7Vtbl surfaceVtbl;
IDirectDrawClipperVtbl clipperVtbl;
IDirectDrawGammaControlVtbl gammaVtbl;
IDirect3DDevice7Vtbl deviceVtbl;

// ---- IDirectDraw7

HRESULT WINAPI directDraw_QueryInterface(IDirectDraw7* p, REFIID iid, void** out)
{
    FakeObject* object = self(p);
    if (!IsEqualGUID(iid, IID_IDirect3D7) || fails("QueryInterface(IDirect3D7)")) return E_NOINTERFACE;
    FakeObject* direct3D = newObject(&direct3DVtbl, "IDirect3D7");
    addRef(object);
    direct3D->held.push_back(object);
    *out = direct3D;
    return S_OK;
}

HRESULT WINAPI directDraw_GetCaps(IDirectDraw7* p, DDCAPS* driverCaps, DDCAPS*)
{
    self(p);
    if (fails("GetCaps")) return DDERR_GENERIC;
    driverCaps->dwCaps = g.config.bDrivers3D ? DDCAPS_3D : 0;
    driverCaps->dwVidMemTotal = 16u << 20;
    return S_OK;
}

HRESULT WINAPI directDraw_GetDeviceIdentifier(IDirectDraw7* p, DDDEVICEIDENTIFIER2* identifier, DWORD)
{
    FakeObject* object = self(p);
    if (fails("GetDeviceIdentifier")) return DDERR_GENERIC;
    memset(identifier, 0, sizeof(*identifier));
    // Longer than the 127 characters the library keeps.
    snprintf(identifier->szDescription, sizeof(identifier->szDescription), "Fake adapter %d %s",
             object->driver, std::string(200, 'd').c_str());
    snprintf(identifier->szDriver, sizeof(identifier->szDriver), "fake%d.drv", object->driver);
    return S_OK;
}

HRESULT WINAPI directDraw_SetCooperativeLevel(IDirectDraw7* p, HWND, DWORD)
{
    self(p);
    return fails("SetCooperativeLevel") ? DDERR_GENERIC : S_OK;
}

FakeObject* newSurface(const DDSURFACEDESC2& desc, const char* kind)
{
    FakeObject* surface = newObject(&surfaceVtbl, kind);
    surface->desc = desc;
    if (!(desc.dwFlags & DDSD_WIDTH)) {
        surface->desc.dwWidth = 1280;
        surface->desc.dwHeight = 1024;
    }
    if (!(desc.dwFlags & DDSD_PIXELFORMAT)) surface->desc.ddpfPixelFormat.dwRGBBitCount = 32;
    return surface;
}

HRESULT WINAPI directDraw_CreateSurface(IDirectDraw7* p, DDSURFACEDESC2* desc,
                                        IDirectDrawSurface7** out, IUnknown*)
{
    self(p);
    if (fails("CreateSurface")) return DDERR_GENERIC;
    const DWORD caps = desc->ddsCaps.dwCaps;
    FakeObject* surface = nullptr;
    if (caps & DDSCAPS_PRIMARYSURFACE) {
        surface = newSurface(*desc, "primary surface");
        if (caps & DDSCAPS_FLIP) {
            DDSURFACEDESC2 backDesc = surface->desc;
            FakeObject* back = newSurface(backDesc, "flip back buffer");
            surface->attached = back;
            surface->held.push_back(back);
        }
    } else if (caps & DDSCAPS_ZBUFFER) {
        surface = newSurface(*desc, "z-buffer");
    } else if (caps & DDSCAPS_TEXTURE) {
        surface = newSurface(*desc, "texture");
        const DWORD levels = (desc->dwFlags & DDSD_MIPMAPCOUNT) ? desc->dwMipMapCount : 1;
        FakeObject* parent = surface;
        for (DWORD level = 1; level < levels; level++) {
            DDSURFACEDESC2 levelDesc = parent->desc;
            levelDesc.dwWidth = levelDesc.dwWidth > 1 ? levelDesc.dwWidth / 2 : 1;
            levelDesc.dwHeight = levelDesc.dwHeight > 1 ? levelDesc.dwHeight / 2 : 1;
            FakeObject* child = newSurface(levelDesc, "mip level");
            parent->attached = child;
            parent->held.push_back(child);
            parent = child;
        }
    } else {
        surface = newSurface(*desc, "off-screen surface");
    }
    *out = reinterpret_cast<IDirectDrawSurface7*>(surface);
    return S_OK;
}

HRESULT WINAPI directDraw_CreateClipper(IDirectDraw7* p, DWORD, IDirectDrawClipper** out, IUnknown*)
{
    self(p);
    if (fails("CreateClipper")) return DDERR_GENERIC;
    *out = reinterpret_cast<IDirectDrawClipper*>(newObject(&clipperVtbl, "clipper"));
    return S_OK;
}

HRESULT WINAPI directDraw_EnumDisplayModes(IDirectDraw7* p, DWORD, DDSURFACEDESC2*, void* context,
                                           LPDDENUMMODESCALLBACK2 callback)
{
    self(p);
    if (fails("EnumDisplayModes")) return DDERR_GENERIC;
    for (const FakeMode& mode : g.config.modes) {
        DDSURFACEDESC2 desc = {};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = mode.width;
        desc.dwHeight = mode.height;
        desc.ddpfPixelFormat.dwRGBBitCount = mode.bits;
        if (callback(&desc, context) == DDENUMRET_CANCEL) break;
    }
    return S_OK;
}

HRESULT WINAPI directDraw_SetDisplayMode(IDirectDraw7* p, DWORD, DWORD, DWORD, DWORD, DWORD)
{
    self(p);
    if (fails("SetDisplayMode") || g.config.bSetDisplayModeFails) return DDERR_GENERIC;
    return S_OK;
}

HRESULT WINAPI directDraw_RestoreDisplayMode(IDirectDraw7* p)
{
    self(p);
    g.calls["RestoreDisplayMode"]++;
    return S_OK;
}

HRESULT WINAPI directDraw_RestoreAllSurfaces(IDirectDraw7* p)
{
    self(p);
    g.calls["RestoreAllSurfaces"]++;
    return S_OK;
}

// ---- IDirect3D7

HRESULT WINAPI direct3D_EnumDevices(IDirect3D7* p, LPD3DENUMDEVICESCALLBACK7 callback, void* context)
{
    self(p);
    if (fails("EnumDevices")) return DDERR_GENERIC;
    D3DDEVICEDESC7 software = {};
    software.deviceGUID = IID_IDirect3DRGBDevice;
    software.dwMaxTextureHeight = 256;
    software.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    software.dwDeviceZBufferBitDepth = DDBD_16 | DDBD_32;
    software.dwDevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    D3DDEVICEDESC7 hardware = {};
    hardware.deviceGUID = IID_IDirect3DHALDevice;
    hardware.dwMaxTextureHeight = 2048;
    hardware.dwDeviceRenderBitDepth = DDBD_16 | (g.config.bRender32 ? DDBD_32 : 0);
    hardware.dwDeviceZBufferBitDepth = DDBD_16 | DDBD_24;
    char name[] = "fake";
    if (callback(name, name, &software, context) == D3DENUMRET_CANCEL) return S_OK;
    callback(name, name, &hardware, context);
    return S_OK;
}

HRESULT WINAPI direct3D_EnumZBufferFormats(IDirect3D7* p, REFIID, LPD3DENUMPIXELFORMATSCALLBACK callback,
                                           void* context)
{
    self(p);
    if (fails("EnumZBufferFormats")) return DDERR_GENERIC;
    DDPIXELFORMAT formats[2] = {};
    formats[0].dwSize = formats[1].dwSize = sizeof(DDPIXELFORMAT);
    formats[0].dwFlags = DDPF_ZBUFFER | DDPF_STENCILBUFFER;
    formats[0].dwZBufferBitDepth = 32;
    formats[1].dwFlags = DDPF_ZBUFFER;
    formats[1].dwZBufferBitDepth = 16;
    for (DDPIXELFORMAT& format : formats)
        if (callback(&format, context) == D3DENUMRET_CANCEL) break;
    return S_OK;
}

HRESULT WINAPI direct3D_CreateDevice(IDirect3D7* p, REFCLSID, IDirectDrawSurface7* target,
                                     IDirect3DDevice7** out)
{
    self(p);
    if (fails("CreateDevice")) return DDERR_GENERIC;
    if (g.config.createDeviceFailures > 0) {
        g.config.createDeviceFailures--;
        return DDERR_GENERIC;
    }
    FakeObject* device = newObject(&deviceVtbl, "IDirect3DDevice7");
    FakeObject* surface = self(target);
    addRef(surface);
    device->held.push_back(surface);
    g.bInScene = false;
    *out = reinterpret_cast<IDirect3DDevice7*>(device);
    return S_OK;
}

// ---- IDirectDrawSurface7

HRESULT WINAPI surface_QueryInterface(IDirectDrawSurface7* p, REFIID iid, void** out)
{
    FakeObject* surface = self(p);
    if (!IsEqualGUID(iid, IID_IDirectDrawGammaControl)) return E_NOINTERFACE;
    if (fails("QueryInterface(IDirectDrawGammaControl)") || !g.config.bGamma) return E_NOINTERFACE;
    FakeObject* gamma = newObject(&gammaVtbl, "gamma control");
    addRef(surface);
    gamma->held.push_back(surface);
    *out = gamma;
    return S_OK;
}

HRESULT WINAPI surface_AddAttachedSurface(IDirectDrawSurface7* p, IDirectDrawSurface7* other)
{
    FakeObject* surface = self(p);
    if (fails("AddAttachedSurface")) return DDERR_GENERIC;
    FakeObject* attached = self(other);
    addRef(attached);
    surface->held.push_back(attached);
    return S_OK;
}

HRESULT WINAPI surface_Blt(IDirectDrawSurface7* p, RECT* dest, IDirectDrawSurface7* source, RECT*,
                           DWORD, DDBLTFX*)
{
    self(p);
    if (fails("Blt")) return DDERR_GENERIC;
    if (source && dest) g.lastPresentDest = *dest;
    return S_OK;
}

HRESULT WINAPI surface_Flip(IDirectDrawSurface7* p, IDirectDrawSurface7*, DWORD)
{
    self(p);
    g.calls["Flip"]++;
    return S_OK;
}

HRESULT WINAPI surface_GetAttachedSurface(IDirectDrawSurface7* p, DDSCAPS2*, IDirectDrawSurface7** out)
{
    FakeObject* surface = self(p);
    if (fails("GetAttachedSurface")) return DDERR_GENERIC;
    if (!surface->attached) return DDERR_NOTFOUND;
    addRef(surface->attached);
    *out = reinterpret_cast<IDirectDrawSurface7*>(surface->attached);
    return S_OK;
}

HRESULT WINAPI surface_Lock(IDirectDrawSurface7* p, RECT*, DDSURFACEDESC2* desc, DWORD, HANDLE)
{
    FakeObject* surface = self(p);
    if (fails("Lock") || g.config.bLockFails) return DDERR_GENERIC;
    const DWORD bytes = surface->desc.ddpfPixelFormat.dwRGBBitCount / 8;
    const DWORD pitch = surface->desc.dwWidth * (bytes ? bytes : 1);
    surface->pixels.resize(size_t(pitch) * surface->desc.dwHeight);
    *desc = surface->desc;
    desc->lPitch = pitch;
    desc->lpSurface = surface->pixels.data();
    return S_OK;
}

HRESULT WINAPI surface_Unlock(IDirectDrawSurface7* p, RECT*)
{
    self(p);
    g.calls["Unlock"]++;
    return S_OK;
}

HRESULT WINAPI surface_SetClipper(IDirectDrawSurface7* p, IDirectDrawClipper* clipper)
{
    FakeObject* surface = self(p);
    if (fails("SetClipper")) return DDERR_GENERIC;
    FakeObject* object = reinterpret_cast<FakeObject*>(clipper);
    if (object) addRef(object);
    if (surface->clipper) release(surface->clipper);
    surface->clipper = object;
    return S_OK;
}

HRESULT WINAPI surface_GetSurfaceDesc(IDirectDrawSurface7* p, DDSURFACEDESC2* desc)
{
    *desc = self(p)->desc;
    return S_OK;
}

// ---- IDirectDrawClipper and IDirectDrawGammaControl

HRESULT WINAPI clipper_SetHWnd(IDirectDrawClipper* p, DWORD, HWND)
{
    self(p);
    return fails("SetHWnd") ? DDERR_GENERIC : S_OK;
}

HRESULT WINAPI gamma_SetGammaRamp(IDirectDrawGammaControl* p, DWORD, DDGAMMARAMP* ramp)
{
    self(p);
    g.calls["SetGammaRamp"]++;
    g.ramp = *ramp;
    g.bHaveRamp = true;
    return S_OK;
}

// ---- IDirect3DDevice7

HRESULT WINAPI device_GetCaps(IDirect3DDevice7* p, D3DDEVICEDESC7* desc)
{
    self(p);
    if (fails("GetCaps(device)")) return DDERR_GENERIC;
    memset(desc, 0, sizeof(*desc));
    desc->deviceGUID = IID_IDirect3DHALDevice;
    desc->dwMaxTextureHeight = 2048;
    desc->dwMaxTextureWidth = 2048;
    if (g.config.bSeparateTextureMemories) desc->dwDevCaps |= D3DDEVCAPS_SEPARATETEXTUREMEMORIES;
    return S_OK;
}

DDPIXELFORMAT rgbFormat(DWORD flags, DWORD bits, DWORD r, DWORD gr, DWORD b, DWORD a)
{
    DDPIXELFORMAT format = {};
    format.dwSize = sizeof(format);
    format.dwFlags = flags;
    format.dwRGBBitCount = bits;
    format.dwRBitMask = r;
    format.dwGBitMask = gr;
    format.dwBBitMask = b;
    format.dwRGBAlphaBitMask = a;
    return format;
}

HRESULT WINAPI device_EnumTextureFormats(IDirect3DDevice7* p, LPD3DENUMPIXELFORMATSCALLBACK callback,
                                         void* context)
{
    self(p);
    if (fails("EnumTextureFormats")) return DDERR_GENERIC;
    DDPIXELFORMAT formats[] = {
        rgbFormat(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0),
        rgbFormat(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000),
        rgbFormat(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x03E0, 0x001F, 0x8000),
        rgbFormat(DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000),
        rgbFormat(DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0),
    };
    for (DDPIXELFORMAT& format : formats)
        if (callback(&format, context) == D3DENUMRET_CANCEL) break;
    return S_OK;
}

HRESULT WINAPI device_BeginScene(IDirect3DDevice7* p)
{
    self(p);
    if (fails("BeginScene")) return DDERR_GENERIC;
    if (g.bInScene) g.bSceneError = true;
    g.bInScene = true;
    return S_OK;
}

HRESULT WINAPI device_EndScene(IDirect3DDevice7* p)
{
    self(p);
    g.calls["EndScene"]++;
    if (!g.bInScene) g.bSceneError = true;
    g.bInScene = false;
    return S_OK;
}

HRESULT WINAPI device_Clear(IDirect3DDevice7* p, DWORD, D3DRECT*, DWORD flags, D3DCOLOR, D3DVALUE, DWORD)
{
    self(p);
    if (fails("Clear")) return DDERR_GENERIC;
    g.lastClearFlags = flags;
    return S_OK;
}

HRESULT WINAPI device_SetTexture(IDirect3DDevice7* p, DWORD stage, IDirectDrawSurface7* texture)
{
    FakeObject* device = self(p);
    if (fails("SetTexture") || stage >= 8) return DDERR_GENERIC;
    FakeObject* object = reinterpret_cast<FakeObject*>(texture);
    if (object) addRef(object);
    if (device->stages[stage]) release(device->stages[stage]);
    device->stages[stage] = object;
    return S_OK;
}

void buildTables()
{
    trapAll<1>(directDrawVtbl);
    directDrawVtbl.QueryInterface = directDraw_QueryInterface;
    directDrawVtbl.AddRef = fakeAddRef<IDirectDraw7>;
    directDrawVtbl.Release = fakeRelease<IDirectDraw7>;
    directDrawVtbl.GetCaps = directDraw_GetCaps;
    directDrawVtbl.GetDeviceIdentifier = directDraw_GetDeviceIdentifier;
    directDrawVtbl.SetCooperativeLevel = directDraw_SetCooperativeLevel;
    directDrawVtbl.CreateSurface = directDraw_CreateSurface;
    directDrawVtbl.CreateClipper = directDraw_CreateClipper;
    directDrawVtbl.EnumDisplayModes = directDraw_EnumDisplayModes;
    directDrawVtbl.SetDisplayMode = directDraw_SetDisplayMode;
    directDrawVtbl.RestoreDisplayMode = directDraw_RestoreDisplayMode;
    directDrawVtbl.RestoreAllSurfaces = directDraw_RestoreAllSurfaces;

    trapAll<2>(direct3DVtbl);
    direct3DVtbl.AddRef = fakeAddRef<IDirect3D7>;
    direct3DVtbl.Release = fakeRelease<IDirect3D7>;
    direct3DVtbl.EnumDevices = direct3D_EnumDevices;
    direct3DVtbl.EnumZBufferFormats = direct3D_EnumZBufferFormats;
    direct3DVtbl.CreateDevice = direct3D_CreateDevice;

    trapAll<3>(surfaceVtbl);
    surfaceVtbl.QueryInterface = surface_QueryInterface;
    surfaceVtbl.AddRef = fakeAddRef<IDirectDrawSurface7>;
    surfaceVtbl.Release = fakeRelease<IDirectDrawSurface7>;
    surfaceVtbl.AddAttachedSurface = surface_AddAttachedSurface;
    surfaceVtbl.Blt = surface_Blt;
    surfaceVtbl.Flip = surface_Flip;
    surfaceVtbl.GetAttachedSurface = surface_GetAttachedSurface;
    surfaceVtbl.Lock = surface_Lock;
    surfaceVtbl.Unlock = surface_Unlock;
    surfaceVtbl.SetClipper = surface_SetClipper;
    surfaceVtbl.GetSurfaceDesc = surface_GetSurfaceDesc;

    trapAll<4>(clipperVtbl);
    clipperVtbl.AddRef = fakeAddRef<IDirectDrawClipper>;
    clipperVtbl.Release = fakeRelease<IDirectDrawClipper>;
    clipperVtbl.SetHWnd = clipper_SetHWnd;

    trapAll<5>(gammaVtbl);
    gammaVtbl.AddRef = fakeAddRef<IDirectDrawGammaControl>;
    gammaVtbl.Release = fakeRelease<IDirectDrawGammaControl>;
    gammaVtbl.SetGammaRamp = gamma_SetGammaRamp;

    trapAll<6>(deviceVtbl);
    deviceVtbl.AddRef = fakeAddRef<IDirect3DDevice7>;
    deviceVtbl.Release = fakeRelease<IDirect3DDevice7>;
    deviceVtbl.GetCaps = device_GetCaps;
    deviceVtbl.EnumTextureFormats = device_EnumTextureFormats;
    deviceVtbl.BeginScene = device_BeginScene;
    deviceVtbl.EndScene = device_EndScene;
    deviceVtbl.Clear = device_Clear;
    deviceVtbl.SetTexture = device_SetTexture;
    fakeDraw_FillTables(&deviceVtbl, &direct3DVtbl);
}

// ---- the two entry points

HRESULT WINAPI fakeEnumerateExA(LPDDENUMCALLBACKEXA callback, void* context, DWORD)
{
    g.calls["DirectDrawEnumerateExA"]++;
    for (int driver = 0; driver < g.config.numDrivers; driver++) {
        GUID guid = {};
        guid.Data1 = driver;
        char description[] = "Fake adapter";
        char name[] = "display";
        if (!callback(driver == 0 ? nullptr : &guid, description, name, context, nullptr)) break;
    }
    return S_OK;
}

HRESULT WINAPI fakeCreateEx(GUID* guid, void** out, REFIID, IUnknown*)
{
    if (fails("DirectDrawCreateEx")) return DDERR_GENERIC;
    FakeObject* directDraw = newObject(&directDrawVtbl, "IDirectDraw7");
    directDraw->driver = guid ? static_cast<int>(guid->Data1) : 0;
    g.lastDriver = directDraw->driver;
    *out = directDraw;
    return S_OK;
}

} // namespace

void fake_Install(const FakeConfig& config)
{
    static bool built = false;
    if (!built) buildTables();
    built = true;
    g.objects.clear();
    g = FakeWorld();
    g.config = config;
    fakeDraw_Reset();
    rlDirectDraw_api.pfnEnumerateExA = fakeEnumerateExA;
    rlDirectDraw_api.pfnCreateEx = fakeCreateEx;
}

FakeConfig& fake_Config(void)
{
    return g.config;
}

void fake_Uninstall(void)
{
    rlDirectDraw_UseSystem();
}

int fake_LiveObjects(void)
{
    int live = 0;
    for (const auto& object : g.objects) live += object->refCount > 0;
    return live;
}

std::string fake_LiveDescription(void)
{
    std::string text;
    for (const auto& object : g.objects)
        if (object->refCount > 0) text += object->kind + " (" + std::to_string(object->refCount) + ") ";
    return text;
}

int fake_Steps(void)
{
    return g.steps;
}

int fake_Calls(const char* method)
{
    auto it = g.calls.find(method);
    return it == g.calls.end() ? 0 : it->second;
}

bool fake_InScene(void)
{
    return g.bInScene;
}

bool fake_SceneError(void)
{
    return g.bSceneError;
}

bool fake_GammaRamp(WORD* red, WORD* green, WORD* blue)
{
    if (!g.bHaveRamp) return false;
    memcpy(red, g.ramp.red, sizeof(g.ramp.red));
    memcpy(green, g.ramp.green, sizeof(g.ramp.green));
    memcpy(blue, g.ramp.blue, sizeof(g.ramp.blue));
    return true;
}

DWORD fake_LastClearFlags(void)
{
    return g.lastClearFlags;
}

RECT fake_LastPresentDest(void)
{
    return g.lastPresentDest;
}

int fake_LastDriver(void)
{
    return g.lastDriver;
}
