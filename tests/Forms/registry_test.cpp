#include "Registry.h"
#include <gtest/gtest.h>

namespace {
// Each case works below a key of its own: cases run in parallel in one wine prefix.
std::string TestKey(const char* name)
{
    return std::string("Software\\KorbaltTests\\Registry\\") + name;
}
}  // namespace

TEST(Registry, OpenWithoutCreateFailsForAMissingKey)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(TestKey("Missing"), false));
    EXPECT_FALSE(reg.KeyOpen());
    EXPECT_EQ(reg.ReadInteger("Left", 27), 27);
    EXPECT_EQ(reg.ReadString("File0", "none"), "none");
    EXPECT_FALSE(reg.WriteInteger("Left", 1));
}

TEST(Registry, WrittenValuesReadBackAfterReopening)
{
    const std::string key = TestKey("RoundTrip");
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(key, true));
        EXPECT_TRUE(reg.WriteInteger("Width", 977));
        EXPECT_TRUE(reg.WriteInteger("Negative", -5));
        EXPECT_TRUE(reg.WriteString("File0", "C:\\data\\door.zul"));
        EXPECT_TRUE(reg.WriteString("Empty", ""));
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key, false));
    EXPECT_EQ(reg.ReadInteger("Width", 0), 977);
    EXPECT_EQ(reg.ReadInteger("Negative", 0), -5);
    EXPECT_EQ(reg.ReadString("File0", ""), "C:\\data\\door.zul");
    EXPECT_TRUE(reg.ValueExists("Empty"));
    EXPECT_EQ(reg.ReadString("Empty", "default"), "");
    EXPECT_TRUE(reg.DeleteValue("Width"));
    EXPECT_FALSE(reg.ValueExists("Width"));
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(key));
    EXPECT_FALSE(reg.OpenKey(key, false));
}

TEST(Registry, MissingOrMistypedValuesGiveTheDefault)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(TestKey("Defaults"), true));
    EXPECT_EQ(reg.ReadInteger("NotThere", 282), 282);
    EXPECT_EQ(reg.ReadString("NotThere", "x"), "x");
    ASSERT_TRUE(reg.WriteString("Text", "12"));
    ASSERT_TRUE(reg.WriteInteger("Number", 12));
    EXPECT_EQ(reg.ReadInteger("Text", -1), -1);
    EXPECT_EQ(reg.ReadString("Number", "n"), "n");
    reg.CloseKey();
    reg.DeleteKey(TestKey("Defaults"));
}
