#include "StringList.h"
#include <gtest/gtest.h>

TEST(TStringList, SortedCaseInsensitiveIgnoresDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    int a = 1, b = 2, c = 3;
    list.AddObject("door", &a);
    list.AddObject("Apple", &b);
    EXPECT_EQ(list.AddObject("DOOR", &c), 1);  // already there: not added, its index answered
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Strings(0), "Apple");
    EXPECT_EQ(list.Strings(1), "door");
    EXPECT_EQ(list.Objects(1), &a);
    EXPECT_EQ(list.IndexOf("APPLE"), 0);
    EXPECT_EQ(list.IndexOf("chest"), -1);
    EXPECT_EQ(list.IndexOfObject(&a), 1);
    list.Delete(0);
    EXPECT_EQ(list.IndexOf("door"), 0);
}

TEST(TStringList, UnsortedKeepsOrderAndCaseSensitiveFinds)
{
    TStringList list;
    list.Add("b");
    list.Add("a");
    list.Add("b");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf("B"), 0);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("B"), -1);
    list.Insert(1, "x");
    EXPECT_EQ(list.Strings(1), "x");
    list.Delete(99);  // out of range: nothing happens
    EXPECT_EQ(list.Count(), 4);
}

TEST(TStringList, TextJoinsAndSplitsLines)
{
    TStringList list;
    list.SetText("a\r\nb\nc");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(2), "c");
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\n");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
}

TEST(TStringList, ValuesFindsKeyWithoutCase)
{
    TStringList list;
    list.Add("NAME=door");
    list.Add("Sort=12");
    EXPECT_EQ(list.Values("name"), "door");
    EXPECT_EQ(list.Values("SORT"), "12");
    EXPECT_EQ(list.Values("CAT"), "");
}
