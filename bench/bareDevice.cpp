#include "bareDevice.h"

#include <cstring>

namespace {

const int kWidth = 640, kHeight = 480;

HRESULT CALLBACK FirstDepthFormat(DDPIXELFORMAT* format, void* found)
{
    if (format->dwFlags != DDPF_ZBUFFER) return D3DENUMRET_OK;
    *static_cast<DDPIXELFORMAT*>(found) = *format;
    return D3DENUMRET_CANCEL;
}

IDirectDrawSurface7* CreateSurface(IDirectDraw7* directDraw, DDSURFACEDESC2& desc)
{
    desc.dwSize = sizeof desc;
    IDirectDrawSurface7* surface = nullptr;
    return SUCCEEDED(directDraw->CreateSurface(&desc, &surface, nullptr)) ? surface : nullptr;
}

template <class T>
void Release(T*& object)
{
    if (object) object->Release();
    object = nullptr;
}

bool CreateSurfaces(bareDevice* d)
{
    DDSURFACEDESC2 desc = {};
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (!(d->pPrimary = CreateSurface(d->pDirectDraw, desc))) return false;
    IDirectDrawClipper* clipper = nullptr;
    if (FAILED(d->pDirectDraw->CreateClipper(0, &clipper, nullptr))) return false;
    clipper->SetHWnd(0, d->window);
    d->pPrimary->SetClipper(clipper);
    clipper->Release();

    desc = {};
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = kWidth;
    desc.dwHeight = kHeight;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    if (!(d->pBackBuffer = CreateSurface(d->pDirectDraw, desc))) return false;

    desc = {};
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = kWidth;
    desc.dwHeight = kHeight;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    d->pDirect3D->EnumZBufferFormats(IID_IDirect3DHALDevice, FirstDepthFormat, &desc.ddpfPixelFormat);
    return (d->pZBuffer = CreateSurface(d->pDirectDraw, desc)) && SUCCEEDED(d->pBackBuffer->AddAttachedSurface(d->pZBuffer));
}

void SetStates(IDirect3DDevice7* device)
{
    device->SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
    device->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    device->SetRenderState(D3DRENDERSTATE_CLIPPING, FALSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
}

}  // namespace

int bareDevice_Open(bareDevice* d, int x, int y)
{
    *d = {};
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "bareDevice";
    RegisterClassA(&windowClass);
    RECT rect = {0, 0, kWidth, kHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION;
    AdjustWindowRect(&rect, style, FALSE);
    d->window = CreateWindowA("bareDevice", "bare Direct3D 7", style, x, y, rect.right - rect.left,
                              rect.bottom - rect.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (d->window) {
        ShowWindow(d->window, SW_SHOWNORMAL);
        UpdateWindow(d->window);
    }
    const bool opened =
        d->window && SUCCEEDED(DirectDrawCreateEx(nullptr, (void**)&d->pDirectDraw, IID_IDirectDraw7, nullptr)) &&
        SUCCEEDED(d->pDirectDraw->QueryInterface(IID_IDirect3D7, (void**)&d->pDirect3D)) &&
        SUCCEEDED(d->pDirectDraw->SetCooperativeLevel(d->window, DDSCL_NORMAL)) && CreateSurfaces(d) &&
        SUCCEEDED(d->pDirect3D->CreateDevice(IID_IDirect3DHALDevice, d->pBackBuffer, &d->pDevice)) &&
        SUCCEEDED(d->pDevice->BeginScene());
    if (!opened) {
        bareDevice_Close(d);
        return 0;
    }
    SetStates(d->pDevice);
    return 1;
}

void bareDevice_Close(bareDevice* d)
{
    if (d->pDevice) d->pDevice->EndScene();
    for (auto& texture : d->textures) texture.second->Release();
    d->textures.clear();
    Release(d->pDevice);
    Release(d->pZBuffer);
    Release(d->pBackBuffer);
    Release(d->pPrimary);
    Release(d->pDirect3D);
    Release(d->pDirectDraw);
    if (d->window) DestroyWindow(d->window);
    d->window = nullptr;
}

int bareDevice_AddTexture(bareDevice* d, const Bitmap* bitmap)
{
    if (!bitmap || d->textures.count(bitmap)) return 1;
    if (bitmap->format != BITMAP_FORMAT_565) return 0;
    DDSURFACEDESC2 desc = {};
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = bitmap->width;
    desc.dwHeight = bitmap->height;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;
    desc.ddpfPixelFormat = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, {16}, {0xF800}, {0x07E0}, {0x001F}, {0}};
    IDirectDrawSurface7* texture = CreateSurface(d->pDirectDraw, desc);
    if (!texture) return 0;
    desc = {};
    desc.dwSize = sizeof desc;
    if (FAILED(texture->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr))) {
        texture->Release();
        return 0;
    }
    for (int row = 0; row < bitmap->height; row++)
        memcpy((uint8_t*)desc.lpSurface + row * desc.lPitch, bitmap->pixels + row * bitmap->width * 2u,
               bitmap->width * 2u);
    texture->Unlock(nullptr);
    d->textures[bitmap] = texture;
    return 1;
}

void bareDevice_Clear(bareDevice* d)
{
    d->pDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
}

void bareDevice_Present(bareDevice* d)
{
    d->pDevice->EndScene();
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    if (SUCCEEDED(d->pBackBuffer->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) d->pBackBuffer->Unlock(nullptr);
    RECT client, screen;
    GetClientRect(d->window, &client);
    POINT corner = {0, 0};
    ClientToScreen(d->window, &corner);
    screen = {corner.x, corner.y, corner.x + client.right, corner.y + client.bottom};
    d->pPrimary->Blt(&screen, d->pBackBuffer, &client, DDBLT_ASYNC, nullptr);
    d->pDevice->BeginScene();
}
