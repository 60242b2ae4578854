#include "fakeRaster.h"

#include <cassert>
#include <type_traits>

#include "renderMain.h"

namespace fakes {

uint32_t RecordRasterCall(const RasterCall& call);

namespace {

FakeRaster* g_pActive;

template <typename T>
void PutArg(RasterCall& call, T value)
{
    static_assert(sizeof(T) <= 8);
    uint32_t words[2] = {};
    if constexpr (std::is_pointer_v<T>) {
        words[0] = (uint32_t)(uintptr_t)value;
    } else if constexpr (sizeof(T) < 4) {
        words[0] = (uint32_t)value;
    } else {
        memcpy(words, &value, sizeof(T));
    }
    for (size_t i = 0; i < (sizeof(T) + 3) / 4 && call.numWords < RASTER_CALL_WORDS; i++)
        call.words[call.numWords++] = words[i];
}

// A recording operation with the exact signature of its slot.
template <int Slot, typename Func>
struct Recorder;

template <int Slot, typename R, typename... Args>
struct Recorder<Slot, R (*)(Args...)> {
    static R __cdecl Call(Args... args)
    {
        RasterCall call;
        call.slot = Slot;
        (PutArg(call, args), ...);
        uint32_t result = RecordRasterCall(call);
        if constexpr (std::is_void_v<R>) {
            (void)result;
        } else if constexpr (std::is_pointer_v<R>) {
            return (R)(uintptr_t)result;
        } else {
            return (R)result;
        }
    }
};

}  // namespace

uint32_t RecordRasterCall(const RasterCall& call)
{
    return g_pActive ? g_pActive->Dispatch(call) : 0;
}

FakeRaster::FakeRaster()
{
    assert(!g_pActive && "one FakeRaster at a time");
    g_pActive = this;
    renderMain_Unbind();
    renderMain_UseInitialize(Initialize);

    handlers_[FAKE_RASTER_SLOT(funcMain_Startup)] = [this](const RasterCall&) {
        return (uint32_t)(uintptr_t)&info;
    };
    handlers_[FAKE_RASTER_SLOT(funcMain_Swap)] = [this](const RasterCall&) { return nextFrame_++; };
    handlers_[FAKE_RASTER_SLOT(funcMain_LockBuffer)] = [](const RasterCall&) { return 0u; };
    handlers_[FAKE_RASTER_SLOT(funcTexture_PreCacheMipMap)] = [this](const RasterCall& c) {
        if (Bitmap* bitmap = c.Arg<Bitmap*>(0)) bitmap->rasterHandle = nextHandle_++;
        return 1u;
    };
    handlers_[FAKE_RASTER_SLOT(funcTexture_UncacheMipMap)] = [](const RasterCall& c) {
        if (Bitmap* bitmap = c.Arg<Bitmap*>(0)) bitmap->rasterHandle = 0;
        return 0u;
    };
}

FakeRaster::~FakeRaster()
{
    renderMain_Unbind();
    renderMain_UseInitialize(nullptr);
    g_pActive = nullptr;
}

#define FAKE_FILL(field) \
    table->field = &Recorder<FAKE_RASTER_SLOT(field), decltype(rasterLib::field)>::Call

void __cdecl FakeRaster::Initialize(rasterLib* table)
{
    // In slot order, so that the list reads against the table at a glance.
    FAKE_FILL(funcMain_Startup);
    FAKE_FILL(funcMain_Shutdown);
    FAKE_FILL(funcMain_Open);
    FAKE_FILL(funcMain_Close);
    FAKE_FILL(funcMain_GetStats);
    FAKE_FILL(funcMain_Clear);
    FAKE_FILL(funcMain_Swap);
    FAKE_FILL(funcMain_FlushFrames);
    FAKE_FILL(funcMain_SetClipRect);
    FAKE_FILL(funcMain_SetTextureBuffer);
    FAKE_FILL(funcMain_LockBuffer);
    FAKE_FILL(funcMain_UnlockBuffer);
    FAKE_FILL(funcMain_SetGamma);
    FAKE_FILL(funcMain_SetResolution);
    FAKE_FILL(funcMode_SetFog);
    FAKE_FILL(funcMode_SetColor);
    FAKE_FILL(funcModel_Draw);
    FAKE_FILL(funcDraw_FaceIndexed);
    FAKE_FILL(funcDraw_FaceIndexedSort);
    FAKE_FILL(funcDraw_Face);
    FAKE_FILL(funcDraw_SetVertexPool);
    FAKE_FILL(funcDraw_ScreenFaceImmediate);
    FAKE_FILL(funcDraw_FlushCache);
    FAKE_FILL(funcDraw_ShadowFace);
    FAKE_FILL(funcDraw_SurfaceGroup);
    FAKE_FILL(funcDraw_SortedGroups);
    FAKE_FILL(funcDraw_SpriteList);
    FAKE_FILL(funcDraw_HaloList);
    FAKE_FILL(funcDraw_PointList);
    FAKE_FILL(funcDraw_QuadList);
    FAKE_FILL(funcDraw_FanList);
    FAKE_FILL(funcDraw_QuadStrip);
    FAKE_FILL(funcDraw_ScreenFace);
    FAKE_FILL(funcTexture_PreCacheMipMap);
    FAKE_FILL(funcTexture_CacheHandle);
    FAKE_FILL(funcTexture_RecacheHandle);
    FAKE_FILL(funcTexture_UncacheMipMap);
    FAKE_FILL(funcTexture_FlushHandle);
    FAKE_FILL(funcCamera_SetCurrent);
    FAKE_FILL(funcCamera_SetClip);
    FAKE_FILL(funcLight_AddLight);
    FAKE_FILL(funcLight_NewModel);
    FAKE_FILL(funcLight_ClearLights);
    FAKE_FILL(funcLight_SetAmbient);
    FAKE_FILL(funcMode_SetMode);
    FAKE_FILL(funcMode_SetFlags);
    if (!g_pActive) return;
    g_pActive->initializeCount_++;
    table->version = g_pActive->version_;
    if (g_pActive->nullSlot_ >= 1 && g_pActive->nullSlot_ <= RASTER_LIB_NUM_SLOTS)
        ((uint32_t*)table)[g_pActive->nullSlot_] = 0;
}

#undef FAKE_FILL

int FakeRaster::Bind()
{
    return renderMain_InitTable(Initialize);
}

void FakeRaster::SetResult(int slot, uint32_t result)
{
    SetHandler(slot, [result](const RasterCall&) { return result; });
}

void FakeRaster::SetHandler(int slot, RasterHandler handler)
{
    if (slot >= 1 && slot <= RASTER_LIB_NUM_SLOTS) handlers_[slot] = std::move(handler);
}

uint32_t FakeRaster::Dispatch(const RasterCall& call)
{
    calls_.push_back(call);
    const RasterHandler& handler = handlers_[call.slot];
    return handler ? handler(call) : 1u;
}

int FakeRaster::Count(int slot) const
{
    int n = 0;
    for (const RasterCall& call : calls_) n += call.slot == slot;
    return n;
}

const RasterCall* FakeRaster::Last(int slot) const
{
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it) {
        if (it->slot == slot) return &*it;
    }
    return nullptr;
}

std::vector<int> FakeRaster::Slots() const
{
    std::vector<int> slots;
    for (const RasterCall& call : calls_) slots.push_back(call.slot);
    return slots;
}

}  // namespace fakes
