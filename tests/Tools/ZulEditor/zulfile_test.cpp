#include "ZulFixture.h"
#include "fixtures/fixtureMutations.h"
#include <windows.h>
#include <cstdlib>
#include <new>

// One chosen allocation of this test program fails, as it would when memory runs out.
namespace {
long allocationToFail = 0;  // 0: none fails
long allocationsCounted = 0;
bool allocationFailed = false;

void FailAllocation(long number)
{
    allocationToFail = number;
    allocationsCounted = 0;
    allocationFailed = false;
}
}  // namespace

void* operator new(std::size_t size)
{
    if (allocationToFail && ++allocationsCounted == allocationToFail) {
        allocationFailed = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

// Callers that ask not to be thrown at have a way round a failure (a sort's scratch buffer):
// they are not counted.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

using namespace zultest;

namespace {
const std::string kOpenCaption = "Cannot Open ZUL...";
}

TEST(ZULHeader, CheckAnswersEachFault)
{
    fixtures::WorkFolder work{fixtures::TestFolderName()};
    WriteBytes("good.zul", BuildZul({}));
    EXPECT_EQ(CheckZULHeader("good.zul", 1), 0);
    WriteBytes("v2.zul", BuildZul({}, 2));
    EXPECT_EQ(CheckZULHeader("v2.zul", 1), -1);
    EXPECT_EQ(CheckZULHeader("v2.zul", -1), 0);  // version not looked at
    Bytes bad = BuildZul({}, 2);
    bad[3] = 0x11;
    WriteBytes("magic.zul", bad);
    EXPECT_EQ(CheckZULHeader("magic.zul", 1), -2);
    EXPECT_EQ(CheckZULHeader("missing.zul", 1), -3);
    WriteBytes("short.zul", Bytes{'Z', 'U', 'L', 0x10, 1});
    EXPECT_EQ(CheckZULHeader("short.zul", 1), -3);
}

TEST_F(ZulFixture, EmptyFileIsTheHeaderAlone)
{
    const Bytes bytes = BuildZul({});
    ASSERT_EQ(bytes.size(), 12u);
    TZULFile* file = Open("empty.zul", bytes);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->IsOpen());
    EXPECT_FALSE(file->IsModified());
    EXPECT_FALSE(file->IsReadOnly());
    EXPECT_EQ(file->GetEntryCount(), 0);
    EXPECT_EQ(file->GetMagicByte(0), 'Z');
    EXPECT_EQ(file->GetMagicByte(3), 0x10);
    EXPECT_EQ(file->GetMagicByte(4), ' ');
    EXPECT_EQ(file->GetRootNode()->Text(), "empty.zul");
    EXPECT_EQ(file->GetRootNode()->ImageIndex(), IMAGE_FILE);
    EXPECT_TRUE(file->Save());
    EXPECT_EQ(ReadBytes("empty.zul"), bytes);
}

TEST_F(ZulFixture, OneTemplateFileIs93Bytes)
{
    const Bytes bytes = BuildZul({Tpl("door", "", {IntTag(7, 3)})});
    ASSERT_EQ(bytes.size(), 93u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 12),
              (Bytes{0x5A, 0x55, 0x4C, 0x10, 1, 0, 0, 0, 1, 0, 0, 0}));
    TZULFile* file = Open("one.zul", bytes);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Shape(file), (std::vector<std::string>{"door"}));
    TZULTemplate* door = TemplateOf(file, "DOOR");
    ASSERT_NE(door, nullptr);
    EXPECT_EQ(door->parentName, "");
    EXPECT_TRUE(door->parentInFile);
    ASSERT_EQ(door->tagValues.size(), 1u);
    EXPECT_EQ(door->tagValues[0].id, 7u);
    EXPECT_EQ(door->tagValues[0].value[0], 3);
    EXPECT_EQ(door->description.Count(), 0);
    TTreeNode* node = file->GetRootNode()->GetFirstChild();
    EXPECT_EQ(node->ImageIndex(), IMAGE_TEMPLATE);
    EXPECT_EQ(node->SelectedIndex(), IMAGE_TEMPLATE);
}

TEST_F(ZulFixture, DescriptionsSplitAtCrLfAndWriteBack)
{
    TZULFile* file = Open("desc.zul", BuildZul({Tpl("a", "", {}, "a\r\nb\r\n")}));
    ASSERT_NE(file, nullptr);
    TZULTemplate* a = TemplateOf(file, "a");
    ASSERT_EQ(a->description.Count(), 2);
    EXPECT_EQ(a->description.Strings(1), "b");
    ASSERT_TRUE(file->Save());
    const Bytes saved = ReadBytes("desc.zul");
    // Body at 48: numTags, one record, then length 7 and a CR LF b CR LF NUL.
    const size_t at = 48 + 4 + 36;
    EXPECT_EQ(Bytes(saved.begin() + at, saved.end()), (Bytes{7, 0, 0, 0, 'a', '\r', '\n', 'b', '\r', '\n', 0}));
}

TEST_F(ZulFixture, ChainsHangBelowTheirParents)
{
    TZULFile* file = Open("chain.zul", BuildZul({Tpl("base", ""), Tpl("mid", "base"), Tpl("leaf", "MID"),
                                                Tpl("other", "base")}));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Shape(file), (std::vector<std::string>{"base", ".mid", "..leaf", ".other"}));
    EXPECT_TRUE(TemplateOf(file, "leaf")->parentInFile);
    EXPECT_EQ(TemplateOf(file, "leaf")->parentName, "MID");
}

TEST_F(ZulFixture, ChildBeforeParentAndParentElsewhereStayAtTheRoot)
{
    TZULFile* file = Open("order.zul", BuildZul({Tpl("child", "parent"), Tpl("parent", ""),
                                                Tpl("far", "inotherfile")}));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Shape(file), (std::vector<std::string>{"child", "far", "parent"}));  // sorted at open
    EXPECT_FALSE(TemplateOf(file, "child")->parentInFile);
    EXPECT_FALSE(TemplateOf(file, "far")->parentInFile);
    EXPECT_TRUE(TemplateOf(file, "parent")->parentInFile);
}

TEST_F(ZulFixture, OpeningSortsEveryLevelAndSavingWritesThatOrder)
{
    const Bytes unsorted = BuildZul({Tpl("zeta", ""), Tpl("Alpha", ""), Tpl("z2", "zeta"), Tpl("a2", "zeta")});
    TZULFile* file = Open("sort.zul", unsorted);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Shape(file), (std::vector<std::string>{"Alpha", "zeta", ".a2", ".z2"}));
    ASSERT_TRUE(file->Save());
    const Bytes sorted = BuildZul({Tpl("Alpha", ""), Tpl("zeta", ""), Tpl("a2", "zeta"), Tpl("z2", "zeta")});
    // Pre-order: Alpha, zeta, a2, z2.
    EXPECT_EQ(ReadBytes("sort.zul"),
              BuildZul({Tpl("Alpha", ""), Tpl("zeta", ""), Tpl("a2", "zeta"), Tpl("z2", "zeta")}));
    EXPECT_EQ(ReadBytes("sort.zul"), sorted);
}

TEST_F(ZulFixture, RoundTripIsByteIdentical)
{
    const Bytes bytes = BuildZul({
        Tpl("barrel", "", {IntTag(1, 5), FloatTag(5, 1.0f / 3.0f), FloatTag(8, 12.9f, 0.5f, 255)},
            "A barrel.\r\nIt rolls.\r\n"),
        Tpl("barrel_big", "barrel", {TextTag(10, "barrel_big.qev"), IntTag(999, 0xDEADBEEF)}),
        Tpl("crate", "", {IntTag(3, 0xFFFFFFFF)}, "one line\r\n"),
    });
    TZULFile* file = Open("round.zul", bytes);
    ASSERT_NE(file, nullptr);
    file->SetModified(true);
    ASSERT_TRUE(file->Save());
    EXPECT_FALSE(file->IsModified());
    EXPECT_EQ(ReadBytes("round.zul"), bytes);
    model.CloseZULFile(file);
    // Read again: the same templates.
    file = model.OpenZULFile("round.zul", false);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Shape(file), (std::vector<std::string>{"barrel", ".barrel_big", "crate"}));
    EXPECT_EQ(TemplateOf(file, "barrel_big")->tagValues[2].id, 999u);
    EXPECT_EQ(TemplateOf(file, "barrel")->description.Strings(1), "It rolls.");
}

TEST_F(ZulFixture, SaveReportsProgressPerBody)
{
    TZULFile* file = Open("four.zul", BuildZul({Tpl("a", ""), Tpl("b", ""), Tpl("c", ""), Tpl("d", "")}));
    ASSERT_NE(file, nullptr);
    model.status.clear();
    ASSERT_TRUE(file->Save());
    EXPECT_EQ(model.status, (std::vector<std::string>{"Saving 25%", "Saving 50%", "Saving 75%", "Saving 100%",
                                                      "four.zul"}));
    EXPECT_EQ(file->GetEntryCount(), 4);
}

TEST_F(ZulFixture, BytesAfterTheLastBodyAreIgnoredAndNotKept)
{
    Bytes bytes = BuildZul({Tpl("a", "")});
    const size_t size = bytes.size();
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
    TZULFile* file = Open("tail.zul", bytes);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Save());
    EXPECT_EQ(ReadBytes("tail.zul").size(), size);
}

TEST_F(ZulFixture, LongDescriptionIsKeptWhole)
{
    const std::string text = std::string(5000, 'x') + "\r\n";
    const Bytes bytes = BuildZul({Tpl("a", "", {}, text), Tpl("b", "")});
    TZULFile* file = Open("longdesc.zul", bytes);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(TemplateOf(file, "a")->description.Strings(0).size(), 5000u);
    EXPECT_NE(TemplateOf(file, "b"), nullptr);
    ASSERT_TRUE(file->Save());
    EXPECT_EQ(ReadBytes("longdesc.zul"), bytes);
}

// ---- refused files ----

namespace {
struct Damage {
    const char* what;
    Bytes bytes;
    const char* says;  // what the refusal names as the fault
};

// Two templates whose directory entries point at one body.
Bytes SharedBody()
{
    Bytes b = BuildZul({Tpl("a", "", {}, "text\r\n"), Tpl("b", "a")});
    Put32(b, EntryOffsetAt(1), 12 + 2 * 36);
    return b;
}

// The second body is a well-formed body inside the description of the first.
Bytes OverlappingBodies()
{
    Bytes inner;
    Append32(inner, 1);
    Append32(inner, 7);
    inner.resize(inner.size() + 32);
    Append32(inner, 1);
    inner.push_back(0);
    const std::string description = "xx" + std::string(inner.begin(), inner.end());
    Bytes b = BuildZul({Tpl("a", "", {}, description), Tpl("b", "a")});
    Put32(b, EntryOffsetAt(1), 12 + 2 * 36 + 4 + 36 + 4 + 2);
    return b;
}

std::vector<Damage> DamagedFiles()
{
    const Bytes good = BuildZul({Tpl("a", "", {}, "text\r\n"), Tpl("b", "a")});
    const size_t body0 = 12 + 2 * 36;
    std::vector<Damage> out;
    auto with = [&](const char* what, const char* says, auto change) {
        Bytes b = good;
        change(b);
        out.push_back({what, b, says});
    };
    with("negative count", "template count -1 does not fit", [](Bytes& b) { Put32(b, 8, 0xFFFFFFFF); });
    with("count beyond the file", "template count 1000 does not fit", [](Bytes& b) { Put32(b, 8, 1000); });
    with("huge count", "template count 2147483647", [](Bytes& b) { Put32(b, 8, 0x7FFFFFFF); });
    with("offset beyond the file", "body of \"b\" lies outside", [](Bytes& b) { Put32(b, EntryOffsetAt(1), 100000); });
    with("negative offset", "body of \"a\" lies outside", [](Bytes& b) { Put32(b, EntryOffsetAt(0), 0xFFFFFFF0); });
    with("offset inside the directory", "lies outside", [](Bytes& b) { Put32(b, EntryOffsetAt(0), 12); });
    with("offset at the last bytes", "lies outside",
         [](Bytes& b) { Put32(b, EntryOffsetAt(1), static_cast<uint32_t>(b.size() - 2)); });
    with("tag count 0", "tag count of 0;", [&](Bytes& b) { Put32(b, body0, 0); });
    with("negative tag count", "tag count of -1;", [&](Bytes& b) { Put32(b, body0, 0xFFFFFFFF); });
    with("tag count beyond the file", "tags of \"a\" run past the end", [&](Bytes& b) { Put32(b, body0, 5000); });
    with("description length 0", "length of 0;", [&](Bytes& b) { Put32(b, body0 + 4 + 36, 0); });
    with("negative description length", "length of -2147483648;",
         [&](Bytes& b) { Put32(b, body0 + 4 + 36, 0x80000000); });
    with("description beyond the file", "description of \"a\" runs past the end",
         [&](Bytes& b) { Put32(b, body0 + 4 + 36, 100000); });
    with("name without NUL", "entry 1 has a name without end",
         [](Bytes& b) { std::fill(b.begin() + EntryAt(1), b.begin() + EntryAt(1) + 32, 'n'); });
    with("empty name", "entry 0 has an empty name", [](Bytes& b) { b[EntryAt(0)] = 0; });
    with("cut in the last tag", "tags of \"b\" run past the end", [](Bytes& b) { b.resize(b.size() - 7); });
    with("cut in the last description", "description of \"b\" runs past the end", [](Bytes& b) { b.resize(b.size() - 1); });
    with("cut in the directory", "template count 2 does not fit", [](Bytes& b) { b.resize(12 + 36 + 10); });
    out.push_back({"two entries share one body", SharedBody(), "bodies of \"a\" and \"b\" overlap"});
    out.push_back({"a body inside another", OverlappingBodies(), "bodies of \"a\" and \"b\" overlap"});
    return out;
}

// A small file whose directory names count templates, all at one body of numTags records and a
// description of descLength bytes: the bodies it claims add up far beyond its size.
Bytes OneBodyForMany(int count, int numTags, int descLength)
{
    Bytes b = {'Z', 'U', 'L', 0x10};
    Append32(b, 1);
    Append32(b, static_cast<uint32_t>(count));
    const uint32_t body = 12 + 36 * static_cast<uint32_t>(count);
    for (int i = 0; i < count; ++i) {
        const std::string name = "t" + std::to_string(i);
        b.insert(b.end(), name.begin(), name.end());
        b.resize(b.size() + 32 - name.size());
        Append32(b, body);
    }
    Append32(b, static_cast<uint32_t>(numTags));
    b.resize(b.size() + 36 * static_cast<size_t>(numTags), 1);
    Append32(b, static_cast<uint32_t>(descLength));
    b.resize(b.size() + static_cast<size_t>(descLength), 'd');
    b.back() = 0;
    return b;
}
}  // namespace

TEST_F(ZulFixture, EveryDamagedFileIsRefusedWhole)
{
    for (const Damage& d : DamagedFiles()) {
        SCOPED_TRACE(d.what);
        hooks.messages.clear();
        EXPECT_EQ(Open("damaged.zul", d.bytes), nullptr);
        ASSERT_EQ(hooks.messages.size(), 1u);
        EXPECT_EQ(hooks.Last().caption, kOpenCaption);
        EXPECT_NE(hooks.Last().text.find("\"damaged.zul\" is damaged: "), std::string::npos) << hooks.Last().text;
        EXPECT_NE(hooks.Last().text.find(d.says), std::string::npos) << hooks.Last().text;
        EXPECT_EQ(tree.Count(), 0);
        EXPECT_EQ(UsedSlots(), 0);
    }
}

// Under 2 MB each, but thousands of names on one body would need gigabytes once read.
TEST_F(ZulFixture, ManyNamesOnOneLargeBodyAreRefusedBeforeReading)
{
    for (const auto& [what, bytes] : std::vector<std::pair<const char*, Bytes>>{
             {"50,000 tags", OneBodyForMany(2000, 50000, 1)},
             {"a million characters", OneBodyForMany(2000, 1, 1000000)}}) {
        SCOPED_TRACE(what);
        ASSERT_LT(bytes.size(), 2000000u);
        hooks.messages.clear();
        EXPECT_EQ(Open("many.zul", bytes), nullptr);
        ASSERT_EQ(hooks.messages.size(), 1u);
        EXPECT_EQ(hooks.Last().caption, kOpenCaption);
        EXPECT_NE(hooks.Last().text.find("overlap"), std::string::npos) << hooks.Last().text;
        EXPECT_EQ(tree.Count(), 0);
        EXPECT_EQ(UsedSlots(), 0);
    }
    // The same body named once is a good file.
    TZULFile* file = Open("one.zul", OneBodyForMany(1, 50000, 1000000));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(TemplateOf(file, "t0")->tagValues.size(), 50000u);
}

// Every allocation of an open in turn fails: each time the file is refused with one message and
// leaves no node, no slot and no name behind; the model stays usable.
TEST_F(ZulFixture, RunningOutOfMemoryWhileOpeningRefusesTheFileWhole)
{
    WriteBytes("mem.zul", BuildZul({Tpl("a", "", {}, "x\r\n"), Tpl("b", "a"), Tpl("c", "b"), Tpl("d", "")}));
    long number = 1;
    for (;; ++number) {
        SCOPED_TRACE(number);
        hooks.messages.clear();
        FailAllocation(number);
        TZULFile* file = nullptr;
        bool escaped = false;
        try {
            file = model.OpenZULFile("mem.zul", false);
        } catch (const std::bad_alloc&) {
            escaped = true;  // only the refusal's own message box may fail this way
        }
        const bool failed = allocationFailed;
        FailAllocation(0);
        if (!failed) {
            ASSERT_NE(file, nullptr);
            EXPECT_EQ(Shape(file), (std::vector<std::string>{"a", ".b", "..c", "d"}));
            break;
        }
        ASSERT_EQ(file, nullptr);
        ASSERT_EQ(tree.Count(), 0);
        ASSERT_EQ(UsedSlots(), 0);
        ASSERT_EQ(model.FindTemplate("a", nullptr), nullptr);
        if (!escaped) {
            ASSERT_EQ(hooks.messages.size(), 1u);
            EXPECT_EQ(hooks.Last().caption, kOpenCaption);
        }
    }
    EXPECT_GT(number, 20);  // the open allocated, so failures were tried
}

TEST_F(ZulFixture, BadHeadersAreRefusedWithoutTrace)
{
    Bytes magic = BuildZul({Tpl("a", "")});
    magic[0] = 'X';
    WriteBytes("v2.zul", BuildZul({Tpl("a", "")}, 2));
    for (const auto& [path, bytes] : std::vector<std::pair<std::string, Bytes>>{
             {"magic.zul", magic}, {"v2.zul", BuildZul({Tpl("a", "")}, 2)}}) {
        EXPECT_EQ(Open(path, bytes), nullptr);
        EXPECT_EQ(hooks.Last().caption, kOpenCaption);
    }
    EXPECT_EQ(model.OpenZULFile("nowhere.zul", false), nullptr);
    EXPECT_EQ(hooks.messages.size(), 3u);
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(UsedSlots(), 0);
}

// ---- saving ----

TEST_F(ZulFixture, SaveRefusesTemplatesTheFormatCannotHold)
{
    const Bytes bytes = BuildZul({Tpl("a", ""), Tpl("b", "")});
    TZULFile* file = Open("refuse.zul", bytes);
    ASSERT_NE(file, nullptr);
    TZULTemplate* a = TemplateOf(file, "a");
    TZULTemplate* b = TemplateOf(file, "b");

    a->tagValues.clear();
    file->SetModified(true);
    EXPECT_FALSE(file->Save());
    EXPECT_EQ(hooks.Last().caption, "Cannot save...");
    EXPECT_NE(hooks.Last().text.find("\"a\""), std::string::npos);
    a->tagValues.push_back(TZULTagValue{});

    b->tagValues.resize(129);
    EXPECT_FALSE(file->Save());
    EXPECT_NE(hooks.Last().text.find("\"b\" has more than 128"), std::string::npos);
    b->tagValues.resize(128);

    a->name = std::string(32, 'n');
    EXPECT_FALSE(file->Save());
    EXPECT_NE(hooks.Last().text.find("longer than 31"), std::string::npos);

    EXPECT_EQ(hooks.messages.size(), 3u);
    EXPECT_TRUE(file->IsModified());
    EXPECT_EQ(ReadBytes("refuse.zul"), bytes);  // nothing written
    a->name = "a";
    EXPECT_TRUE(file->Save());  // 128 records are fine
    EXPECT_EQ(ReadBytes("refuse.zul").size(), 12 + 2 * 36 + 2 * 9 + 36 * 129u);
}

TEST_F(ZulFixture, FailedWriteKeepsTheOldFileAndTheModifiedMark)
{
    const Bytes bytes = BuildZul({Tpl("a", "")});
    TZULFile* file = Open("blocked.zul", bytes);
    ASSERT_NE(file, nullptr);
    file->SetModified(true);
    // A folder where the new file would be written makes the write fail.
    ASSERT_TRUE(CreateDirectoryA("blocked.zul.saving", nullptr));
    EXPECT_FALSE(file->Save());
    RemoveDirectoryA("blocked.zul.saving");
    EXPECT_TRUE(file->IsModified());
    EXPECT_EQ(hooks.Last().caption, "Cannot save...");
    EXPECT_EQ(ReadBytes("blocked.zul"), bytes);
    EXPECT_TRUE(file->Save());  // and the file still works
}

TEST_F(ZulFixture, ReadOnlyFilesOpenReadOnly)
{
    WriteBytes("ro.zul", BuildZul({Tpl("a", "")}));
    // Another program holds the file and lets others only read it.
    HANDLE holder = CreateFileA("ro.zul", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    TZULFile* file = model.OpenZULFile("ro.zul", false);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->IsReadOnly());
    EXPECT_EQ(file->GetRootNode()->ImageIndex(), IMAGE_FILE_READONLY);
    EXPECT_FALSE(file->Save());
    model.CloseZULFile(file);
    CloseHandle(holder);
    file = model.OpenZULFile("ro.zul", true);  // asked for
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->IsReadOnly());
}

TEST_F(ZulFixture, SaveAsMakesAReadOnlyFileWritableAtTheNewPath)
{
    const Bytes bytes = BuildZul({Tpl("a", "", {IntTag(3, 9)})});
    DeleteFileA("copy.zul");
    TZULFile* file = Open("source.zul", bytes, true);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->OpenForWrite("copy.zul"));
    EXPECT_FALSE(file->IsReadOnly());
    EXPECT_EQ(file->GetFileName(), "copy.zul");
    ASSERT_TRUE(file->Save());
    EXPECT_EQ(ReadBytes("copy.zul"), bytes);
}

TEST_F(ZulFixture, SaveAsOverAnExistingFileEmptiesNothingUntilTheSave)
{
    const Bytes other = BuildZul({Tpl("keep", "")});
    WriteBytes("target.zul", other);
    TZULFile* file = Open("mine.zul", BuildZul({Tpl("a", "")}));
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->OpenForWrite("target.zul"));
    EXPECT_EQ(ReadBytes("target.zul"), other);
    ASSERT_TRUE(file->Save());
    EXPECT_EQ(ReadBytes("target.zul"), BuildZul({Tpl("a", "")}));
}

TEST_F(ZulFixture, FailedSaveAsKeepsTheFileOpen)
{
    TZULFile* file = Open("stay.zul", BuildZul({Tpl("a", "")}));
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(file->OpenForWrite("no-such-folder\\x.zul"));
    EXPECT_TRUE(file->IsOpen());
    EXPECT_EQ(file->GetFileName(), "stay.zul");
    EXPECT_TRUE(file->Save());
}

TEST_F(ZulFixture, NewFileHasNoStreamUntilSaveAs)
{
    TZULFile* file = model.NewZULFile();
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->IsOpen());
    EXPECT_TRUE(file->IsModified());
    EXPECT_TRUE(file->IsNew());
    EXPECT_EQ(file->GetRootNode()->Text(), "unnamed.zul");
    EXPECT_FALSE(file->Save());  // a new file goes through Save As
    DeleteFileA("fresh.zul");
    ASSERT_TRUE(file->OpenForWrite("fresh.zul"));
    ASSERT_TRUE(file->Save());
    EXPECT_EQ(ReadBytes("fresh.zul"), BuildZul({}));
}

// Every truncation of a small file, and each of its bytes set to 0x00, 0xFF and 0x7F: the file is
// either refused whole with one message or opened with templates whose fields stay in bounds and
// whose tag records together fit in the file's bytes. The damaged starts include bodies that
// share bytes.
class MutatedZul : public ZulFixture {
protected:
    void OpenEveryMutation(const Bytes& start)
    {
        auto open = [&](const Bytes& bytes) {
            hooks.messages.clear();
            TZULFile* file = Open("m.zul", bytes);
            if (!file) {
                ASSERT_EQ(hooks.messages.size(), 1u);
                ASSERT_EQ(tree.Count(), 0);
                ASSERT_EQ(UsedSlots(), 0);
                return;
            }
            ASSERT_TRUE(hooks.messages.empty());
            const std::vector<std::string> shape = Shape(file);
            ASSERT_LE(shape.size(), 2u);
            size_t recordBytes = 0;
            for (TTreeNode* n = file->GetRootNode()->GetFirstChild(); n; n = n->GetNext()) {
                const auto* tpl = static_cast<const TZULTemplate*>(n->Data());
                ASSERT_NE(tpl, nullptr);
                EXPECT_FALSE(tpl->name.empty());
                EXPECT_LE(tpl->name.size(), 31u);
                EXPECT_LE(tpl->parentName.size(), 32u);
                EXPECT_GE(tpl->tagValues.size(), 1u);
                recordBytes += tpl->tagValues.size() * 36 + tpl->description.Text().size();
            }
            EXPECT_LE(recordBytes, bytes.size());
            model.CloseZULFile(file);
            ASSERT_EQ(UsedSlots(), 0);
        };
        fixtures::ForEachMutation(start, open);
    }
};

TEST_F(MutatedZul, MutatedFilesOpenWithinBoundsOrAreRefusedWhole)
{
    const Bytes good = BuildZul({Tpl("a", "", {}, "x\r\n"), Tpl("b", "a")});
    ASSERT_NE(Open("m.zul", good), nullptr);
    ASSERT_TRUE(hooks.messages.empty());
    model.CloseZULFile(model.GetZULFile(0));
    OpenEveryMutation(good);
}

TEST_F(MutatedZul, MutatedSharedBodiesOpenWithinBoundsOrAreRefusedWhole)
{
    OpenEveryMutation(SharedBody());
}

TEST_F(MutatedZul, MutatedOverlappingBodiesOpenWithinBoundsOrAreRefusedWhole)
{
    OpenEveryMutation(OverlappingBodies());
}
