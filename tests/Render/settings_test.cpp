// Render settings: defaults, presets, rows and the clamps of applying a preset.
#include <gtest/gtest.h>

#include <cstring>

#include "renderLightGroup.h"
#include "renderSettings.h"

namespace {

renderSettings Fresh()
{
    renderSettings s;
    renderSettings_Construct(&s);
    return s;
}

}  // namespace

TEST(RenderSettings, AFreshRecordHoldsTheDefaults)
{
    renderSettings s = Fresh();
    EXPECT_EQ(s.debugFlags, 0u);
    EXPECT_EQ(s.detailFlags, 0u);
    EXPECT_EQ(s.optionFlags, 0u);
    EXPECT_EQ(s.useDevice, 0u);
    EXPECT_EQ(s.curDetailLevel, 2u);
    EXPECT_EQ(s.modelLODMin, 0.0f);
    EXPECT_EQ(s.modelLODMax, 1.0f);
    EXPECT_EQ(s.modelLODIndex, 6u);
    EXPECT_EQ(s.modelLODScale, 0.01f);
    EXPECT_EQ(s.modelLODMinDist, 200.0f);
    EXPECT_EQ(s.shadowDetailIndex, 5u);
    EXPECT_EQ(s.shadowMode, 3u);
    EXPECT_EQ(s.shadowDetail, 0.15f);
    EXPECT_EQ(s.shadowHeight, 3.0f);
    EXPECT_EQ(s.shadowMaxDist, 1600.0f);
    EXPECT_EQ(s.shadowFullDist, 3000.0f);
    EXPECT_EQ(s.maxThingShadows, 1u);
    EXPECT_EQ(s.maxMipSize, 256u);
    EXPECT_EQ(s.maxMips, 4u);
    EXPECT_EQ(s.skipMips, 0u);
    EXPECT_EQ(s.maxThingLights, 4);
    EXPECT_EQ(s.maxDecals, 500u);
    EXPECT_EQ(s.particleLOD, 1.0f);
    EXPECT_EQ(s.uiHeadLOD, 1.0f);
    EXPECT_EQ(s.gamma, 1.4f);
    EXPECT_STREQ(s.driver, "blitvane.dll");
    EXPECT_EQ(s.reqScreenWidth, 640);
    EXPECT_EQ(s.reqScreenHeight, 480);
    EXPECT_EQ(s.screenWidth, 640);
    EXPECT_EQ(s.screenHeight, 480);
    EXPECT_EQ(s.reqScreenDepth, 16);
    EXPECT_EQ(s.screenDepth, 16);
    EXPECT_EQ(s.pLightGroups, renderLightGroup_table);
    EXPECT_EQ(renderLightGroup_table[0].enabled, 0u);
}

TEST(RenderSettings, TheProcessRecordIsBuiltBeforeTheEntry)
{
    EXPECT_EQ(renderSettings_current.curDetailLevel, 2u);
    EXPECT_EQ(renderSettings_current.modelLODMax, 1.0f);
    EXPECT_STREQ(renderSettings_current.driver, "blitvane.dll");
}

TEST(RenderSettings, PresetsComeFromTheirRows)
{
    Fresh();
    const renderDetailPreset* p0 = renderSettings_GetPreset(0);
    const renderDetailPreset* p1 = renderSettings_GetPreset(1);
    const renderDetailPreset* p3 = renderSettings_GetPreset(3);
    ASSERT_NE(p0, nullptr);
    EXPECT_EQ(p0->detailFlags, 0x39Du);
    EXPECT_EQ(p0->modelLODIndex, 1u);
    EXPECT_EQ(p0->modelLODMax, 0.6f);
    EXPECT_EQ(p0->shadowMode, 0u);
    EXPECT_EQ(p0->maxThingShadows, 0u);
    EXPECT_EQ(p0->maxThingLights, 1);
    EXPECT_EQ(p0->particleLOD, 0.2f);
    EXPECT_EQ(p0->uiHeadLOD, 0.2f);
    EXPECT_EQ(p1->detailFlags, 0x210u);
    EXPECT_EQ(p1->modelLODScale, 0.02f);
    EXPECT_EQ(p1->modelLODMin, 0.1f);
    EXPECT_EQ(p1->shadowDetailIndex, 2u);
    EXPECT_EQ(p1->shadowMaxDist, 1000.0f);
    EXPECT_EQ(p1->maxDecals, 250u);
    EXPECT_EQ(p3->modelLODMinDist, 800.0f);
    EXPECT_EQ(p3->shadowDetail, 0.5f);
    EXPECT_EQ(p3->shadowFullDist, 4000.0f);
    const renderDetailPreset* custom = renderSettings_GetPreset(4);
    const renderDetailPreset* p2 = renderSettings_GetPreset(2);
    EXPECT_EQ(memcmp(custom, p2, sizeof *p2), 0);
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(renderSettings_GetPreset(i)->optionFlags, 0u);
        EXPECT_EQ(renderSettings_GetPreset(i)->maxMipSize, 256u);
    }
    EXPECT_EQ(renderSettings_GetPreset(5), nullptr);
    EXPECT_EQ(renderSettings_GetPreset(-1), nullptr);
}

TEST(RenderSettings, RowIndexTenSetsOnlyTheIndexAndHigherNothing)
{
    // A row below ten fills two values; row ten sets the index and leaves them; past ten
    // changes nothing.
    const struct {
        const char* name;
        void (*setRow)(renderDetailPreset*, uint32_t);
        uint32_t renderDetailPreset::*index;
        uint32_t row;
        float renderDetailPreset::*value;
        float rowValue;
        float renderDetailPreset::*other;
        float rowOther;
        uint32_t pastTen;
    } rows[] = {
        {"shadow", renderSettings_SetShadowRow, &renderDetailPreset::shadowDetailIndex, 9,
         &renderDetailPreset::shadowDetail, 1.0f, &renderDetailPreset::shadowFullDist, 6000.0f, 11},
        {"level of detail", renderSettings_SetLODRow, &renderDetailPreset::modelLODIndex, 0,
         &renderDetailPreset::modelLODScale, 0.04f, &renderDetailPreset::modelLODMax, 0.5f, 200},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        renderDetailPreset p = {};
        r.setRow(&p, r.row);
        EXPECT_EQ(p.*r.value, r.rowValue);
        EXPECT_EQ(p.*r.other, r.rowOther);
        r.setRow(&p, 10);
        EXPECT_EQ(p.*r.index, 10u);
        EXPECT_EQ(p.*r.value, r.rowValue);
        r.setRow(&p, r.pastTen);
        EXPECT_EQ(p.*r.index, 10u);
    }
}

TEST(RenderSettings, PresetZeroTurnsDecalsOff)
{
    renderSettings s = Fresh();
    EXPECT_EQ(renderSettings_SelectPreset(&s, 0), 1);
    EXPECT_EQ(s.detailFlags, 0x39Du | 0x80u);
    EXPECT_EQ(s.curDetailLevel, 0u);
    EXPECT_EQ(s.maxThingLights, 1);
    EXPECT_EQ(s.modelLODMax, 0.6f);
    renderSettings_SelectPreset(&s, 1);
    EXPECT_EQ(s.detailFlags, 0x210u);
    EXPECT_EQ(renderSettings_SelectPreset(&s, 5), 0);
    EXPECT_EQ(s.curDetailLevel, 1u);
}

TEST(RenderSettings, ApplyingKeepsTheWindowedBit)
{
    renderSettings s = Fresh();
    s.optionFlags = RENDER_OPTION_WINDOWED | RENDER_OPTION_TRUECOLOR;
    renderDetailPreset p = *renderSettings_GetPreset(2);
    p.optionFlags = RENDER_OPTION_HW_TRANSFORM;
    renderSettings_ApplyPreset(&s, &p);
    EXPECT_EQ(s.optionFlags, RENDER_OPTION_HW_TRANSFORM | RENDER_OPTION_WINDOWED);
    s.optionFlags = 0;
    renderSettings_ApplyPreset(&s, &p);
    EXPECT_EQ(s.optionFlags, RENDER_OPTION_HW_TRANSFORM);
}

TEST(RenderSettings, ApplyingClampsTheLimits)
{
    renderSettings s = Fresh();
    renderDetailPreset p = *renderSettings_GetPreset(2);
    p.maxMipSize = 16;
    p.maxMips = 12;
    p.skipMips = 5;
    p.maxThingLights = 9;
    p.modelLODScale = -1.0f;
    p.particleLOD = -0.5f;
    p.uiHeadLOD = 0.0f;
    renderSettings_ApplyPreset(&s, &p);
    EXPECT_EQ(s.maxMipSize, 32u);
    EXPECT_EQ(s.maxMips, 8u);
    EXPECT_EQ(s.skipMips, 3u);
    EXPECT_EQ(s.maxThingLights, 4);
    EXPECT_EQ(s.modelLODScale, 0.0f);
    EXPECT_EQ(s.particleLOD, 0.0f);
    EXPECT_EQ(s.uiHeadLOD, 0.0f);
}

TEST(RenderSettings, LevelOfDetailLimitsStayOrdered)
{
    renderSettings s = Fresh();
    s.modelLODMax = 0.5f;
    renderDetailPreset p = *renderSettings_GetPreset(2);
    p.modelLODMin = 0.8f;  // above the record's current maximum
    p.modelLODMax = 0.3f;  // below the new minimum
    renderSettings_ApplyPreset(&s, &p);
    EXPECT_EQ(s.modelLODMin, 0.5f);
    EXPECT_EQ(s.modelLODMax, 0.5f);
    p.modelLODMin = -2.0f;
    p.modelLODMax = 3.0f;
    renderSettings_ApplyPreset(&s, &p);
    EXPECT_EQ(s.modelLODMin, 0.0f);
    EXPECT_EQ(s.modelLODMax, 1.0f);
}
