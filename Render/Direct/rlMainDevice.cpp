// Start-up with driver enumeration, opening and closing the device, and full-screen resolution
// changes.
#include <cstring>
#include "rlDevice.h"
#include "rlDirectDraw.h"
#include "rlDraw.h"
#include "rlLight.h"
#include "rlMain.h"
#include "rlMode.h"
#include "rlTexture.h"

rlDeviceState rlDev;
RasterInfo rlInfo = {};
RasterStats rlStats = {};

static_assert(sizeof(DDCAPS) == 380, "the DirectX 7 capability record");

enum : DWORD {
    ENUM_ALL_DRIVERS = DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES |
                       DDENUM_NONDISPLAYDEVICES,
    FULLSCREEN_LEVEL = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE,
};
static_assert(ENUM_ALL_DRIVERS == 7 && FULLSCREEN_LEVEL == 19);

HRESULT rlDevice_BeginScene(void)
{
    HRESULT result = rlDev.pDevice->BeginScene();
    rlDev.bInScene = SUCCEEDED(result);
    return result;
}

void rlDevice_EndScene(void)
{
    if (rlDev.bInScene) rlDev.pDevice->EndScene();
    rlDev.bInScene = false;
}

static void copyText(char* dest, const char* source)
{
    const size_t length = strnlen(source, RASTER_DEVICE_TEXT_SIZE - 1);
    memcpy(dest, source, length);
    dest[length] = '\0';
}

// One driver: a 3-D capable one becomes the next device entry.
static BOOL WINAPI enumDriver(GUID* guid, LPSTR, LPSTR, LPVOID, HMONITOR)
{
    if (rlInfo.numDevices >= RASTER_MAX_DEVICES) return DDENUMRET_CANCEL;
    IDirectDraw7* directDraw = nullptr;
    if (FAILED(rlDirectDraw.pfnCreateEx(guid, reinterpret_cast<void**>(&directDraw),
                                        IID_IDirectDraw7, nullptr)))
        return DDENUMRET_OK;
    DDCAPS caps = {};
    caps.dwSize = sizeof(caps);
    DDDEVICEIDENTIFIER2 identifier = {};
    if (SUCCEEDED(directDraw->GetCaps(&caps, nullptr)) &&
        SUCCEEDED(directDraw->GetDeviceIdentifier(&identifier, 0)) && (caps.dwCaps & DDCAPS_3D)) {
        RasterDevice& device = rlInfo.devices[rlInfo.numDevices++];
        memset(&device, 0, sizeof(device));
        copyText(device.description, identifier.szDescription);
        copyText(device.driverName, identifier.szDriver);
        device.videoMemory = caps.dwVidMemTotal;
        if (guid) memcpy(device.guid, guid, sizeof(device.guid));
    }
    directDraw->Release();
    return rlInfo.numDevices < RASTER_MAX_DEVICES ? DDENUMRET_OK : DDENUMRET_CANCEL;
}

RasterInfo* __cdecl rlMain_Startup(HWND window)
{
    rlDev.window = window;
    rlInfo.numDevices = 0;
    rlDirectDraw.pfnEnumerateExA(enumDriver, nullptr, ENUM_ALL_DRIVERS);
    rlDev.bStarted = true;
    return &rlInfo;
}

static HRESULT CALLBACK enumDevice(char*, char*, D3DDEVICEDESC7* desc, void*)
{
    if (!IsEqualGUID(desc->deviceGUID, IID_IDirect3DHALDevice)) return D3DENUMRET_OK;
    if (desc->dwDeviceRenderBitDepth & DDBD_32) rlInfo.capsFlags |= RASTER_CAPS_RENDER32;
    if (desc->dwDeviceZBufferBitDepth & DDBD_32) rlInfo.capsFlags |= RASTER_CAPS_DEPTH32;
    rlInfo.maxTextureHeight = static_cast<uint16_t>(desc->dwMaxTextureHeight);
    if (desc->dwDevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) rlInfo.capsFlags |= RASTER_CAPS_HW_TRANSFORM;
    return D3DENUMRET_OK;
}

// Modes of 24 bits, of 32 bits without 32-bit rendering, and below 640 x 480 are not offered.
static HRESULT CALLBACK enumMode(DDSURFACEDESC2* desc, void*)
{
    const DWORD bits = desc->ddpfPixelFormat.dwRGBBitCount;
    if (bits == 24 || (bits == 32 && !(rlInfo.capsFlags & RASTER_CAPS_RENDER32)) ||
        desc->dwHeight < 480 || desc->dwWidth < 640)
        return DDENUMRET_OK;
    if (rlInfo.numModes >= RASTER_MAX_MODES) return DDENUMRET_CANCEL;
    RasterDisplayMode& mode = rlInfo.modes[rlInfo.numModes++];
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
    if (rlDev.numTextureFormats < RASTER_MAX_TEXTURE_FORMATS)
        rlDev.textureFormats[rlDev.numTextureFormats++] = *format;
    if (format->dwRGBBitCount == 32) rlInfo.capsFlags |= RASTER_CAPS_TEXTURE32;
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
    if (FAILED(rlDev.pDirectDraw->CreateSurface(&desc, &rlDev.pPrimary, nullptr))) return false;
    if (!fillBlack(rlDev.pPrimary)) return false;
    DDSCAPS2 caps = {};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(rlDev.pPrimary->GetAttachedSurface(&caps, &rlDev.pBackBuffer))) return false;
    return fillBlack(rlDev.pBackBuffer);
}

bool rlDevice_ReadWindowRects(void)
{
    if (!GetClientRect(rlDev.window, &rlDev.clientRect)) return false;
    rlDev.screenRect = rlDev.clientRect;
    POINT corners[2] = {{rlDev.screenRect.left, rlDev.screenRect.top},
                        {rlDev.screenRect.right, rlDev.screenRect.bottom}};
    ClientToScreen(rlDev.window, &corners[0]);
    ClientToScreen(rlDev.window, &corners[1]);
    rlDev.screenRect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
}

// The windowed primary surface, an off-screen back buffer of the requested size and a clipper
// that keeps presents inside the window.
static bool createWindowedSurfaces(renderSettings* settings)
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (FAILED(rlDev.pDirectDraw->CreateSurface(&desc, &rlDev.pPrimary, nullptr))) return false;
    rlDevice_ReadWindowRects();

    desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwHeight = settings->reqScreenHeight;
    desc.dwWidth = settings->reqScreenWidth;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    if (FAILED(rlDev.pDirectDraw->CreateSurface(&desc, &rlDev.pBackBuffer, nullptr))) return false;
    settings->screenWidth = settings->reqScreenWidth;
    settings->screenHeight = settings->reqScreenHeight;
    settings->screenDepth = 16;

    IDirectDrawClipper* clipper = nullptr;
    if (FAILED(rlDev.pDirectDraw->CreateClipper(0, &clipper, nullptr))) return false;
    const bool bound = SUCCEEDED(clipper->SetHWnd(0, rlDev.window)) &&
                       SUCCEEDED(rlDev.pPrimary->SetClipper(clipper));
    clipper->Release();
    return bound;
}

static bool setFullScreenMode(int width, int height, int depth)
{
    return SUCCEEDED(rlDev.pDirectDraw->SetDisplayMode(width, height, depth, 0, 0));
}

static void queryGammaControl(void)
{
    if (FAILED(rlDev.pPrimary->QueryInterface(IID_IDirectDrawGammaControl,
                                              reinterpret_cast<void**>(&rlDev.pGamma)))) {
        rlDev.pGamma = nullptr;
        rlInfo.capsFlags |= RASTER_CAPS_NO_GAMMA;
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
    if (FAILED(rlDev.pDirect3D->EnumZBufferFormats(IID_IDirect3DHALDevice, enumDepthFormat,
                                                   &desc.ddpfPixelFormat)))
        return false;
    if (FAILED(rlDev.pDirectDraw->CreateSurface(&desc, &rlDev.pZBuffer, nullptr))) return false;
    return SUCCEEDED(rlDev.pBackBuffer->AddAttachedSurface(rlDev.pZBuffer));
}

// The hardware device on the back buffer, its capabilities and texture formats. Creation is
// tried a second time before it counts as failed.
static bool createDevice(void)
{
    if (FAILED(rlDev.pDirect3D->CreateDevice(IID_IDirect3DHALDevice, rlDev.pBackBuffer, &rlDev.pDevice)) &&
        FAILED(rlDev.pDirect3D->CreateDevice(IID_IDirect3DHALDevice, rlDev.pBackBuffer, &rlDev.pDevice))) {
        rlDev.pDevice = nullptr;
        return false;
    }
    rlDev.deviceCaps = {};
    if (FAILED(rlDev.pDevice->GetCaps(&rlDev.deviceCaps))) return false;
    rlDev.numTextureFormats = 0;
    return SUCCEEDED(rlDev.pDevice->EnumTextureFormats(enumTextureFormat, nullptr));
}

// Everything below DirectDraw itself that an open or a resolution change creates.
static void releaseSurfaces(void)
{
    rlDevice_EndScene();
    rlDevice_Release(rlDev.pDevice);
    rlDevice_Release(rlDev.pZBuffer);
    rlDevice_Release(rlDev.pGamma);
    rlDevice_Release(rlDev.pBackBuffer);
    rlDevice_Release(rlDev.pPrimary);
}

static int openDevice(renderSettings* settings)
{
    GUID* guid = nullptr;
    GUID chosen;
    if (settings->useDevice != 0 && settings->useDevice < rlInfo.numDevices) {
        memcpy(&chosen, rlInfo.devices[settings->useDevice].guid, sizeof(chosen));
        guid = &chosen;
    }
    if (FAILED(rlDirectDraw.pfnCreateEx(guid, reinterpret_cast<void**>(&rlDev.pDirectDraw),
                                        IID_IDirectDraw7, nullptr))) {
        rlDev.pDirectDraw = nullptr;
        return 0;
    }
    if (FAILED(rlDev.pDirectDraw->QueryInterface(IID_IDirect3D7,
                                                 reinterpret_cast<void**>(&rlDev.pDirect3D)))) {
        rlDev.pDirect3D = nullptr;
        return 0;
    }
    rlInfo.numModes = 0;
    rlInfo.capsFlags = 0;
    if (FAILED(rlDev.pDirect3D->EnumDevices(enumDevice, nullptr))) return 0;
    if (FAILED(rlDev.pDirectDraw->EnumDisplayModes(0, nullptr, nullptr, enumMode))) return 0;

    rlDev.bWindowed = (settings->optionFlags & RENDER_OPTION_WINDOWED) != 0;
    if (rlDev.bWindowed) {
        if (FAILED(rlDev.pDirectDraw->SetCooperativeLevel(rlDev.window, DDSCL_NORMAL))) return 0;
        if (!createWindowedSurfaces(settings)) return 0;
    } else {
        if (FAILED(rlDev.pDirectDraw->SetCooperativeLevel(rlDev.window, FULLSCREEN_LEVEL))) return 0;
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
    if (!rlDraw_CreateVertexBuffer()) return 0;
    return 1;
}

// A failed open gives back what it created, so the process holds no half-built device. Each
// open counts frames and statistics afresh and starts the state cache from nothing, so that
// an open after a close behaves as the first one did.
int __cdecl rlMain_Open(renderSettings* settings)
{
    if (!settings) return 0;
    if (rlDev.bOpen) rlMain_Close();
    rlDev.pSettings = settings;
    rlDev.frameNumber = 1;
    rlStats = {};
    rlMode_Reset();
    if (!openDevice(settings)) {
        rlMain_Close();
        return 0;
    }
    rlDev.bOpen = true;
    return 1;
}

// Gives back only what exists, so it is safe after a failed open and when called again. The
// frame's lights, the current model and the caller's settings are forgotten with the device:
// the records may be gone after the close.
int __cdecl rlMain_Close(void)
{
    rlLight_ClearLights();
    rlLight_NewModel(nullptr);
    rlDraw_ReleaseVertexBuffer();
    rlTexture_ReleaseAll();
    releaseSurfaces();
    rlDevice_Release(rlDev.pDirect3D);
    if (rlDev.pDirectDraw) {
        rlDev.pDirectDraw->RestoreDisplayMode();
        rlDevice_Release(rlDev.pDirectDraw);
    }
    rlDev.pSettings = nullptr;
    rlDev.bOpen = false;
    return 1;
}

static bool recreateFullScreen(int width, int height, int depth)
{
    if (!setFullScreenMode(width, height, depth) || !createFlipChain()) return false;
    queryGammaControl();
    rlDraw_ReleaseVertexBuffer();   // it belongs to the Direct3D object given back here
    rlDevice_Release(rlDev.pDirect3D);
    if (FAILED(rlDev.pDirectDraw->QueryInterface(IID_IDirect3D7,
                                                 reinterpret_cast<void**>(&rlDev.pDirect3D)))) {
        rlDev.pDirect3D = nullptr;
        return false;
    }
    if (!createDepthBuffer(width, height) || !createDevice()) return false;
    rlTexture_ForgetStages();
    rlMode_SetDefaults();
    rlDraw_CreateVertexBuffer();
    return SUCCEEDED(rlDevice_BeginScene());
}

// A full-screen device is rebuilt at the new size; the texture pool is kept. A failure leaves
// the device closed, so that later calls find nothing half built.
void __cdecl rlMain_SetResolution(int width, int height, int depth)
{
    if (!rlDev.bOpen || rlDev.bWindowed) return;
    releaseSurfaces();
    if (!recreateFullScreen(width, height, depth)) {
        rlMain_Close();
        return;
    }
    renderSettings* settings = rlDev.pSettings;
    settings->screenWidth = static_cast<uint16_t>(width);
    settings->screenHeight = static_cast<uint16_t>(height);
    settings->screenDepth = static_cast<uint8_t>(depth);
    rlMain_SetGamma(settings->gamma, settings->gamma, settings->gamma);
    rlMode_ReapplyFog();
}
