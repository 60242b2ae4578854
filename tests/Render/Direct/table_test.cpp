// The raster library as the viewer meets it: loaded by file name, one export, a full table.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <string>
#include <vector>
#include "rasterLib.h"

namespace {

struct LoadedLibrary {
    HMODULE module = LoadLibraryA("blitvane.dll");
    ~LoadedLibrary() { if (module) FreeLibrary(module); }
};

// The names in the module's export directory, read from its image in memory.
std::vector<std::string> exportedNames(HMODULE module)
{
    const auto* base = reinterpret_cast<const uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (dir.VirtualAddress == 0) return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; i++)
        names.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
    if (exports->NumberOfFunctions != exports->NumberOfNames) names.emplace_back("(unnamed export)");
    return names;
}

} // namespace

TEST(RasterTable, TheLibraryExportsOnlyTheUndecoratedInitializer)
{
    LoadedLibrary lib;
    ASSERT_NE(lib.module, nullptr);
    EXPECT_EQ(exportedNames(lib.module), std::vector<std::string>{"rlMain_Initialize"});
    EXPECT_NE(GetProcAddress(lib.module, RASTER_LIB_EXPORT_NAME), nullptr);
}

TEST(RasterTable, InitializeWritesVersion14AndFortySixOperationsOfTheLibrary)
{
    LoadedLibrary lib;
    ASSERT_NE(lib.module, nullptr);
    auto initialize = reinterpret_cast<rlFuncMain_Initialize>(
        reinterpret_cast<void*>(GetProcAddress(lib.module, RASTER_LIB_EXPORT_NAME)));
    ASSERT_NE(initialize, nullptr);

    // One spare word after the table shows that nothing is written past its 47 words.
    uint32_t words[1 + RASTER_LIB_NUM_SLOTS + 1] = {};
    words[1 + RASTER_LIB_NUM_SLOTS] = 0xCDCDCDCD;
    auto* table = reinterpret_cast<rasterLib*>(words);
    initialize(table);
    EXPECT_EQ(words[0], 14u);
    EXPECT_EQ(words[1 + RASTER_LIB_NUM_SLOTS], 0xCDCDCDCDu);

    const auto* base = reinterpret_cast<const uint8_t*>(lib.module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const uintptr_t begin = reinterpret_cast<uintptr_t>(base);
    const uintptr_t end = begin + nt->OptionalHeader.SizeOfImage;
    for (int slot = 1; slot <= RASTER_LIB_NUM_SLOTS; slot++) {
        SCOPED_TRACE(slot);
        EXPECT_NE(words[slot], 0u);
        EXPECT_GE(words[slot], begin);
        EXPECT_LT(words[slot], end);
    }
    // The operations are distinct: no slot repeats another.
    for (int a = 1; a <= RASTER_LIB_NUM_SLOTS; a++)
        for (int b = a + 1; b <= RASTER_LIB_NUM_SLOTS; b++)
            EXPECT_NE(words[a], words[b]) << "slots " << a << " and " << b;

    // A second call writes the same words.
    uint32_t again[1 + RASTER_LIB_NUM_SLOTS] = {};
    initialize(reinterpret_cast<rasterLib*>(again));
    EXPECT_EQ(std::memcmp(again, words, sizeof(again)), 0);

    // The operations that need no device answer as the table promises.
    EXPECT_EQ(table->funcMain_Shutdown(), 1);
    EXPECT_EQ(table->funcMain_FlushFrames(0), 1);
    EXPECT_EQ(table->funcMain_SetClipRect(), 1);
}
