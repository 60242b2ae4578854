// A raster operation table for tests: every one of the 46 slots records its calls, and the
// render front-end binds it instead of loading the raster library.
//
//   fakes::FakeRaster raster;        // one at a time; renderMain_InitDll now binds the fake
//   ASSERT_TRUE(raster.Bind());      // or renderMain_Startup(), which binds it the same way
//   raster.SetResult(FAKE_RASTER_SLOT(funcMain_Clear), 0);          // what a slot returns
//   raster.SetHandler(FAKE_RASTER_SLOT(funcLight_AddLight),         // or what it does
//                     [&](const fakes::RasterCall& c) { seen = *c.Arg<const Light*>(1); return 0u; });
//   EXPECT_EQ(raster.Count(FAKE_RASTER_SLOT(funcMain_Swap)), 1);
//   EXPECT_EQ(raster.Last(FAKE_RASTER_SLOT(funcMain_Swap))->Word(0), 0u);   // wait = 0
//
// SetVersion and SetNullSlot change what the fake's initialize writes, for binding refusals.
// Defaults: funcMain_Startup returns &raster.info, funcMain_Swap returns the frame numbers
// 2, 3, ..., funcMain_LockBuffer returns null, funcTexture_PreCacheMipMap gives the bitmap the
// raster handle 1, 2, ... and funcTexture_UncacheMipMap clears it; every other slot returns 1.
// The destructor forgets the bound table and lets renderMain_InitDll load libraries again.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "rasterLib.h"

#define FAKE_RASTER_SLOT(field) ((int)(offsetof(rasterLib, field) / 4))

namespace fakes {

enum { RASTER_CALL_WORDS = 12 };

// One call: its slot and its arguments as 32-bit stack words (a double takes two words).
struct RasterCall {
    int slot = 0;
    int numWords = 0;
    uint32_t words[RASTER_CALL_WORDS] = {};

    uint32_t Word(int i) const { return words[i]; }
    template <typename T> T Arg(int i) const { return (T)(uintptr_t)words[i]; }
    float Float(int i) const { float f; memcpy(&f, &words[i], 4); return f; }
    double Double(int firstWord) const { double d; memcpy(&d, &words[firstWord], 8); return d; }
};

using RasterHandler = std::function<uint32_t(const RasterCall&)>;

class FakeRaster {
public:
    FakeRaster();
    ~FakeRaster();
    FakeRaster(const FakeRaster&) = delete;
    FakeRaster& operator=(const FakeRaster&) = delete;

    // The fake's rlMain_Initialize: writes the version and the 46 recording operations.
    static void __cdecl Initialize(rasterLib* table);
    // Binds the fake table through the front-end's checks; 1 when bound.
    int Bind();

    void SetVersion(uint32_t version) { version_ = version; }
    void SetNullSlot(int slot) { nullSlot_ = slot; }
    void SetResult(int slot, uint32_t result);
    void SetHandler(int slot, RasterHandler handler);

    const std::vector<RasterCall>& Calls() const { return calls_; }
    // For a caller that must not allocate while calls are recorded: room for that many calls
    // at once, and forgetting the calls while keeping it.
    void ReserveCalls(size_t count) { calls_.reserve(count); }
    void ForgetCalls() { calls_.clear(); }
    int Count(int slot) const;
    const RasterCall* Last(int slot) const;
    // The slots called, in call order.
    std::vector<int> Slots() const;
    void ClearCalls() { std::vector<RasterCall>().swap(calls_); }  // and gives their memory back
    int InitializeCount() const { return initializeCount_; }

    RasterInfo info = {};

private:
    friend uint32_t RecordRasterCall(const RasterCall& call);
    uint32_t Dispatch(const RasterCall& call);

    uint32_t version_ = RASTER_LIB_VERSION;
    int nullSlot_ = 0;
    int initializeCount_ = 0;
    uint32_t nextFrame_ = 2;
    uint32_t nextHandle_ = 1;
    RasterHandler handlers_[RASTER_LIB_NUM_SLOTS + 1];
    std::vector<RasterCall> calls_;
};

}  // namespace fakes
