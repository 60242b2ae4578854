// The pool of 2048 texture records with its free stack, the surfaces of each texture copy,
// uploads with their mip levels, and the per-stage binding cache.
#include <algorithm>
#include <cstring>
#include "rlDevice.h"
#include "rlTexture.h"

namespace {

TextureHandle handles[RASTER_MAX_TEXTURES];
uint16_t freeStack[RASTER_MAX_TEXTURES];
int freeCount;
int numCopies = 1;

struct StageBinding {
    uint32_t handle;
    TextureHandle* pRecord;
};
StageBinding stages[RASTER_TEXTURE_STAGES];

// Work space of the mip levels: one reduced level at a time, each made in place from the one
// before it. A texture whose first reduced level would not fit is given a single level.
enum { MIP_SCRATCH_BYTES = 1 << 20 };
uint8_t mipScratch[MIP_SCRATCH_BYTES];

// The surface format of a bitmap pixel format; false for formats without one.
bool surfaceFormat(uint32_t format, DDPIXELFORMAT* pixelFormat)
{
    struct Row {
        DWORD flags, bits, red, green, blue, alpha;
    };
    static const Row rows[] = {
        {DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0},                                  // 565
        {DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000},          // 4444
        {DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x03E0, 0x001F, 0x8000},          // 1555
        {DDPF_LUMINANCE, 8, 0xFF, 0, 0, 0},                                         // luminance 8
        {0, 0, 0, 0, 0, 0},                                                         // none
        {DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},      // 8888
        {DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0},                                  // X888
    };
    if (format >= sizeof(rows) / sizeof(rows[0]) || rows[format].flags == 0) return false;
    const Row& row = rows[format];
    memset(pixelFormat, 0, sizeof(*pixelFormat));
    pixelFormat->dwSize = sizeof(*pixelFormat);
    pixelFormat->dwFlags = row.flags;
    pixelFormat->dwRGBBitCount = row.bits;   // the luminance bit count shares this word
    pixelFormat->dwRBitMask = row.red;       // and the luminance mask this one
    pixelFormat->dwGBitMask = row.green;
    pixelFormat->dwBBitMask = row.blue;
    pixelFormat->dwRGBAlphaBitMask = row.alpha;
    return true;
}

const uint8_t* topLevel(const Bitmap* bitmap)
{
    return bitmap->levels[0] ? bitmap->levels[0] : bitmap->pixels;
}

uint32_t levelBytes(const Bitmap* bitmap, int numMips)
{
    uint32_t width = bitmap->width, height = bitmap->height, bytes = 0;
    for (int level = 0; level < numMips && width && height; level++, width /= 2, height /= 2)
        bytes += width * height * bitmapFormat_BytesPerPixel(bitmap->format);
    return bytes;
}

bool createSurface(TextureHandle* record, int copy)
{
    const Bitmap* bitmap = record->owner;
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_MIPMAPCOUNT |
                   DDSD_TEXTURESTAGE;
    desc.dwWidth = bitmap->width;
    desc.dwHeight = bitmap->height;
    desc.dwMipMapCount = record->numMips;
    desc.dwTextureStage = copy;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX | DDSCAPS_WRITEONLY;
    desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE | DDSCAPS2_OPAQUE;
    if (!rlDevice_state.pDirectDraw || !surfaceFormat(bitmap->format, &desc.ddpfPixelFormat)) return false;
    if (FAILED(rlDevice_state.pDirectDraw->CreateSurface(&desc, &record->surfaces[copy], nullptr))) {
        record->surfaces[copy] = nullptr;
        return false;
    }
    rlDevice_stats.textureBytes[copy] += record->byteSize;
    return true;
}

// Copies rows of an image into a locked level; the level's own size bounds the copy.
bool writeLevel(IDirectDrawSurface7* surface, const uint8_t* pixels, int width, int height, int bytesPerPixel)
{
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof(desc);
    if (FAILED(surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY | DDLOCK_DISCARDCONTENTS, nullptr)))
        return false;
    const int rows = std::min<int>(height, desc.dwHeight);
    const size_t rowBytes = size_t(std::min<int>(width, desc.dwWidth)) * bytesPerPixel;
    auto* dest = static_cast<uint8_t*>(desc.lpSurface);
    for (int y = 0; y < rows; y++)
        memcpy(dest + size_t(y) * desc.lPitch, pixels + size_t(y) * width * bytesPerPixel, rowBytes);
    surface->Unlock(nullptr);
    return true;
}

// The lower levels of the chain below the top surface: each is the level above it halved into
// the scratch buffer (the bitmap's pixels for the first, the buffer itself afterwards), then
// copied into its surface. A level the chain lacks or whose lock is refused ends the chain there.
void uploadLowerLevels(const TextureHandle* record, IDirectDrawSurface7* top, const uint8_t* pixels)
{
    const Bitmap* bitmap = record->owner;
    const int bytesPerPixel = bitmapFormat_BytesPerPixel(bitmap->format);
    int width = bitmap->width, height = bitmap->height;
    if (size_t(width / 2) * (height / 2) * bytesPerPixel > sizeof mipScratch) return;
    const uint8_t* above = pixels;
    IDirectDrawSurface7* surface = top;
    for (int level = 1; level < record->numMips && width >= 2 && height >= 2; level++) {
        DDSCAPS2 caps = {};
        caps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
        if (FAILED(surface->GetAttachedSurface(&caps, &surface))) return;
        surface->Release();   // the chain keeps the level alive
        if (!rlTexture_Reduce(bitmap->format, above, width, height, mipScratch)) return;
        above = mipScratch;
        width /= 2;
        height /= 2;
        if (!writeLevel(surface, mipScratch, width, height, bytesPerPixel)) return;
    }
}

// The top level from the bitmap, then each lower level reduced from the one above it.
bool upload(TextureHandle* record, int copy)
{
    IDirectDrawSurface7* surface = record->surfaces[copy];
    const Bitmap* bitmap = record->owner;
    if (!surface || !bitmap || !topLevel(bitmap)) return false;
    const uint8_t* pixels = topLevel(bitmap);
    if (!writeLevel(surface, pixels, bitmap->width, bitmap->height, bitmapFormat_BytesPerPixel(bitmap->format)))
        return false;
    if (record->numMips > 1) uploadLowerLevels(record, surface, pixels);
    rlDevice_stats.uploadBytes[copy] += record->byteSize;
    return true;
}

// Creates the copy's surface when missing and uploads into it.
bool cacheCopy(TextureHandle* record, int copy)
{
    if (!record->surfaces[copy] && !createSurface(record, copy)) return false;
    if (!upload(record, copy)) return false;
    record->flags |= TEXTURE_UPLOADED | (TEXTURE_COPY0_UPLOADED << copy);
    return true;
}

void unbindEverywhere(uint32_t handle)
{
    for (int stage = 0; stage < RASTER_TEXTURE_STAGES; stage++)
        if (stages[stage].handle == handle) {
            if (rlDevice_state.pDevice) rlDevice_state.pDevice->SetTexture(stage, nullptr);
            stages[stage] = {};
        }
}

void releaseSurfaces(TextureHandle* record)
{
    for (IDirectDrawSurface7*& surface : record->surfaces) rlDevice_Release(surface);
    record->flags &= TEXTURE_IN_USE;
}

// The level count of a texture: a single level when the bitmap asks for it or when its first
// reduced level would not fit the scratch buffer (above 1024 x 1024 at 32 bits, 2048 x 1024 at
// 16); otherwise a level for each halving, at most the settings' maxMips.
int numMipsOf(const Bitmap* bitmap)
{
    if (bitmap->textureFlags & BITMAP_TEX_SINGLE_LEVEL) return 1;
    const size_t firstReduced = size_t(bitmap->width / 2) * (bitmap->height / 2) * bitmapFormat_BytesPerPixel(bitmap->format);
    if (firstReduced > sizeof mipScratch) return 1;
    int levels = 0;
    for (uint32_t width = bitmap->width, height = bitmap->height; width && height; width /= 2, height /= 2)
        levels++;
    const uint32_t maxMips = rlDevice_state.pSettings ? rlDevice_state.pSettings->maxMips : 1;
    return std::max(1, std::min<int>(levels, maxMips));
}

} // namespace

TextureHandle* rlTexture_Get(uint32_t handle)
{
    if (handle == 0 || handle >= RASTER_MAX_TEXTURES) return nullptr;
    TextureHandle* record = &handles[handle];
    return (record->flags & TEXTURE_IN_USE) ? record : nullptr;
}

int rlTexture_NumCopies(void)
{
    return numCopies;
}

uint32_t rlTexture_StageHandle(int stage)
{
    return stage >= 0 && stage < RASTER_TEXTURE_STAGES ? stages[stage].handle : 0;
}

void rlTexture_PoolInit(void)
{
    numCopies = (rlDevice_state.deviceCaps.dwDevCaps & D3DDEVCAPS_SEPARATETEXTUREMEMORIES) ? 2 : 1;
    memset(handles, 0, sizeof(handles));
    memset(stages, 0, sizeof(stages));
    for (int k = 0; k < RASTER_MAX_TEXTURES; k++) freeStack[k] = static_cast<uint16_t>(RASTER_MAX_TEXTURES - k);
    freeCount = RASTER_MAX_TEXTURES - 1;
}

// A bitmap that already holds a handle gives it back first, so its new pixels are uploaded
// at the next binding and no record is left without an owner.
int __cdecl rlTexture_PreCacheMipMap(Bitmap* bitmap)
{
    if (!bitmap) return 0;
    rlTexture_UncacheMipMap(bitmap);
    if (freeCount == 0) return 0;
    const uint32_t handle = freeStack[freeCount];
    if (handle >= RASTER_MAX_TEXTURES) return 0;
    freeCount--;
    TextureHandle* record = &handles[handle];
    memset(record, 0, sizeof(*record));
    record->owner = bitmap;
    record->flags = TEXTURE_IN_USE;
    record->numMips = record->numMipsRequested = static_cast<uint8_t>(numMipsOf(bitmap));
    record->byteSize = levelBytes(bitmap, record->numMips);
    bitmap->rasterHandle = handle;
    return 1;
}

int __cdecl rlTexture_CacheHandle(uint32_t handle, int copy)
{
    TextureHandle* record = rlTexture_Get(handle);
    if (!record || copy < 0 || copy >= RASTER_TEXTURE_COPIES) return 0;
    return cacheCopy(record, std::min(copy, numCopies - 1)) ? 1 : 0;
}

int __cdecl rlTexture_RecacheHandle(uint32_t handle)
{
    TextureHandle* record = rlTexture_Get(handle);
    if (!record) return 0;
    int result = 1;
    for (int copy = 0; copy < RASTER_TEXTURE_COPIES; copy++)
        if (record->surfaces[copy] && !upload(record, copy)) result = 0;
    return result;
}

// Only a handle in use and owned by this bitmap goes back on the free stack, so a second
// release or a stale handle cannot push a handle twice.
void __cdecl rlTexture_UncacheMipMap(Bitmap* bitmap)
{
    if (!bitmap || bitmap->rasterHandle == 0) return;
    const uint32_t handle = bitmap->rasterHandle;
    bitmap->rasterHandle = 0;
    TextureHandle* record = rlTexture_Get(handle);
    if (!record || record->owner != bitmap) return;
    unbindEverywhere(handle);
    releaseSurfaces(record);
    memset(record, 0, sizeof(*record));
    freeStack[++freeCount] = static_cast<uint16_t>(handle);
}

void __cdecl rlTexture_FlushHandle(uint32_t handle)
{
    if (handle != 0) unbindEverywhere(handle);
}

int rlTexture_SetStage(uint32_t handle, int stage)
{
    if (stage < 0 || stage >= RASTER_TEXTURE_STAGES || !rlDevice_state.pDevice) return 0;
    StageBinding& binding = stages[stage];
    if (binding.handle == handle) return 1;
    if (handle == 0) {
        rlDevice_state.pDevice->SetTexture(stage, nullptr);
        binding = {};
        return 1;
    }
    TextureHandle* record = rlTexture_Get(handle);
    if (!record) return 0;
    const int copy = std::min(stage, numCopies - 1);
    if (!(record->flags & (TEXTURE_COPY0_UPLOADED << copy)) && !cacheCopy(record, copy)) return 0;
    if (FAILED(rlDevice_state.pDevice->SetTexture(stage, record->surfaces[copy]))) return 0;
    binding = {handle, record};
    if (record->lastFrame != rlDevice_state.frameNumber) {
        record->lastFrame = rlDevice_state.frameNumber;
        if (stage < RASTER_TEXTURE_COPIES) rlDevice_stats.frameBindBytes[stage] += record->byteSize;
    }
    return 1;
}

void rlTexture_ForgetStages(void)
{
    memset(stages, 0, sizeof(stages));
}

void rlTexture_ReleaseAll(void)
{
    for (int stage = 0; stage < RASTER_TEXTURE_STAGES; stage++)
        if (rlDevice_state.pDevice) rlDevice_state.pDevice->SetTexture(stage, nullptr);
    rlTexture_ForgetStages();
    for (TextureHandle& record : handles) releaseSurfaces(&record);
}
