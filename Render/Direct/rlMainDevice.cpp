// Start-up with driver enumeration, opening and closing the device, full-screen resolution
// changes and the gamma ramps.
#include <cmath>
#include <cstring>
#include "rlDevice.h"
#include "rlDirectDraw.h"
#include "rlDraw.h"
#include "rlDrawGroup.h"
#include "rlLight.h"
#include "rlMain.h"
#include "rlMode.h"
#include "rlTexture.h"

static_assert(sizeof(DDCAPS) == 380, "the DirectX 7 capability record");

enum : DWORD {
    ENUM_ALL_DRIVERS = DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES |
                       DDENUM_NONDISPLAYDEVICES,
    FULLSCREEN_LEVEL = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE,
};
static_assert(ENUM_ALL_DRIVERS == 7 && FULLSCREEN_LEVEL == 19);

static void copyText(char* dest, const char* source)
{
    const size_t length = strnlen(source, RASTER_DEVICE_TEXT_SIZE - 1);
    memcpy(dest, source, length);
    dest[length] = '\0';
}

// One driver: a 3-D capable one becomes the next device entry.
static BOOL WINAPI enumDriver(GUID* guid, LPSTR, LPSTR, LPVOID, HMONITOR)
{
    if (rlDevice_info.numDevices >= RASTER_MAX_DEVICES) return DDENUMRET_CANCEL;
    IDirectDraw7* directDraw = nullptr;
    if (FAILED(rlDirectDraw_api.pfnCreateEx(guid, reinterpret_cast<void**>(&directDraw),
                                        IID_IDirectDraw7, nullptr)))
        return DDENUMRET_OK;
    DDCAPS caps = {};
    caps.dwSize = sizeof(caps);
    DDDEVICEIDENTIFIER2 identifier = {};
    if (SUCCEEDED(directDraw->GetCaps(&caps, nullptr)) &&
        SUCCEEDED(directDraw->GetDeviceIdentifier(&identifier, 0)) && (caps.dwCaps & DDCAPS_3D)) {
        RasterDevice& device = rlDevice_info.devices[rlDevice_info.numDevices++];
        memset(&device, 0, sizeof(device));
        copyText(device.description, identifier.szDescription);
        copyText(device.driverName, identifier.szDriver);
        device.videoMemory = caps.dwVidMemTotal;
        if (guid) memcpy(device.guid, guid, sizeof(device.guid));
    }
    directDraw->Release();
    return rlDevice_info.numDevices < RASTER_MAX_DEVICES ? DDENUMRET_OK : DDENUMRET_CANCEL;
}

RasterInfo* __cdecl rlMain_Startup(HWND window)
{
    rlDevice_state.window = window;
    rlDevice_info.numDevices = 0;
    rlDirectDraw_api.pfnEnumerateExA(enumDriver, nullptr, ENUM_ALL_DRIVERS);
    rlDevice_state.bStarted = true;
    return &rlDevice_info;
}

static HRESULT CALLBACK enumDevice(char*, char*, D3DDEVICEDESC7* desc, void*)
{
    if (!IsEqualGUID(desc->deviceGUID, IID_IDirect3DHALDevice)) return D3DENUMRET_OK;
    if (desc->dwDeviceRenderBitDepth & DDBD_32) rlDevice_info.capsFlags |= RASTER_CAPS_RENDER32;
    if (desc->dwDeviceZBufferBitDepth & DDBD_32) rlDevice_info.capsFlags |= RASTER_CAPS_DEPTH32;
    rlDevice_info.maxTextureHeight = static_cast<uint16_t>(desc->dwMaxTextureHeight);
    if (desc->dwDevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) rlDevice_info.capsFlags |= RASTER_CAPS_HW_TRANSFORM;
    return D3DENUMRET_OK;
}

// Modes of 24 bits, of 32 bits without 32-bit rendering, and below 640 x 480 are not offered.
static HRESULT CALLBACK enumMode(DDSURFACEDESC2* desc, void*)
{
    const DWORD bits = desc->ddpfPixelFormat.dwRGBBitCount;
    if (bits == 24 || (bits == 32 && !(rlDevice_info.capsFlags & RASTER_CAPS_RENDER32)) ||
        desc->dwHeight < 480 || desc->dwWidth < 640)
        return DDENUMRET_OK;
    if (rlDevice_info.numModes >= RASTER_MAX_MODES) return DDENUMRET_CANCEL;
    RasterDisplayMode& mode = rlDevice_info.modes[rlDevice_info.numModes++];
    mode.height = static_cast<uint16_t>(desc->dwHeight);
    mode.width = static_cast<uint16_t>(desc->dwWidth);
    mode.bitsPerPixel = static_cast<uint8_t>(bits);
    return DDENUMRET_OK;
}

static HRESULT CALLBACK enumDepthFormat(DDPIXELFORMAT* format, void* context)
{
    if (format->dwFlags != DDPF_ZBUFFER) return D3DENUMRET_OK;
    *static_cast<DDPIXELFORMAT*>(context) = *format;
    return D3DENUMRET_CANCEL;
}

static HRESULT CALLBACK enumTextureFormat(DDPIXELFORMAT* format, void*)
{
    if (rlDevice_state.numTextureFormats < RASTER_MAX_TEXTURE_FORMATS)
        rlDevice_state.textureFormats[rlDevice_state.numTextureFormats++] = *format;
    if (format->dwRGBBitCount == 32) rlDevice_info.capsFlags |= RASTER_CAPS_TEXTURE32;
    return D3DENUMRET_OK;
}

static bool fillBlack(IDirectDrawSurface7* surface)
{
    DDBLTFX fx = {};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 0;
    return SUCCEEDED(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx));
}

// The full-screen flip chain with one back buffer, both cleared to black.
static bool createFlipChain(void)
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    if (FAILED(rlDevice_state.pDirectDraw->CreateSurface(&desc, &rlDevice_state.pPrimary, nullptr))) return false;
    if (!fillBlack(rlDevice_state.pPrimary)) return false;
    DDSCAPS2 caps = {};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(rlDevice_state.pPrimary->GetAttachedSurface(&caps, &rlDevice_state.pBackBuffer))) return false;
    return fillBlack(rlDevice_state.pBackBuffer);
}

// The windowed primary surface, an off-screen back buffer of the requested size and a clipper
// that keeps presents inside the window.
static bool createWindowedSurfaces(renderSettings* settings)
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (FAILED(rlDevice_state.pDirectDraw->CreateSurface(&desc, &rlDevice_state.pPrimary, nullptr))) return false;
    rlDevice_ReadWindowRects();

    desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwHeight = settings->reqScreenHeight;
    desc.dwWidth = settings->reqScreenWidth;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    if (FAILED(rlDevice_state.pDirectDraw->CreateSurface(&desc, &rlDevice_state.pBackBuffer, nullptr))) return false;
    settings->screenWidth = settings->reqScreenWidth;
    settings->screenHeight = settings->reqScreenHeight;
    settings->screenDepth = 16;

    IDirectDrawClipper* clipper = nullptr;
    if (FAILED(rlDevice_state.pDirectDraw->CreateClipper(0, &clipper, nullptr))) return false;
    const bool bound = SUCCEEDED(clipper->SetHWnd(0, rlDevice_state.window)) &&
                       SUCCEEDED(rlDevice_state.pPrimary->SetClipper(clipper));
    clipper->Release();
    return bound;
}

static bool setFullScreenMode(int width, int height, int depth)
{
    return SUCCEEDED(rlDevice_state.pDirectDraw->SetDisplayMode(width, height, depth, 0, 0));
}

static void queryGammaControl(void)
{
    if (FAILED(rlDevice_state.pPrimary->QueryInterface(IID_IDirectDrawGammaControl,
                                              reinterpret_cast<void**>(&rlDevice_state.pGamma)))) {
        rlDevice_state.pGamma = nullptr;
        rlDevice_info.capsFlags |= RASTER_CAPS_NO_GAMMA;
    }
}

static bool createDepthBuffer(int width, int height)
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    if (FAILED(rlDevice_state.pDirect3D->EnumZBufferFormats(IID_IDirect3DHALDevice, enumDepthFormat,
                                                   &desc.ddpfPixelFormat)))
        return false;
    if (FAILED(rlDevice_state.pDirectDraw->CreateSurface(&desc, &rlDevice_state.pZBuffer, nullptr))) return false;
    return SUCCEEDED(rlDevice_state.pBackBuffer->AddAttachedSurface(rlDevice_state.pZBuffer));
}

// The hardware device on the back buffer, its capabilities and texture formats. Creation is
// tried a second time before it counts as failed.
static bool createDevice(void)
{
    rlDeviceState& dev = rlDevice_state;
    if (FAILED(dev.pDirect3D->CreateDevice(IID_IDirect3DHALDevice, dev.pBackBuffer, &dev.pDevice)) &&
        FAILED(dev.pDirect3D->CreateDevice(IID_IDirect3DHALDevice, dev.pBackBuffer, &dev.pDevice))) {
        rlDevice_state.pDevice = nullptr;
        return false;
    }
    rlDevice_state.deviceCaps = {};
    if (FAILED(rlDevice_state.pDevice->GetCaps(&rlDevice_state.deviceCaps))) return false;
    rlDevice_state.numTextureFormats = 0;
    return SUCCEEDED(rlDevice_state.pDevice->EnumTextureFormats(enumTextureFormat, nullptr));
}

// Everything below DirectDraw itself that an open or a resolution change creates.
static void releaseSurfaces(void)
{
    rlDevice_EndScene();
    rlDevice_Release(rlDevice_state.pDevice);
    rlDevice_Release(rlDevice_state.pZBuffer);
    rlDevice_Release(rlDevice_state.pGamma);
    rlDevice_Release(rlDevice_state.pBackBuffer);
    rlDevice_Release(rlDevice_state.pPrimary);
}

static int openDevice(renderSettings* settings)
{
    GUID* guid = nullptr;
    GUID chosen;
    if (settings->useDevice != 0 && settings->useDevice < rlDevice_info.numDevices) {
        memcpy(&chosen, rlDevice_info.devices[settings->useDevice].guid, sizeof(chosen));
        guid = &chosen;
    }
    if (FAILED(rlDirectDraw_api.pfnCreateEx(guid, reinterpret_cast<void**>(&rlDevice_state.pDirectDraw),
                                        IID_IDirectDraw7, nullptr))) {
        rlDevice_state.pDirectDraw = nullptr;
        return 0;
    }
    if (FAILED(rlDevice_state.pDirectDraw->QueryInterface(IID_IDirect3D7,
                                                 reinterpret_cast<void**>(&rlDevice_state.pDirect3D)))) {
        rlDevice_state.pDirect3D = nullptr;
        return 0;
    }
    rlDevice_info.numModes = 0;
    rlDevice_info.capsFlags = 0;
    if (FAILED(rlDevice_state.pDirect3D->EnumDevices(enumDevice, nullptr))) return 0;
    if (FAILED(rlDevice_state.pDirectDraw->EnumDisplayModes(0, nullptr, nullptr, enumMode))) return 0;

    rlDevice_state.bWindowed = (settings->optionFlags & RENDER_OPTION_WINDOWED) != 0;
    if (rlDevice_state.bWindowed) {
        if (FAILED(rlDevice_state.pDirectDraw->SetCooperativeLevel(rlDevice_state.window, DDSCL_NORMAL))) return 0;
        if (!createWindowedSurfaces(settings)) return 0;
    } else {
        if (FAILED(rlDevice_state.pDirectDraw->SetCooperativeLevel(rlDevice_state.window, FULLSCREEN_LEVEL))) return 0;
        if (!setFullScreenMode(settings->reqScreenWidth, settings->reqScreenHeight,
                               settings->reqScreenDepth))
            return 0;
        settings->screenWidth = settings->reqScreenWidth;
        settings->screenHeight = settings->reqScreenHeight;
        settings->screenDepth = settings->reqScreenDepth;
        if (!createFlipChain()) return 0;
    }
    queryGammaControl();
    if (!createDepthBuffer(settings->screenWidth, settings->screenHeight)) return 0;
    if (!createDevice()) return 0;

    if (FAILED(rlDevice_BeginScene())) return 0;
    rlTexture_PoolInit();
    rlMode_SetDefaults();
    if (!rlDrawGroup_CreateVertexBuffer()) return 0;
    return 1;
}

// A failed open gives back what it created, so the process holds no half-built device. Each
// open counts frames and statistics afresh and starts the state cache from nothing, so that
// an open after a close behaves as the first one did.
int __cdecl rlMain_Open(renderSettings* settings)
{
    if (!settings) return 0;
    if (rlDevice_state.bOpen) rlMain_Close();
    rlDevice_state.pSettings = settings;
    rlDevice_state.frameNumber = 1;
    rlDevice_stats = {};
    rlMode_Reset();
    if (!openDevice(settings)) {
        rlMain_Close();
        return 0;
    }
    rlDevice_state.bOpen = true;
    return 1;
}

// Gives back only what exists, so it is safe after a failed open and when called again. The
// frame's lights, the current model and the caller's settings are forgotten with the device:
// the records may be gone after the close.
int __cdecl rlMain_Close(void)
{
    rlLight_ClearLights();
    rlLight_NewModel(nullptr);
    rlDrawGroup_ReleaseVertexBuffer();
    rlTexture_ReleaseAll();
    releaseSurfaces();
    rlDevice_Release(rlDevice_state.pDirect3D);
    if (rlDevice_state.pDirectDraw) {
        rlDevice_state.pDirectDraw->RestoreDisplayMode();
        rlDevice_Release(rlDevice_state.pDirectDraw);
    }
    rlDevice_state.pSettings = nullptr;
    rlDevice_state.bOpen = false;
    return 1;
}

static bool recreateFullScreen(int width, int height, int depth)
{
    if (!setFullScreenMode(width, height, depth) || !createFlipChain()) return false;
    queryGammaControl();
    rlDrawGroup_ReleaseVertexBuffer();   // it belongs to the Direct3D object given back here
    rlDevice_Release(rlDevice_state.pDirect3D);
    if (FAILED(rlDevice_state.pDirectDraw->QueryInterface(IID_IDirect3D7,
                                                 reinterpret_cast<void**>(&rlDevice_state.pDirect3D)))) {
        rlDevice_state.pDirect3D = nullptr;
        return false;
    }
    if (!createDepthBuffer(width, height) || !createDevice()) return false;
    rlTexture_ForgetStages();
    rlMode_SetDefaults();
    rlDrawGroup_CreateVertexBuffer();
    return SUCCEEDED(rlDevice_BeginScene());
}

// A full-screen device is rebuilt at the new size; the texture pool is kept. A failure leaves
// the device closed, so that later calls find nothing half built.
void __cdecl rlMain_SetResolution(int width, int height, int depth)
{
    if (!rlDevice_state.bOpen || rlDevice_state.bWindowed) return;
    releaseSurfaces();
    if (!recreateFullScreen(width, height, depth)) {
        rlMain_Close();
        return;
    }
    renderSettings* settings = rlDevice_state.pSettings;
    settings->screenWidth = static_cast<uint16_t>(width);
    settings->screenHeight = static_cast<uint16_t>(height);
    settings->screenDepth = static_cast<uint8_t>(depth);
    rlMain_SetGamma(settings->gamma, settings->gamma, settings->gamma);
    rlMode_ReapplyFog();
}

// One ramp entry: x = i / 255 raised to 1 / gamma over the 16-bit range, so gamma 1.0 gives
// exactly i * 257.
static WORD gammaEntry(int i, double gamma)
{
    const double value = std::pow(i / 255.0, 1.0 / gamma) * 65535.0 + 1e-6;
    return value >= 65535.0 ? 65535 : static_cast<WORD>(value);
}

// A component that is not a positive number leaves the ramps as they are.
void __cdecl rlMain_SetGamma(double red, double green, double blue)
{
    if (!(red > 0.0 && green > 0.0 && blue > 0.0) || !std::isfinite(red) ||
        !std::isfinite(green) || !std::isfinite(blue) || !rlDevice_state.pGamma)
        return;
    DDGAMMARAMP ramp;
    for (int i = 0; i < 256; i++) {
        ramp.red[i] = gammaEntry(i, red);
        ramp.green[i] = gammaEntry(i, green);
        ramp.blue[i] = gammaEntry(i, blue);
    }
    rlDevice_state.pGamma->SetGammaRamp(0, &ramp);
}
