// Drawing-mode names, the render flags word and the keepers of the render front-end.
#include <gtest/gtest.h>

#include "fakeRaster.h"
#include "render.h"
#include "renderFlags.h"
#include "renderTexture.h"

using fakes::FakeRaster;

TEST(RenderModes, NamesGiveTheirNumberWithoutRegardToCase)
{
    struct Case {
        const char* name;
        int mode;
    };
    const Case cases[] = {
        {"sky", 1},           {"clearbuffer", 2},     {"rgba", 4},         {"RGBA", 4},
        {"rgb_texalpha", 5},  {"fullbright", 9},      {"glow", 13},        {"lightmappedwall", 21},
        {"lightmap", 22},     {"LightMapAdd", 23},    {"rgb2sided", 25},   {"shadow", 30},
        {"zonly", 31},        {"outline", 36},        {"lightmap_mod", 40}, {"full_add", 41},
        {"lightvolume", 42},  {"FULL_SUB", 43},       {"", 0},             {"rgba ", 0},
        {"rgb_", 0},          {"unknown", 0},         {nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        EXPECT_EQ(renderTexture_ModeFromName(c.name), c.mode);
    }
    // Every number has a name of its own that leads back to it.
    for (int mode = 1; mode <= RENDERMODE_COUNT; mode++) {
        ASSERT_NE(renderTexture_ModeName(mode), nullptr);
        EXPECT_EQ(renderTexture_ModeFromName(renderTexture_ModeName(mode)), mode);
    }
    EXPECT_EQ(renderTexture_ModeName(0), nullptr);
    EXPECT_EQ(renderTexture_ModeName(44), nullptr);
}

TEST(RenderFlags, OnlyChangesReachTheRasterLibrary)
{
    FakeRaster raster;
    ASSERT_TRUE(raster.Bind());
    const int setFlags = FAKE_RASTER_SLOT(funcMode_SetFlags);
    struct Step {
        void (*op)(uint32_t);
        uint32_t bits;
        uint32_t word;
        int calls;
    };
    const Step steps[] = {
        {renderFlags_Set, 0x4, 0x4, 1},   {renderFlags_Set, 0x4, 0x4, 1},
        {renderFlags_Toggle, 0x5, 0x1, 2}, {renderFlags_Clear, 0x8, 0x1, 2},
        {renderFlags_Set, 0x30, 0x31, 3}, {renderFlags_Clear, 0x11, 0x20, 4},
    };
    for (const Step& s : steps) {
        s.op(s.bits);
        EXPECT_EQ(renderFlags_Get(), s.word);
        EXPECT_EQ(raster.Count(setFlags), s.calls);
        EXPECT_EQ(raster.Last(setFlags)->Word(0), s.word);   // the library has the new word
    }
}

TEST(RenderKeepers, KeepWhatWasSet)
{
    render_SetWindow((HWND)0x10);
    render_SetInstance((HINSTANCE)0x20);
    EXPECT_EQ(render_GetWindow(), (HWND)0x10);
    EXPECT_EQ(render_GetInstance(), (HINSTANCE)0x20);
    renderRecord record = {{1, 2, 3, 4}};
    render_SetRecord(&record);
    record.words[0] = 9;
    EXPECT_EQ(render_GetRecord()->words[0], 1u);
    EXPECT_EQ(render_GetRecord()->words[3], 4u);
}
