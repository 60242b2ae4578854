// Named hash tables: bucket counts, case-insensitive keys, chains and integer keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stdHash.h"

namespace {

uint32_t Buckets(int requested)
{
    stdHash* hash = stdHash_Create(requested, "t");
    uint32_t count = hash ? hash->bucketCount : 0;
    stdHash_Free(hash);
    return count;
}

}  // namespace

TEST(StdHash, BucketCountIsThePrimeAboveTheRequest)
{
    EXPECT_EQ(Buckets(-5), 23u);
    EXPECT_EQ(Buckets(0), 23u);
    EXPECT_EQ(Buckets(22), 23u);
    EXPECT_EQ(Buckets(23), 53u);
    EXPECT_EQ(Buckets(24), 53u);
    EXPECT_EQ(Buckets(512), 557u);
    EXPECT_EQ(Buckets(557), 601u);
    EXPECT_EQ(Buckets(1024), 1103u);
    EXPECT_EQ(Buckets(1999), 1999u);
    EXPECT_EQ(Buckets(2000), 2003u);
    EXPECT_EQ(Buckets(4096), 4099u);
}

TEST(StdHash, NameIsCutTo31Characters)
{
    std::string longName(40, 'n');
    stdHash* hash = stdHash_Create(10, longName.c_str());
    ASSERT_NE(hash, nullptr);
    EXPECT_EQ(std::string(hash->name), std::string(31, 'n'));
    EXPECT_EQ(hash->count, 0u);
    stdHash_Free(hash);
}

TEST(StdHash, KeysCompareWithoutCase)
{
    stdHash* hash = stdHash_Create(10, "case");
    int first = 1, second = 2;
    EXPECT_EQ(stdHash_Add(hash, "Models\\Hero.QEV", &first), 1);
    EXPECT_EQ(stdHash_Add(hash, "MODELS\\hero.qev", &second), 0);
    EXPECT_EQ(hash->count, 1u);
    EXPECT_EQ(stdHash_Find(hash, "models\\hero.qev"), &first);
    EXPECT_EQ(stdHash_Find(hash, "models\\hero.qe"), nullptr);
    EXPECT_EQ(stdHash_Find(hash, "models\\hero.qevx"), nullptr);
    stdHash_Free(hash);
}

TEST(StdHash, OnlyTheFirst128CharactersCount)
{
    stdHash* hash = stdHash_Create(10, "long");
    std::string a(128, 'k'), b(128, 'k'), c(128, 'k');
    a += "tail-one";
    b += "tail-two";
    c[126] = 'z';  // differs within the first 128
    int va = 1, vc = 3;
    EXPECT_EQ(stdHash_Add(hash, a.c_str(), &va), 1);
    EXPECT_EQ(stdHash_Add(hash, b.c_str(), &vc), 0);
    EXPECT_EQ(stdHash_Find(hash, b.c_str()), &va);
    EXPECT_EQ(stdHash_Add(hash, c.c_str(), &vc), 1);
    EXPECT_EQ(stdHash_Find(hash, c.c_str()), &vc);
    stdHash_Free(hash);
}

TEST(StdHash, RemovingHeadMiddleAndTailOfAChainKeepsTheRest)
{
    stdHash* hash = stdHash_Create(0, "chain");  // 23 buckets: keys 1, 24, 47, 70 share one
    ASSERT_EQ(hash->bucketCount, 23u);
    int values[5] = {};
    const uint32_t keys[5] = {1, 24, 47, 70, 93};
    for (int i = 0; i < 5; i++) ASSERT_EQ(stdHash_AddInt(hash, keys[i], &values[i]), 1);
    EXPECT_EQ(stdHash_AddInt(hash, 24, &values[0]), 0);
    EXPECT_EQ(stdHash_RemoveInt(hash, 93), 1);  // head: newest first
    EXPECT_EQ(stdHash_RemoveInt(hash, 47), 1);  // middle
    EXPECT_EQ(stdHash_RemoveInt(hash, 1), 1);   // last
    EXPECT_EQ(stdHash_RemoveInt(hash, 1), 0);
    EXPECT_EQ(hash->count, 2u);
    EXPECT_EQ(stdHash_FindInt(hash, 24), &values[1]);
    EXPECT_EQ(stdHash_FindInt(hash, 70), &values[3]);
    EXPECT_EQ(stdHash_FindInt(hash, 47), nullptr);
    stdHash_Free(hash);
}

TEST(StdHash, ManyTextKeysSurviveRemovalsAroundThem)
{
    stdHash* hash = stdHash_Create(0, "many");
    std::vector<std::string> keys;
    for (int i = 0; i < 200; i++) keys.push_back("bitmap" + std::to_string(i) + ".tga");
    std::vector<int> values(keys.size());
    for (size_t i = 0; i < keys.size(); i++) ASSERT_EQ(stdHash_Add(hash, keys[i].c_str(), &values[i]), 1);
    for (size_t i = 0; i < keys.size(); i += 3) EXPECT_EQ(stdHash_Remove(hash, keys[i].c_str()), 1);
    EXPECT_EQ(stdHash_Remove(hash, "not-there"), 0);
    EXPECT_EQ(hash->count, 133u);
    for (size_t i = 0; i < keys.size(); i++) {
        void* expected = i % 3 == 0 ? nullptr : &values[i];
        EXPECT_EQ(stdHash_Find(hash, keys[i].c_str()), expected) << keys[i];
    }
    stdHash_Free(hash);
}

TEST(StdHash, IntegerAndTextKeysAreDistinct)
{
    stdHash* hash = stdHash_Create(30, "mixed");
    int a = 1, b = 2;
    EXPECT_EQ(stdHash_AddInt(hash, 53, &a), 1);
    EXPECT_EQ(stdHash_Add(hash, "5", &b), 1);
    EXPECT_EQ(stdHash_FindInt(hash, 53), &a);
    EXPECT_EQ(stdHash_Find(hash, "5"), &b);
    EXPECT_EQ(stdHash_Remove(hash, "53"), 0);
    EXPECT_EQ(stdHash_FindInt(hash, 0), nullptr);
    stdHash_Free(hash);
}

TEST(StdHash, FreeLeavesKeysAndValuesUntouched)
{
    stdHash* hash = stdHash_Create(5, "owner");
    char key[] = "Owned";
    int value = 42;
    stdHash_Add(hash, key, &value);
    stdHash_Free(hash);
    EXPECT_STREQ(key, "Owned");
    EXPECT_EQ(value, 42);
}
