// Binding the raster library by file name: the refusals leave the front-end unbound, call
// nothing through the refused table and keep the library loaded. The stub libraries stay loaded
// for the life of the process, and with them their call counters: a case compares counts.
#include <gtest/gtest.h>

#include <windows.h>

#include "messageBoxRecorder.h"
#include "renderAssert.h"
#include "renderMain.h"

namespace {

typedef int(__cdecl* CallCountFunc)();

int StubCalls(const char* dll)
{
    HMODULE module = GetModuleHandleA(dll);
    if (!module) return -1;
    CallCountFunc count = (CallCountFunc)(void*)GetProcAddress(module, "rasterStub_CallCount");
    return count ? count() : -1;
}

struct Refusal {
    const char* dll;
    bool versionBox;
};

// Every case starts unbound and leaves the front-end unbound.
class RenderBinding : public testing::Test {
protected:
    void SetUp() override { renderMain_Unbind(); }
    void TearDown() override { renderMain_Unbind(); }
};

}  // namespace

TEST_F(RenderBinding, RefusedLibrariesFailCleanlyAndStayLoaded)
{
    const Refusal refusals[] = {
        {"test_raster_v13.dll", true},
        {"test_raster_v15.dll", true},
        {"test_raster_nullslot.dll", false},
        {"test_raster_noexport.dll", false},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.dll);
        MessageBoxRecorder boxes;
        EXPECT_EQ(renderMain_InitDll(r.dll), 0);
        EXPECT_FALSE(renderMain_IsBound());
        EXPECT_NE(GetModuleHandleA(r.dll), nullptr);   // never unloaded
        EXPECT_EQ(StubCalls(r.dll), 0);                // nothing called through the table
        if (r.versionBox) {
            ASSERT_EQ(MessageBoxRecorder::Shown().size(), 1u);
            EXPECT_EQ(MessageBoxRecorder::Shown()[0].text, "Wrong Raster DLL version.");
            EXPECT_EQ(MessageBoxRecorder::Shown()[0].caption, "Error");
            EXPECT_EQ(MessageBoxRecorder::Shown()[0].style, (UINT)MB_TASKMODAL);
        } else {
            EXPECT_TRUE(MessageBoxRecorder::Shown().empty());
        }
    }
}

TEST_F(RenderBinding, MissingLibraryOrNameFails)
{
    MessageBoxRecorder boxes;
    EXPECT_EQ(renderMain_InitDll("test_raster_missing.dll"), 0);
    EXPECT_EQ(renderMain_InitDll(""), 0);
    EXPECT_EQ(renderMain_InitDll(nullptr), 0);
    EXPECT_FALSE(renderMain_IsBound());
    EXPECT_TRUE(MessageBoxRecorder::Shown().empty());
}

TEST_F(RenderBinding, AcceptedLibraryIsCalledOnlyThroughItsTable)
{
    const char* dll = "test_raster_v14.dll";
    const int callsBefore = GetModuleHandleA(dll) ? StubCalls(dll) : 0;
    ASSERT_EQ(renderMain_InitDll(dll), 1);
    EXPECT_TRUE(renderMain_IsBound());
    EXPECT_EQ(StubCalls(dll), callsBefore);
    // An assertion gives the display back through the bound table's shutdown.
    renderAssert_Fail("expression", __FILE__, __LINE__);
    EXPECT_EQ(StubCalls(dll), callsBefore + 1);
}

TEST_F(RenderBinding, RefusalKeepsTheTableBoundBefore)
{
    ASSERT_EQ(renderMain_InitDll("test_raster_v14.dll"), 1);
    rlFuncMain_Shutdown before = renderMain_rasterLib.funcMain_Shutdown;
    MessageBoxRecorder boxes;
    EXPECT_EQ(renderMain_InitDll("test_raster_nullslot.dll"), 0);
    EXPECT_EQ(renderMain_rasterLib.funcMain_Shutdown, before);
    EXPECT_TRUE(renderMain_IsBound());
}
