#include "Form.h"
#include "TreeItems.h"
#include "TreeView.h"
#include "ImageList.h"
#include <gtest/gtest.h>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {
class TreeFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.CreateForm("tree", 0, 0, 300, 300));
        ASSERT_TRUE(tree.Create(&form, 0, 0, 300, 300));
    }
    std::vector<std::string> PreOrder()
    {
        std::vector<std::string> out;
        for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext())
            out.push_back(std::string(n->Level(), '.') + n->Text());
        return out;
    }
    TForm form;
    TTreeView tree;
};
}  // namespace

TEST_F(TreeFixture, NodesCarryTextDataImageAndPlace)
{
    int payload = 7;
    TTreeNode* root = tree.Add("file.zul");
    TTreeNode* a = tree.AddChild(root, "a", &payload);
    TTreeNode* b = tree.AddChild(a, "b");
    a->SetImageIndex(2);
    a->SetSelectedIndex(2);
    EXPECT_EQ(a->Text(), "a");
    EXPECT_EQ(a->Data(), &payload);
    EXPECT_EQ(a->ImageIndex(), 2);
    EXPECT_EQ(a->SelectedIndex(), 2);
    EXPECT_EQ(root->Level(), 0);
    EXPECT_EQ(b->Level(), 2);
    EXPECT_EQ(b->Parent(), a);
    EXPECT_EQ(root->Parent(), nullptr);
    EXPECT_EQ(root->Count(), 1);
    EXPECT_EQ(root->Item(0), a);
    EXPECT_TRUE(b->HasAsParent(root));
    EXPECT_EQ(tree.Count(), 3);
    b->SetText("renamed");
    EXPECT_EQ(b->Text(), "renamed");
}

TEST_F(TreeFixture, WalkIsPreOrderAcrossRoots)
{
    TTreeNode* r1 = tree.Add("r1");
    TTreeNode* x = tree.AddChild(r1, "x");
    tree.AddChild(x, "y");
    tree.AddChild(r1, "z");
    tree.Add("r2");
    EXPECT_EQ(PreOrder(), (std::vector<std::string>{"r1", ".x", "..y", ".z", "r2"}));
    EXPECT_EQ(r1->GetLastChild()->Text(), "z");
    EXPECT_EQ(r1->GetNextSibling()->Text(), "r2");
}

TEST_F(TreeFixture, DeleteRemovesTheWholeSubtree)
{
    TTreeNode* r = tree.Add("r");
    TTreeNode* a = tree.AddChild(r, "a");
    tree.AddChild(a, "a1");
    tree.AddChild(r, "b");
    tree.Delete(a);
    EXPECT_EQ(PreOrder(), (std::vector<std::string>{"r", ".b"}));
    EXPECT_EQ(tree.Count(), 2);
    tree.Clear();
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(tree.GetFirstNode(), nullptr);
}

TEST_F(TreeFixture, SortUsesAsciiOrderWithStableTieBreak)
{
    TTreeNode* r = tree.Add("r");
    for (const char* name : {"door", "_under", "Chest", "DOOR", "apple"})
        tree.AddChild(r, name);
    TTreeNode* c = r->Item(2);  // Chest, before sorting
    tree.AddChild(c, "z");
    tree.AddChild(c, "M");
    r->AlphaSort();
    EXPECT_EQ(PreOrder(), (std::vector<std::string>{"r", "._under", ".apple", ".Chest", "..z", "..M",
                                                    ".DOOR", ".door"}));
    tree.SortChildren(nullptr, true);  // recursive from the top
    EXPECT_EQ(c->Item(0)->Text(), "M");
}

TEST_F(TreeFixture, SelectionEventsCanRefuse)
{
    TTreeNode* a = tree.Add("a");
    TTreeNode* b = tree.Add("b");
    std::vector<std::string> changed;
    bool allow = true;
    tree.OnChanging = [&](TTreeNode*, bool& ok) { ok = allow; };
    tree.OnChange = [&](TTreeNode* n) { changed.push_back(n ? n->Text() : "-"); };
    tree.Select(a);
    EXPECT_EQ(tree.Selected(), a);
    allow = false;
    tree.Select(b);
    EXPECT_EQ(tree.Selected(), a);
    allow = true;
    tree.Select(b);
    EXPECT_EQ(tree.Selected(), b);
    EXPECT_EQ(changed, (std::vector<std::string>{"a", "b"}));
}

TEST_F(TreeFixture, ExpandAndCollapse)
{
    TTreeNode* r = tree.Add("r");
    TTreeNode* a = tree.AddChild(r, "a");
    tree.AddChild(a, "a1");
    r->Expand(true);
    EXPECT_TRUE(r->Expanded());
    EXPECT_TRUE(a->Expanded());
    r->Collapse(true);
    EXPECT_FALSE(r->Expanded());
    EXPECT_FALSE(a->Expanded());
}

TEST_F(TreeFixture, MoveToCarriesTheSubtreeAndKeepsNodeObjects)
{
    int data = 3;
    TTreeNode* r1 = tree.Add("r1");
    TTreeNode* r2 = tree.Add("r2");
    TTreeNode* a = tree.AddChild(r1, "a", &data);
    TTreeNode* a1 = tree.AddChild(a, "a1");
    tree.AddChild(r2, "b");
    a->SetImageIndex(2);
    a->Expand(false);
    tree.Select(a1);
    ASSERT_TRUE(a->MoveTo(r2));
    EXPECT_EQ(PreOrder(), (std::vector<std::string>{"r1", "r2", ".b", ".a", "..a1"}));
    EXPECT_EQ(a->Parent(), r2);
    EXPECT_EQ(a1->Parent(), a);
    EXPECT_EQ(a->Data(), &data);
    EXPECT_EQ(a->ImageIndex(), 2);
    EXPECT_TRUE(a->Expanded());
    EXPECT_EQ(tree.Count(), 5);
    EXPECT_FALSE(r2->MoveTo(a1));  // not into its own subtree
    EXPECT_TRUE(a->MoveTo(nullptr));
    EXPECT_EQ(PreOrder(), (std::vector<std::string>{"r1", "r2", ".b", "a", ".a1"}));
    tree.Delete(a);  // the moved node objects are still the tree's to free
    EXPECT_EQ(tree.Count(), 3);
}

TEST_F(TreeFixture, ExpandingCanBeRefusedAndNodesFoundByPoint)
{
    TTreeNode* r = tree.Add("r");
    tree.AddChild(r, "a");
    bool allow = false;
    int collapsing = 0;
    tree.OnExpanding = [&](TTreeNode* n, bool& ok) {
        EXPECT_EQ(n, r);
        ok = allow;
    };
    tree.OnCollapsing = [&](TTreeNode*, bool&) { ++collapsing; };
    r->Expand(false);
    EXPECT_FALSE(r->Expanded());
    allow = true;
    r->Expand(false);
    EXPECT_TRUE(r->Expanded());
    // The user's collapse (Left on the selected node) asks; the program's own does not.
    tree.Select(r);
    SendMessageA(tree.Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(collapsing, 1);
    EXPECT_FALSE(r->Expanded());
    RECT rect = {};
    const HTREEITEM item = r->ItemId();
    std::memcpy(&rect, &item, sizeof item);
    ASSERT_TRUE(SendMessageA(tree.Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    EXPECT_EQ(tree.GetNodeAt(rect.left + 2, (rect.top + rect.bottom) / 2), r);
    EXPECT_EQ(tree.GetNodeAt(5, 290), nullptr);
}

TEST_F(TreeFixture, ImagesAreGivenToTheControl)
{
    TImageList images;
    ASSERT_TRUE(images.Create());
    images.AddBlank();
    tree.SetImages(&images);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(tree.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
              images.Handle());
    tree.SetImages(nullptr);
    EXPECT_EQ(SendMessageA(tree.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
}

namespace {
// The tree as the control itself holds it, walked with its own messages.
void ControlPreOrder(HWND tree, HTREEITEM item, int level, std::vector<std::string>& out)
{
    for (; item; item = TreeItem_Next(tree, item)) {
        const TTreeItem shown = TreeItem_Read(tree, item);
        const auto* node = reinterpret_cast<const TTreeNode*>(shown.data);
        out.push_back(std::string(level, '.') + shown.text + "/" + std::to_string(shown.image) +
                      (node && node->ItemId() == item ? "" : "!"));
        ControlPreOrder(tree, TreeItem_FirstChild(tree, item), level + 1, out);
    }
}
}  // namespace

// Adds, renames, sorts, moves, deletes, expands, collapses and selects at random: after each step
// the control holds exactly the nodes that have items, in the nodes' order (parents, siblings,
// texts, images), every node below a node with shown children has its item, and each item shows
// the expand button exactly when its node has children. Unfolded whole, it is the nodes' tree.
TEST_F(TreeFixture, NodesKeepTheControlsTreeThroughEveryChange)
{
    std::mt19937 random(7);
    std::vector<TTreeNode*> nodes;
    auto pick = [&]() { return nodes.empty() ? nullptr : nodes[random() % nodes.size()]; };
    auto controlTree = [&] {
        std::vector<std::string> out;
        ControlPreOrder(tree.Handle(), TreeView_GetRoot(tree.Handle()), 0, out);
        return out;
    };
    auto nodesWithItems = [&] {
        std::vector<std::string> out;
        for (TTreeNode* n = tree.GetFirstNode(); n; n = n->ItemId() ? n->GetNext() : n->GetNextAfterSubtree())
            if (n->ItemId())
                out.push_back(std::string(n->Level(), '.') + n->Text() + "/" + std::to_string(n->ImageIndex()));
        return out;
    };
    auto checkItems = [&](int step) {
        for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext()) {
            TTreeNode* p = n->Parent();
            if (!p || (p->ItemId() && p->Expanded())) {
                ASSERT_NE(n->ItemId(), nullptr) << n->Text() << " after step " << step;
            }
            if (!n->ItemId())
                continue;
            ASSERT_TRUE(!p || p->ItemId()) << n->Text() << " after step " << step;
            ASSERT_EQ(TreeItem_Read(tree.Handle(), n->ItemId()).hasChildren, n->HasChildren())
                << n->Text() << " after step " << step;
            ASSERT_EQ(tree.NodeFromItem(n->ItemId()), n);
        }
    };
    for (int step = 0; step < 500; ++step) {
        const int op = static_cast<int>(random() % 14);
        TTreeNode* node = pick();
        if (op < 5 || !node) {
            nodes.push_back(tree.AddChild(random() % 4 ? node : nullptr, "n" + std::to_string(random() % 50),
                                          nullptr, static_cast<int>(random() % 3)));
        } else if (op == 5) {
            node->SetText("r" + std::to_string(random() % 50));
            node->SetImageIndex(static_cast<int>(random() % 3));
        } else if (op == 6) {
            tree.SortChildren(random() % 3 ? node : nullptr, random() % 2);
        } else if (op == 7) {
            TTreeNode* target = random() % 5 ? pick() : nullptr;
            EXPECT_EQ(node->MoveTo(target), target != node && !(target && target->HasAsParent(node)));
        } else if (op == 8) {
            std::vector<TTreeNode*> kept;
            for (TTreeNode* n : nodes)
                if (n != node && !n->HasAsParent(node))
                    kept.push_back(n);
            tree.Delete(node);
            nodes = kept;
        } else if (op == 9) {
            node->Expand(random() % 4 == 0);
            if (node->HasChildren()) {
                EXPECT_TRUE(node->Expanded());
            }
        } else if (op == 10) {
            node->Collapse(random() % 2);
            EXPECT_FALSE(node->Expanded());
        } else if (op == 11) {
            tree.Select(node);
            EXPECT_EQ(tree.Selected(), node);
        } else if (op == 12) {
            node->MakeVisible();
            for (TTreeNode* p = node->Parent(); p; p = p->Parent())
                EXPECT_TRUE(p->Expanded());
        } else {
            tree.Select(nullptr);
        }
        ASSERT_EQ(nodesWithItems(), controlTree()) << "after step " << step << " (operation " << op << ")";
        checkItems(step);
        ASSERT_EQ(tree.Count(), static_cast<int>(nodes.size()));
    }
    tree.FullExpand();
    std::vector<std::string> all;
    for (TTreeNode* n = tree.GetFirstNode(); n; n = n->GetNext())
        all.push_back(std::string(n->Level(), '.') + n->Text() + "/" + std::to_string(n->ImageIndex()));
    EXPECT_EQ(controlTree(), all);
    for (TTreeNode* n : nodes) {
        const TTreeNode* last = n->GetFirstChild();
        while (last && last->GetNextSibling())
            last = last->GetNextSibling();
        EXPECT_EQ(n->GetLastChild(), last);
        EXPECT_EQ(tree.NodeFromItem(n->ItemId()), n);
    }
}
