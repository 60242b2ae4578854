// The settings written to palvera.ini: at process exit, and saved and loaded again.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "fixtureChildProcess.h"
#include "fixtureFiles.h"
#include "fixtureProfile.h"
#include "fixtureTestFolder.h"
#include "renderSettings.h"
#include "stdConfig.h"

namespace {

// Runs the probe program in a folder of its own and waits for it to end.
bool RunProbe(const std::string& folder, const std::string& arguments)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string path = exe;
    path = path.substr(0, path.find_last_of('\\') + 1) + "render_settings_probe.exe";
    std::string command = "\"" + path + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return false;
    bool ended = WaitForSingleObject(process.hProcess, fixtures::kChildProcessLimitMs) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ended && code == 0;
}

std::string Raw(const std::string& file, const char* section, const char* key)
{
    char text[128];
    GetPrivateProfileStringA(section, key, "<missing>", text, sizeof text, file.c_str());
    return text;
}

struct Key {
    const char* name;
    std::string expected;
};

std::string Int(long long value)
{
    return std::to_string(value);
}

// The detail keys, from the level-of-detail index on, in the order both sections write them:
// the settings and a preset hold them under the same names.
template <typename Detail>
std::vector<Key> DetailKeys(const Detail& d)
{
    using fixtures::ProfileFloat;
    return {
        {"modelLODIndex", Int(d.modelLODIndex)},   {"modelLODScale", ProfileFloat(d.modelLODScale)},
        {"modelLODMinDist", ProfileFloat(d.modelLODMinDist)},
        {"modelLODMin", ProfileFloat(d.modelLODMin)}, {"modelLODMax", ProfileFloat(d.modelLODMax)},
        {"maxMipSize", Int(d.maxMipSize)},         {"maxMips", Int(d.maxMips)},
        {"skipMips", Int(d.skipMips)},             {"shadowDetailIndex", Int(d.shadowDetailIndex)},
        {"shadowMode", Int(d.shadowMode)},         {"shadowDetail", ProfileFloat(d.shadowDetail)},
        {"shadowHeight", ProfileFloat(d.shadowHeight)},
        {"shadowMaxDist", ProfileFloat(d.shadowMaxDist)},
        {"shadowFullDist", ProfileFloat(d.shadowFullDist)},
        {"maxThingShadows", Int(d.maxThingShadows)}, {"maxThingLights", Int(d.maxThingLights)},
        {"maxDecals", Int(d.maxDecals)},           {"particleLOD", ProfileFloat(d.particleLOD)},
        {"uiHeadLOD", ProfileFloat(d.uiHeadLOD)},
    };
}

std::vector<Key> RenderKeys(const renderSettings& s)
{
    std::vector<Key> keys = {
        {"curDetailLevel", Int(s.curDetailLevel)}, {"debugFlags", Int(s.debugFlags)},
        {"optionFlags", Int(s.optionFlags)},       {"useDevice", Int(s.useDevice)},
        {"detailFlags", Int(s.detailFlags)},
    };
    for (Key& key : DetailKeys(s)) keys.push_back(key);
    const std::vector<Key> screen = {
        {"gamma", fixtures::ProfileFloat(s.gamma)}, {"screenWidth", Int(s.screenWidth)},
        {"screenHeight", Int(s.screenHeight)},      {"screenDepth", Int(s.screenDepth)},
        {"driver", s.driver},
    };
    keys.insert(keys.end(), screen.begin(), screen.end());
    return keys;
}

std::vector<Key> CustomKeys(const renderDetailPreset& p)
{
    std::vector<Key> keys = {{"optionFlags", Int(p.optionFlags)}, {"detailFlags", Int(p.detailFlags)}};
    for (Key& key : DetailKeys(p)) keys.push_back(key);
    return keys;
}

// Compares every key of a section and checks that they were written in order.
void ExpectSection(const std::string& file, const char* section, const std::vector<Key>& keys)
{
    fixtures::Bytes bytes = fixtures::ReadBytes(file);
    std::string text(bytes.begin(), bytes.end());
    size_t at = text.find(std::string("[") + section + "]");
    ASSERT_NE(at, std::string::npos) << section;
    for (const Key& key : keys) {
        EXPECT_EQ(Raw(file, section, key.name), key.expected) << section << " " << key.name;
        size_t next = text.find(std::string("\n") + key.name + "=", at);
        EXPECT_NE(next, std::string::npos) << key.name << " out of order";
        if (next != std::string::npos) at = next;
    }
}

class RenderSettingsFile : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(stdConfig_GetPath()); }
    void TearDown() override { renderSettings_Construct(&renderSettings_current); }
};

}  // namespace

TEST_F(RenderSettingsFile, TheSettingsAreWrittenAtExit)
{
    fixtures::WorkFolder work(fixtures::TestFolderName());
    ASSERT_TRUE(RunProbe(work.Path(), ""));
    std::string file = work.Path() + "\\palvera.ini";
    ASSERT_TRUE(fixtures::FileExists(file));
    EXPECT_EQ(Raw(file, "render", "optionFlags"), "8");
    EXPECT_EQ(Raw(file, "render", "driver"), "blitvane.dll");

    renderSettings expected;
    renderSettings_Construct(&expected);
    expected.optionFlags |= RENDER_OPTION_WINDOWED;
    ExpectSection(file, "render", RenderKeys(expected));
    ExpectSection(file, "renderCustom", CustomKeys(*renderSettings_GetPreset(RENDER_PRESET_CUSTOM)));
}

TEST_F(RenderSettingsFile, ChangedSettingsAreWrittenAtExit)
{
    fixtures::WorkFolder work(fixtures::TestFolderName());
    ASSERT_TRUE(RunProbe(work.Path(), "0 800 600 32"));
    std::string file = work.Path() + "\\palvera.ini";

    renderSettings expected;
    renderSettings_Construct(&expected);
    expected.optionFlags |= RENDER_OPTION_WINDOWED;
    renderSettings_SelectPreset(&expected, 0);
    expected.screenWidth = 800;
    expected.screenHeight = 600;
    expected.screenDepth = 32;
    ExpectSection(file, "render", RenderKeys(expected));
    EXPECT_EQ(Raw(file, "render", "detailFlags"), Int(0x39D | 0x80));
    EXPECT_EQ(Raw(file, "render", "screenWidth"), "800");
}

TEST_F(RenderSettingsFile, SavedSettingsLoadBackKeyByKey)
{
    renderSettings saved;
    renderSettings_Construct(&saved);
    renderSettings_SelectPreset(&saved, 3);
    saved.debugFlags = 0x1100;
    saved.useDevice = 0x1203;
    saved.gamma = 2.2f;
    saved.screenWidth = 1024;
    saved.screenHeight = 768;
    saved.screenDepth = 32;
    strcpy(saved.driver, "other.dll");
    renderDetailPreset* custom = renderSettings_GetPreset(RENDER_PRESET_CUSTOM);
    custom->maxDecals = 77;
    custom->shadowDetail = 0.33f;
    renderDetailPreset savedCustom = *custom;
    renderSettings_Save(&saved);

    renderSettings loaded;
    renderSettings_Construct(&loaded);  // the custom row starts over as well
    EXPECT_EQ(renderSettings_GetPreset(RENDER_PRESET_CUSTOM)->maxDecals, 500u);
    renderSettings_Load(&loaded);
    saved.useDevice = 0x03;  // only the low byte is stored and read
#define SAME(field) EXPECT_EQ(loaded.field, saved.field) << #field;
    SAME(debugFlags) SAME(detailFlags) SAME(optionFlags) SAME(useDevice)
    SAME(curDetailLevel) SAME(shadowDetailIndex) SAME(shadowMode) SAME(shadowDetail)
    SAME(shadowHeight) SAME(shadowMaxDist) SAME(shadowFullDist) SAME(maxThingShadows)
    SAME(modelLODIndex) SAME(modelLODScale) SAME(modelLODMinDist) SAME(modelLODMin)
    SAME(modelLODMax) SAME(maxMipSize) SAME(maxMips) SAME(skipMips)
    SAME(maxThingLights) SAME(maxDecals) SAME(particleLOD) SAME(uiHeadLOD)
    SAME(gamma) SAME(reqScreenHeight) SAME(reqScreenWidth) SAME(screenHeight)
    SAME(screenWidth) SAME(reqScreenDepth) SAME(screenDepth) SAME(pLightGroups)
#undef SAME
    EXPECT_EQ(loaded.useDevice, 3u);
    EXPECT_EQ(loaded.gamma, 2.2f);
    EXPECT_STREQ(loaded.driver, "other.dll");
    EXPECT_EQ(memcmp(renderSettings_GetPreset(RENDER_PRESET_CUSTOM), &savedCustom, sizeof savedCustom), 0);
}

TEST_F(RenderSettingsFile, TheWindowedKeySetsTheBitEverywhere)
{
    fixtures::WriteProfile(stdConfig_GetPath(), {{"render", {{"windowed", "1"}, {"maxMips", "6"}}}});
    renderSettings s;
    renderSettings_Construct(&s);
    renderSettings_Load(&s);
    EXPECT_EQ(s.optionFlags & RENDER_OPTION_WINDOWED, RENDER_OPTION_WINDOWED);
    EXPECT_EQ(s.maxMips, 6u);
    EXPECT_EQ(s.gamma, 1.4f);  // absent keys keep the record's values
    for (int i = 0; i < RENDER_NUM_PRESETS; i++)
        EXPECT_EQ(renderSettings_GetPreset(i)->optionFlags & RENDER_OPTION_WINDOWED, RENDER_OPTION_WINDOWED);
}

TEST_F(RenderSettingsFile, AStoredZeroDoesNotClearTheWindowedBit)
{
    fixtures::WriteProfile(stdConfig_GetPath(), {{"render", {{"windowed", "0"}}}});
    renderSettings s;
    renderSettings_Construct(&s);
    s.optionFlags = RENDER_OPTION_WINDOWED;
    renderSettings_Load(&s);
    EXPECT_EQ(s.optionFlags, RENDER_OPTION_WINDOWED);
}
