// tarvelThings.dll loaded for real and driven through its exports, as the host does.
#include <gtest/gtest.h>
#include <windows.h>
#include <array>
#include <cstring>
#include <memory>
#include <vector>
#include "ThingsRecords.h"
#include "ThingsLibrary.h"

namespace {

const char* const exportNames[] = {
    "_Version", "_CreateAsChild", "_Destroy", "_Position", "_Show", "_Hide",
    "_SetTemplateFilesInfo", "_GetTemplateFilesInfo", "_SetThingsInfo", "_GetThingsInfo",
    "_AddTemplate", "_BeginAddTemplates", "_EndAddTemplates", "_GetSelectedTemplate",
    "_SetBaseDir", "_RegisterCloseCallback", "_RegisterApplyCallback",
    "_RegisterPositionCallback", "_RegisterTemplateDoubleClickCallback",
    "_RegisterTemplateFilesCallback",
};


// The things record inside guard bytes.
struct Guarded : TGuarded<ThingsInfo> {
    ThingsInfo* info() { return rec(); }
};

void AddPair(ThingsInfo* info, const char* key, const char* value, uint32_t flag = 0)
{
    uint32_t i = info->pairCount++;
    std::strcpy(info->key[i], key);
    std::strcpy(info->value[i], value);
    info->flag[i] = flag;
}

struct PositionCall {
    int left, top, width, height;
};
std::vector<PositionCall> positionCalls;
Things* current = nullptr;
std::unique_ptr<ThingsInfo> fetched;

void OnPosition(int l, int t, int w, int h) { positionCalls.push_back({l, t, w, h}); }
void OnPositionFetch(int l, int t, int w, int h)
{
    OnPosition(l, t, w, h);
    current->GetThingsInfo(fetched.get());  // hosts call back into the panel from callbacks
}
void OnPositionDestroy(int l, int t, int w, int h)
{
    OnPosition(l, t, w, h);
    current->Destroy();
}
void Nothing() {}

class ThingsBoundary : public testing::Test {
protected:
    Things things;
    HWND host = nullptr;
    void SetUp() override
    {
        ASSERT_NE(things.lib.Module(), nullptr) << PanelLibrary_Path("tarvelThings.dll");
        host = PanelLibrary_HostWindow();
        current = &things;
        positionCalls.clear();
        fetched.reset(new ThingsInfo());
    }
    void TearDown() override
    {
        if (things.Destroy)
            things.Destroy();
        DestroyWindow(host);
        current = nullptr;
    }
};

}  // namespace

TEST_F(ThingsBoundary, EveryExportByNameAndOrdinal)
{
    PanelLibrary_ExpectExports(things.lib, exportNames, 20);
}

TEST_F(ThingsBoundary, CallsBeforeCreateDoNothing)
{
    EXPECT_EQ(things.Version(), 1);
    Guarded g;
    std::memset(g.info(), 0x33, sizeof(ThingsInfo));
    things.GetThingsInfo(g.info());
    EXPECT_EQ(g.info()->pairCount, 0x33333333u);
    things.SetThingsInfo(g.info());
    things.Position(0, 0, 10, 10);
    EXPECT_FALSE(things.Show());
    things.Hide();
    things.BeginAddTemplates("...");
    things.AddTemplate("A", 5, "[-[none]-]");
    things.EndAddTemplates("...");
    things.SetBaseDir("C:\\Game");
    things.RegisterApply(Nothing);
    things.SetTemplateFilesInfo(g.info());
    things.GetTemplateFilesInfo(g.info());
    EXPECT_EQ(g.info()->selectedCount, 0x33333333u);
    ASSERT_NE(things.GetSelectedTemplate(), nullptr);
    EXPECT_STREQ(things.GetSelectedTemplate(), "");
    things.Destroy();
    EXPECT_TRUE(g.GuardsIntact());
}

TEST_F(ThingsBoundary, NullPointersAndCallsAfterDestroyDoNothing)
{
    HWND panel = things.CreateAsChild(host);
    ASSERT_NE(panel, nullptr);
    things.SetThingsInfo(nullptr);
    things.GetThingsInfo(nullptr);
    things.SetTemplateFilesInfo(nullptr);
    things.GetTemplateFilesInfo(nullptr);
    things.AddTemplate(nullptr, 5, nullptr);
    things.BeginAddTemplates(nullptr);
    things.EndAddTemplates(nullptr);
    things.SetBaseDir(nullptr);
    things.BeginAddTemplates("...");
    things.BeginAddTemplates("f.zul");
    things.AddTemplate("Sword", 20, nullptr);  // a null subcategory counts as none
    things.EndAddTemplates("f.zul");
    things.EndAddTemplates("...");
    things.Destroy();
    EXPECT_FALSE(IsWindow(panel));
    std::unique_ptr<ThingsInfo> info(new ThingsInfo());
    info->pairCount = 77;
    things.GetThingsInfo(info.get());
    EXPECT_EQ(info->pairCount, 77u);
    things.Position(1, 2, 3, 4);
    EXPECT_FALSE(things.Show());
    EXPECT_STREQ(things.GetSelectedTemplate(), "");
    things.Destroy();
}

TEST_F(ThingsBoundary, CreateMakesAChildOfTheHost)
{
    HWND panel = things.CreateAsChild(host);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(GetParent(panel), host);
    EXPECT_TRUE(GetWindowLongA(panel, GWL_STYLE) & WS_CHILD);
    char caption[64] = {};
    GetWindowTextA(panel, caption, sizeof caption);
    EXPECT_STREQ(caption, "Things & Templates");
    ShowWindow(host, SW_SHOW);
    EXPECT_TRUE(things.Show());
    EXPECT_TRUE(IsWindowVisible(panel));
    things.Hide();
    EXPECT_FALSE(IsWindowVisible(panel));
    // A second create keeps the one panel.
    EXPECT_EQ(things.CreateAsChild(host), panel);
}

TEST_F(ThingsBoundary, PairsRoundTripWithCodesAndNothingOutsideTheRecord)
{
    ASSERT_NE(things.CreateAsChild(host), nullptr);
    things.SetBaseDir("C:\\Game");
    Guarded in;
    std::memset(in.info(), 0, sizeof(ThingsInfo));
    in.info()->selectedCount = 3;
    AddPair(in.info(), "origin", "1 2 3", 1);
    AddPair(in.info(), "CLASSNAME", "door", 3);
    std::memset(in.info()->key[2], 'z', 128);  // fills its field, no NUL
    std::memset(in.info()->value[2], 'y', 128);
    in.info()->pairCount = 500;  // far more than the record holds
    for (int i = 3; i < 64; i++)
        std::strcpy(in.info()->key[i], ("K" + std::to_string(100 + i)).c_str());
    things.SetThingsInfo(in.info());

    Guarded out;
    things.GetThingsInfo(out.info());
    EXPECT_TRUE(out.GuardsIntact());
    ThingsInfo* o = out.info();
    EXPECT_EQ(o->selectedCount, 3u);
    EXPECT_EQ(o->pairCount, 64u);
    EXPECT_STREQ(o->key[0], "CLASSNAME");
    EXPECT_STREQ(o->value[0], "door");
    EXPECT_EQ(o->flag[0], (uint32_t)THINGS_UNCHANGED);
    int origin = -1, zs = -1;
    for (uint32_t i = 0; i < o->pairCount; i++) {
        ASSERT_LT(std::strlen(o->key[i]), 128u);
        if (!std::strcmp(o->key[i], "ORIGIN"))
            origin = (int)i;
        if (o->key[i][0] == 'Z')
            zs = (int)i;
    }
    ASSERT_GE(origin, 0);
    EXPECT_STREQ(o->value[origin], "1 2 3");
    ASSERT_GE(zs, 0);
    EXPECT_EQ(std::string(o->key[zs]), std::string(127, 'Z'));
    EXPECT_EQ(std::string(o->value[zs]), std::string(127, 'y'));
    EXPECT_EQ(o->selectedTemplate[0], 0);
}

// Records of nothing but 0xFF bytes and of nothing but 0x7F bytes: no NUL anywhere, counts far
// beyond the record, every flag set. The panel takes 64 pairs and 16 file names, writes only
// inside the records and ends every key and value inside its field.
TEST_F(ThingsBoundary, RecordsWithoutAnyNulStayInsideTheirBytes)
{
    ASSERT_NE(things.CreateAsChild(host), nullptr);
    things.SetBaseDir("C:\\NoSuchGame");
    for (unsigned char fill : {0xFF, 0x7F}) {
        Guarded in, out;
        std::memset(in.info(), fill, sizeof(ThingsInfo));
        things.SetThingsInfo(in.info());
        things.GetThingsInfo(out.info());
        EXPECT_TRUE(out.GuardsIntact());
        EXPECT_EQ(out.info()->selectedCount, in.info()->selectedCount);
        EXPECT_EQ(out.info()->pairCount, 64u);
        for (int i = 0; i < 64; i++) {
            EXPECT_EQ(std::strlen(out.info()->key[i]), 127u);
            EXPECT_EQ(std::strlen(out.info()->value[i]), 127u);
            EXPECT_EQ(out.info()->flag[i], (uint32_t)THINGS_UNCHANGED);
        }

        TGuarded<std::array<unsigned char, 4 + 32 * 32>> files, filesOut;
        std::memset(files.rec(), fill, sizeof *files.rec());
        things.SetTemplateFilesInfo((const TemplateFilesInfo*)files.rec());
        things.GetTemplateFilesInfo((TemplateFilesInfo*)filesOut.rec());
        EXPECT_TRUE(files.GuardsIntact() && filesOut.GuardsIntact());
        EXPECT_EQ(((TemplateFilesInfo*)filesOut.rec())->count, 16u);
        EXPECT_EQ(std::memcmp(filesOut.rec()->data() + 4, files.rec()->data() + 4, 16 * 32), 0);
        EXPECT_EQ(filesOut.rec()->at(4 + 16 * 32), 0xEE);  // nothing written past the names
    }
}

TEST_F(ThingsBoundary, TemplateKeySelectsTheLeafOfTheTree)
{
    ASSERT_NE(things.CreateAsChild(host), nullptr);
    things.BeginAddTemplates("...");
    things.BeginAddTemplates("global.zul");
    things.AddTemplate("Sword", 20, "Blades");
    things.AddTemplate("Orc", 5, "[-[none]-]");
    things.EndAddTemplates("global.zul");
    things.EndAddTemplates("...");
    EXPECT_STREQ(things.GetSelectedTemplate(), "");

    std::unique_ptr<ThingsInfo> in(new ThingsInfo()), out(new ThingsInfo());
    in->selectedCount = 1;
    AddPair(in.get(), "TEMPLATE", "sword");
    things.SetThingsInfo(in.get());
    EXPECT_STREQ(things.GetSelectedTemplate(), "Sword");
    things.GetThingsInfo(out.get());
    EXPECT_STREQ(out->selectedTemplate, "Sword");

    // With no selection in the host the pages stay empty and no leaf is selected.
    in->selectedCount = 0;
    things.SetThingsInfo(in.get());
    things.GetThingsInfo(out.get());
    EXPECT_EQ(out->selectedTemplate[0], 0);
    EXPECT_STREQ(things.GetSelectedTemplate(), "Sword");
}

TEST_F(ThingsBoundary, TemplateFilesRoundTrip)
{
    ASSERT_NE(things.CreateAsChild(host), nullptr);
    struct {
        uint32_t count;
        char name[4][32];
        char tail[32];
    } in = {}, out;
    in.count = 3;
    std::strcpy(in.name[0], "extra.zul");
    std::memset(in.name[1], 'w', 32);
    std::strcpy(in.name[2], "last.zul");
    things.SetTemplateFilesInfo(&in);
    std::memset(&out, 0x77, sizeof out);
    things.GetTemplateFilesInfo(&out);
    EXPECT_EQ(out.count, 3u);
    EXPECT_EQ(std::memcmp(out.name, in.name, 3 * 32), 0);
    EXPECT_EQ((unsigned char)out.name[3][0], 0x77);
}

TEST_F(ThingsBoundary, PositionReportsResizesAndLaterMoves)
{
    ASSERT_NE(things.CreateAsChild(host), nullptr);
    things.RegisterPosition(OnPosition);
    things.Position(10, 20, 310, 520);
    ASSERT_FALSE(positionCalls.empty());
    PositionCall last = positionCalls.back();
    EXPECT_EQ(last.left, 10); EXPECT_EQ(last.top, 20);
    EXPECT_EQ(last.width, 300); EXPECT_EQ(last.height, 500);

    positionCalls.clear();
    things.Position(10, 20, 310, 520);  // nothing changes
    EXPECT_TRUE(positionCalls.empty());
    things.Position(40, 50, 340, 550);  // a move alone, now reported
    ASSERT_FALSE(positionCalls.empty());
    EXPECT_EQ(positionCalls.back().left, 40);
    EXPECT_EQ(positionCalls.back().width, 300);
}

TEST_F(ThingsBoundary, FirstMoveAloneIsNotReported)
{
    ASSERT_NE(things.CreateAsChild(host), nullptr);
    RECT r;
    GetWindowRect(things.CreateAsChild(host), &r);
    things.RegisterPosition(OnPosition);
    things.Position(5, 5, 5 + (r.right - r.left), 5 + (r.bottom - r.top));
    EXPECT_TRUE(positionCalls.empty());
}

TEST_F(ThingsBoundary, CallbacksMayCallBackIntoThePanel)
{
    ASSERT_NE(things.CreateAsChild(host), nullptr);
    std::unique_ptr<ThingsInfo> in(new ThingsInfo());
    in->selectedCount = 9;
    things.SetThingsInfo(in.get());
    things.RegisterPosition(OnPositionFetch);
    things.Position(0, 0, 200, 200);
    EXPECT_FALSE(positionCalls.empty());
    EXPECT_EQ(fetched->selectedCount, 9u);

    // Registering again replaces the pointer; null stops the reports.
    things.RegisterPosition(nullptr);
    positionCalls.clear();
    things.Position(0, 0, 250, 250);
    EXPECT_TRUE(positionCalls.empty());

    // Even destroying the panel from inside a callback is survived.
    things.RegisterPosition(OnPositionDestroy);
    things.Position(0, 0, 260, 260);
    EXPECT_FALSE(positionCalls.empty());
    EXPECT_FALSE(things.Show());
}

// A host that, inside a callback, destroys the panel, makes a new one and destroys that one from
// its own callback too: neither panel may go while its handler still runs.
HWND firstPanel = nullptr, secondPanel = nullptr;
bool secondAliveInItsCallback = false;

void OnSecondPosition(int, int, int, int)
{
    current->Destroy();
    secondAliveInItsCallback = IsWindow(secondPanel) != FALSE;
}

void OnFirstPosition(int, int, int, int)
{
    current->Destroy();
    secondPanel = current->CreateAsChild(GetParent(firstPanel));
    current->RegisterPosition(OnSecondPosition);
    current->Position(0, 0, 220, 220);
}

TEST_F(ThingsBoundary, PanelsDestroyedInsideNestedCallbacksOutliveTheirHandlers)
{
    firstPanel = things.CreateAsChild(host);
    ASSERT_NE(firstPanel, nullptr);
    secondPanel = nullptr;
    secondAliveInItsCallback = false;
    things.RegisterPosition(OnFirstPosition);
    things.Position(0, 0, 210, 210);
    ASSERT_NE(secondPanel, nullptr);
    EXPECT_NE(secondPanel, firstPanel);
    EXPECT_TRUE(secondAliveInItsCallback);
    EXPECT_FALSE(things.Show());  // no panel is current
    // The retired panels went once no handler of theirs ran any more.
    EXPECT_FALSE(IsWindow(firstPanel));
    EXPECT_FALSE(IsWindow(secondPanel));
    things.Destroy();
    HWND again = things.CreateAsChild(host);
    EXPECT_TRUE(IsWindow(again));
}

// A move and a resize in one _Position give two reports; a host that destroys the panel at the
// first hears nothing more from it.
int reportsAfterDestroy = 0;
bool destroyed = false;

void OnPositionDestroyOnce(int, int, int, int)
{
    if (destroyed) {
        reportsAfterDestroy++;
        return;
    }
    destroyed = true;
    current->Destroy();
}

TEST_F(ThingsBoundary, ADestroyedPanelMakesNoMoreCallbacks)
{
    ASSERT_NE(things.CreateAsChild(host), nullptr);
    things.Position(0, 0, 200, 200);  // from now on moves are reported too
    things.RegisterPosition(OnPositionDestroyOnce);
    destroyed = false;
    reportsAfterDestroy = 0;
    things.Position(30, 40, 330, 340);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(reportsAfterDestroy, 0);
}

TEST_F(ThingsBoundary, RegistrationsAreAcceptedAndThePanelCanBeMadeAgain)
{
    HWND first = things.CreateAsChild(host);
    ASSERT_NE(first, nullptr);
    things.RegisterClose(Nothing);
    things.RegisterApply(Nothing);
    things.RegisterDoubleClick(Nothing);
    things.RegisterFiles(Nothing);
    things.Destroy();
    HWND second = things.CreateAsChild(host);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(IsWindow(second));
}

TEST(ThingsUnload, UnloadingWithoutDestroyTakesThePanelWindowAlong)
{
    HWND host = PanelLibrary_HostWindow();
    HWND panel = nullptr;
    {
        Things things;
        ASSERT_NE(things.lib.Module(), nullptr);
        panel = things.CreateAsChild(host);
        ASSERT_NE(panel, nullptr);
    }  // FreeLibrary without _Destroy
    EXPECT_FALSE(IsWindow(panel));
    ShowWindow(host, SW_SHOW);
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DestroyWindow(host);
}
