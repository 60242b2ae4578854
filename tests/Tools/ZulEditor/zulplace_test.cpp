// Opening places a file's templates sorted in one pass, saving writes from memory and closing
// deletes the file's root once: the tree, its order, images, name list, flags and the bytes
// written are those of placing the templates one by one and letting the control sort them.
#include "Compare.h"
#include "Forms/TreeItems.h"
#include "ZulFixture.h"
#include <algorithm>
#include <cstdio>
#include <random>

using namespace zultest;

namespace {
struct TPlaceCase {
    const char* what;
    std::vector<Template> templates;
};

// Template i carries tag 3 = i, so a node tells which template of the directory it holds.
std::vector<Template> Numbered(const std::vector<std::pair<std::string, std::string>>& namesAndParents)
{
    std::vector<Template> out;
    for (size_t i = 0; i < namesAndParents.size(); ++i)
        out.push_back(Tpl(namesAndParents[i].first, namesAndParents[i].second, {IntTag(3, static_cast<uint32_t>(i))},
                          i % 3 ? "" : "line\r\n"));
    return out;
}

std::string Shuffled(int i)
{
    return "n" + std::to_string((i * 7919) % 1009);
}

std::vector<TPlaceCase> PlaceCases()
{
    std::vector<TPlaceCase> cases;
    std::vector<std::pair<std::string, std::string>> chains, deep, childrenFirst, mixed;
    for (int i = 0; i < 300; ++i)  // chains of three, names out of order
        chains.push_back({Shuffled(i), i % 3 ? Shuffled(i - 1) : ""});
    for (int i = 0; i < 400; ++i)  // one chain 400 deep
        deep.push_back({Shuffled(i), i ? Shuffled(i - 1) : ""});
    childrenFirst = chains;
    std::reverse(childrenFirst.begin(), childrenFirst.end());
    std::mt19937 random(11);
    for (int i = 0; i < 250; ++i) {  // parents anywhere, other letter case, missing, several roots
        const int parent = static_cast<int>(random() % 300);
        std::string name = Shuffled(static_cast<int>(random() % 260));
        if (i % 7 == 0)
            name[0] = 'N';  // the same name again in other letter case
        mixed.push_back({name, parent < 250 ? (parent % 5 ? Shuffled(parent) : "N" + Shuffled(parent).substr(1))
                                            : parent < 280 ? "" : "elsewhere"});
    }
    cases.push_back({"shuffled chains", Numbered(chains)});
    cases.push_back({"deep chain", Numbered(deep)});
    cases.push_back({"children before parents", Numbered(childrenFirst)});
    cases.push_back({"several roots, duplicates, missing parents", Numbered(mixed)});
    // Listed backwards: the chain's parents all come after their children, the mixed file's
    // parents are found among other templates.
    std::reverse(deep.begin(), deep.end());
    std::reverse(mixed.begin(), mixed.end());
    cases.push_back({"deep chain, children before parents", Numbered(deep)});
    cases.push_back({"several roots, children before parents", Numbered(mixed)});
    return cases;
}

uint32_t Index(const TTreeNode* node)
{
    const auto* tpl = static_cast<const TZULTemplate*>(node->Data());
    uint32_t i = 0;
    std::memcpy(&i, tpl->tagValues.back().value.data(), 4);
    return i;
}

// "text/image" per item of the control itself, walked with its own messages, one dot per level.
void ControlWalk(HWND tree, HTREEITEM item, int level, std::vector<std::string>& out)
{
    for (; item; item = TreeItem_Next(tree, item)) {
        const TTreeItem shown = TreeItem_Read(tree, item);
        out.push_back(std::string(level, '.') + shown.text + "/" + std::to_string(shown.image) + "/" +
                      std::to_string(shown.selectedImage));
        ControlWalk(tree, TreeItem_FirstChild(tree, item), level + 1, out);
    }
}

std::vector<std::string> WithImage(std::vector<std::string> walk, int image)
{
    for (std::string& line : walk)
        line = line.substr(0, line.find('/')) + "/" + std::to_string(image) + "/" + std::to_string(image);
    return walk;
}

// "index" per node in pre-order, one dot per level below the top.
std::vector<std::string> Walk(TTreeNode* first, int baseLevel)
{
    std::vector<std::string> out;
    for (TTreeNode* n = first; n; n = n->GetNext())
        out.push_back(std::string(n->Level() - baseLevel, '.') + std::to_string(Index(n)));
    return out;
}
}  // namespace

TEST_F(ZulFixture, OpenSaveAndCloseMatchPlacingOneByOne)
{
    for (const TPlaceCase& c : PlaceCases()) {
        SCOPED_TRACE(c.what);
        // The reference: each template in directory order below the first earlier template of
        // its parent's name (any letter case), then the control sorts every level.
        TTreeView reference;
        ASSERT_TRUE(reference.Create(&form, 0, 0, 10, 10));
        TStringList names;
        names.SetSorted(true);
        std::vector<TZULTemplate> records(c.templates.size());
        std::vector<bool> found(c.templates.size(), true);
        for (size_t i = 0; i < c.templates.size(); ++i) {
            const Template& t = c.templates[i];
            records[i].tagValues.push_back(TZULTagValue{3, {}});
            std::memcpy(records[i].tagValues[0].value.data(), &i, 4);
            const std::string parent = t.tags[0].id == 0 ? TagBytesText(TTagBytes(t.tags[0].value)) : "";
            TTreeNode* under = nullptr;
            if (!parent.empty()) {
                const int at = names.IndexOf(parent);
                under = at >= 0 ? static_cast<TTreeNode*>(names.Objects(at)) : nullptr;
                found[i] = at >= 0;
            }
            names.AddObject(t.name, reference.AddChild(under, t.name, &records[i]));
        }
        reference.SortChildren(nullptr, true);

        TZULFile* file = Open("place.zul", BuildZul(c.templates));
        ASSERT_NE(file, nullptr);
        TTreeNode* root = file->GetRootNode();
        EXPECT_EQ(Walk(root->GetFirstChild(), 1), Walk(reference.GetFirstNode(), 0));
        for (TTreeNode* n = root->GetFirstChild(); n; n = n->GetNext()) {
            const auto* tpl = static_cast<const TZULTemplate*>(n->Data());
            ASSERT_EQ(n->Text(), tpl->name);
            ASSERT_EQ(tpl->parentInFile, found[Index(n)]) << tpl->name;
            ASSERT_EQ(n->ImageIndex(), IMAGE_TEMPLATE);
            ASSERT_EQ(n->SelectedIndex(), IMAGE_TEMPLATE);
        }
        // Unfolded, the control itself shows the same tree, every template with its image.
        reference.FullExpand();
        root->Expand(true);
        std::vector<std::string> shown, expected;
        ControlWalk(tree.Handle(), TreeView_GetChild(tree.Handle(), root->ItemId()), 0, shown);
        ControlWalk(reference.Handle(), TreeView_GetRoot(reference.Handle()), 0, expected);
        EXPECT_EQ(shown, WithImage(expected, IMAGE_TEMPLATE));
        for (const Template& t : c.templates) {  // the first of equal names is the one found
            TTreeNode* listed = model.FindTemplateInFile(root, t.name, nullptr);
            ASSERT_NE(listed, nullptr);
            EXPECT_EQ(Index(listed), Index(static_cast<TTreeNode*>(names.Objects(names.IndexOf(t.name)))));
        }

        // Saved in the order shown, each body as read.
        std::vector<Template> inOrder;
        for (TTreeNode* n = reference.GetFirstNode(); n; n = n->GetNext())
            inOrder.push_back(c.templates[Index(n)]);
        ASSERT_TRUE(file->Save());
        EXPECT_EQ(ReadBytes("place.zul"), BuildZul(inOrder));

        model.CloseZULFile(file);
        EXPECT_EQ(tree.Count(), 0);
        EXPECT_EQ(TreeView_GetCount(tree.Handle()), 0u);
        EXPECT_EQ(tree.GetFirstNode(), nullptr);
        EXPECT_EQ(UsedSlots(), 0);
    }
}

TEST_F(ZulFixture, SavingAFileLargerThanTheWriteBufferKeepsItsBytes)
{
    // 3,000 templates: a directory and bodies well beyond one buffer of the writer, in order;
    // one description alone is larger than the buffer.
    std::vector<Template> templates;
    for (int i = 0; i < 3000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "big%05d", i);
        const size_t descLength = i == 1500 ? 70000 : static_cast<size_t>(i % 50);
        templates.push_back(Tpl(name, i % 4 ? templates.back().name : "", {IntTag(3, static_cast<uint32_t>(i))},
                                std::string(descLength, 'd') + "\r\n"));
    }
    const Bytes bytes = BuildZul(templates);
    ASSERT_GT(bytes.size(), 3u * 64 * 1024);
    TZULFile* file = Open("big.zul", bytes);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Save());
    EXPECT_EQ(ReadBytes("big.zul"), bytes);
    model.CloseZULFile(file);
}
