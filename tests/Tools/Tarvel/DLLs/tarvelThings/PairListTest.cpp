// The pair list and its record marshalling, tested directly.
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include "PairList.h"
#include "ThingsPairs.h"

namespace {

struct Record {
    std::unique_ptr<ThingsInfo> info{new ThingsInfo()};
    void Add(const char* key, const char* value, uint32_t flag = 0)
    {
        uint32_t i = info->pairCount++;
        std::strcpy(info->key[i], key);
        std::strcpy(info->value[i], value);
        info->flag[i] = flag;
    }
};

TPairList Loaded(std::initializer_list<std::pair<const char*, const char*>> pairs, uint32_t selected = 1)
{
    Record r;
    r.info->selectedCount = selected;
    for (auto& p : pairs)
        r.Add(p.first, p.second);
    TPairList list;
    list.Load(*r.info);
    return list;
}

ThingsInfo* Stored(TPairList& list, const std::string& node = "")
{
    static ThingsInfo out;
    std::memset(&out, 0xAB, sizeof out);
    list.Store(out, node);
    return &out;
}

}  // namespace

TEST(PairList, LoadUpperCasesKeysAndSortsThem)
{
    TPairList list = Loaded({{"origin", "1 2 3"}, {"Angle", "90"}, {"CLASSNAME", "door"}});
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Row(0).key, "ANGLE");
    EXPECT_EQ(list.Row(1).key, "CLASSNAME");
    EXPECT_EQ(list.Row(2).key, "ORIGIN");
    EXPECT_EQ(list.Row(2).value, "1 2 3");
    EXPECT_EQ(list.Row(2).mark, pmOriginal);
}

TEST(PairList, ImageComesFromTheLowFlagBits)
{
    Record r;
    r.Add("A", "", 0);
    r.Add("B", "", 1);
    r.Add("C", "", 3);
    r.Add("D", "", 0x102);  // only the low byte counts: bit 0 clear, no image
    TPairList list;
    list.Load(*r.info);
    EXPECT_EQ(list.Row(0).image, PAIR_IMAGE_NONE);
    EXPECT_EQ(list.Row(1).image, 0);
    EXPECT_EQ(list.Row(2).image, 1);
    EXPECT_EQ(list.Row(3).image, PAIR_IMAGE_NONE);
}

TEST(PairList, EmptySelectionEchoesCountAndNoPairs)
{
    TPairList list = Loaded({}, 7);
    ThingsInfo* out = Stored(list);
    EXPECT_EQ(out->pairCount, 0u);
    EXPECT_EQ(out->selectedCount, 7u);
    const char* bytes = (const char*)out;
    for (size_t i = 8; i < sizeof(ThingsInfo); i++)
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(PairList, PairCountAboveSixtyFourIsClamped)
{
    Record r;
    for (int i = 0; i < 64; i++)
        r.Add(("K" + std::to_string(100 + i)).c_str(), "v");
    r.info->pairCount = 0x7FFFFFFF;
    TPairList list;
    list.Load(*r.info);
    EXPECT_EQ(list.Count(), 64);
}

TEST(PairList, TextsThatFillTheirFieldsAreReadWithinThemAndWrittenTerminated)
{
    Record r;
    std::memset(r.info->key[0], 'k', 128);   // no NUL: runs into the next key
    std::memset(r.info->value[0], 'v', 128);  // no NUL: runs into the next value
    std::strcpy(r.info->key[1], "NEXT");
    r.info->pairCount = 2;
    TPairList list;
    list.Load(*r.info);
    ASSERT_EQ(list.Count(), 2);
    int i = list.Find(std::string(128, 'K'));
    ASSERT_GE(i, 0);
    EXPECT_EQ(list.Row(i).value, std::string(128, 'v'));
    ThingsInfo* out = Stored(list);
    // The record has room for 127 characters and the NUL.
    int at = std::strncmp(out->key[0], "KKK", 3) == 0 ? 0 : 1;
    EXPECT_EQ(std::strlen(out->key[at]), 127u);
    EXPECT_EQ(std::strlen(out->value[at]), 127u);
}

TEST(PairList, SetPairMarksAndCodes)
{
    TPairList list = Loaded({{"ORIGIN", "0 0 0"}});
    list.SetPair("origin", "1 1 1");
    EXPECT_EQ(list.Row(0).mark, pmModified);
    list.SetPair("ORIGIN", "2 2 2");
    EXPECT_EQ(list.Row(0).mark, pmModified);
    list.SetPair("LIGHT", "100");
    list.SetPair("LIGHT", "200");
    int light = list.Find("LIGHT");
    EXPECT_EQ(list.Row(light).mark, pmNew);
    EXPECT_EQ(list.Row(light).image, PAIR_IMAGE_ADDED);
    EXPECT_EQ(list.Row(light).value, "200");

    EXPECT_EQ(ThingsPairs(*Stored(list)), (std::vector<std::string>{"LIGHT=200/2", "ORIGIN=2 2 2/1"}));
}

TEST(PairList, DeletedKeysFollowTheLiveRowsWithCodeThree)
{
    TPairList list = Loaded({{"A", "1"}, {"B", "2"}, {"C", "3"}});
    list.SetPair("NEWKEY", "x");
    EXPECT_TRUE(list.DeleteRow(list.Find("B")));
    EXPECT_TRUE(list.DeleteRow(list.Find("NEWKEY")));  // added here, still reported as deleted
    EXPECT_FALSE(list.DeleteRow(99));
    EXPECT_EQ(ThingsPairs(*Stored(list)), (std::vector<std::string>{"A=1/0", "C=3/0", "B=/3", "NEWKEY=/3"}));
}

TEST(PairList, DeletedThenSetAgainIsChangedOnceThenAdded)
{
    TPairList list = Loaded({{"ANGLE", "90"}});
    list.DeleteRow(0);
    list.SetPair("ANGLE", "45");
    ThingsInfo* out = Stored(list);
    ASSERT_EQ(out->pairCount, 1u);
    EXPECT_EQ(out->flag[0], (uint32_t)THINGS_CHANGED);
    out = Stored(list);
    ASSERT_EQ(out->pairCount, 1u);
    EXPECT_EQ(out->flag[0], (uint32_t)THINGS_ADDED);
}

TEST(PairList, DeletingTheSameKeyTwiceRecordsItOnce)
{
    TPairList list = Loaded({{"A", "1"}});
    list.DeleteRow(0);
    list.SetPair("a", "2");
    list.DeleteRow(0);
    EXPECT_EQ(list.DeletedKeys().size(), 1u);
}

TEST(PairList, LoadStartsAFreshDeletedKeysList)
{
    TPairList list = Loaded({{"A", "1"}});
    list.DeleteRow(0);
    Record r;
    r.Add("B", "2");
    list.Load(*r.info);
    EXPECT_TRUE(list.DeletedKeys().empty());
}

TEST(PairList, RecordNeverHoldsMoreThanSixtyFourEntries)
{
    Record r;
    for (int i = 0; i < 64; i++)
        r.Add(("K" + std::to_string(100 + i)).c_str(), "v");
    TPairList list;
    list.Load(*r.info);
    list.SetPair("EXTRA", "1");
    list.DeleteRow(list.Find("K100"));
    list.DeleteRow(list.Find("K101"));
    ThingsInfo* out = Stored(list);
    EXPECT_EQ(out->pairCount, 64u);
    // The key that did not fit stays in the deleted list for a later call.
    EXPECT_EQ(list.DeletedKeys().size(), 2u);
}

TEST(PairList, SelectedTemplateFillsItsFieldWithNuls)
{
    TPairList list = Loaded({});
    ThingsInfo* out = Stored(list, "Sword");
    EXPECT_STREQ(out->selectedTemplate, "Sword");
    for (int i = 5; i < 32; i++)
        EXPECT_EQ(out->selectedTemplate[i], 0);
    out = Stored(list, std::string(40, 'x'));
    EXPECT_EQ(std::string(out->selectedTemplate, 32), std::string(32, 'x'));
}
