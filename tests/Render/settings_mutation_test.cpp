// The settings file palvera.ini fed seeded mutants (fixtureLoaderMutations.h): whatever it holds,
// loading it stays within a heap bound derived from its size, leaves no file open, and a good
// file loaded after one that gave nothing loads as in a fresh process.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "fixtureFiles.h"
#include "fixtureLoaderMutations.h"
#include "renderSettings.h"
#include "stdConfig.h"
#include "stdFile.h"

namespace {

class RenderSettingsMutations : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(stdConfig_GetPath()); }
    void TearDown() override
    {
        DeleteFileA(stdConfig_GetPath());
        renderSettings_Construct(&renderSettings_current);
    }
};

// The record and the custom row as a fresh process reads them from the file.
std::string LoadFresh()
{
    renderSettings fresh, loaded;
    memset(&fresh, 0, sizeof fresh);
    memset(&loaded, 0, sizeof loaded);
    renderSettings_Construct(&fresh);
    renderSettings_Construct(&loaded);
    const renderDetailPreset freshCustom = *renderSettings_GetPreset(RENDER_PRESET_CUSTOM);
    renderSettings_Load(&loaded);
    const renderDetailPreset* custom = renderSettings_GetPreset(RENDER_PRESET_CUSTOM);
    // A file that changed nothing gave nothing: it counts as refused.
    if (!memcmp(&fresh, &loaded, sizeof loaded) && !memcmp(&freshCustom, custom, sizeof freshCustom))
        return std::string();
    fixtures::MutationDigest digest;
    digest.Add(loaded).Add(*custom);
    return digest.Text();
}

}  // namespace

TEST_F(RenderSettingsMutations, SettingsFile)
{
    renderSettings saved;
    renderSettings_Construct(&saved);
    renderSettings_SelectPreset(&saved, 2);
    saved.gamma = 1.8f;
    saved.screenWidth = 1024;
    saved.screenHeight = 768;
    saved.screenDepth = 32;
    renderSettings_GetPreset(RENDER_PRESET_CUSTOM)->maxDecals = 77;
    renderSettings_Save(&saved);
    renderSettings_Construct(&saved);
    const fixtures::Bytes good = fixtures::ReadBytes(stdConfig_GetPath());
    ASSERT_FALSE(good.empty());

    fixtures::LoaderUnderMutation loader;
    loader.format = "palvera.ini";
    loader.good = good;
    // Each mutant is read key by key through the system's profile functions, which read the
    // file again for every key: 200 mutants, every sixth number of the file set to the telling
    // values, keep the run short.
    const auto numbers = fixtures::MutationNumbersOf(std::string(good.begin(), good.end()));
    for (size_t i = 0; i < numbers.size(); i += 6) loader.fields.push_back(numbers[i]);
    loader.count = 200;
    // Every key is read into a buffer of the module's own; nothing is allocated for the file.
    loader.bound = [](size_t bytes) { return bytes + 1024; };
    loader.write = [](const fixtures::Bytes& b) { return fixtures::WriteBytes(stdConfig_GetPath(), b); };
    loader.load = LoadFresh;
    loader.openFiles = stdFile_GetOpenCount;
    fixtures::RunLoaderMutations(loader);
}
