// The report list view on a real hidden window: columns, rows, images, selection with its
// vetoable change, sorting with our order, and the notifications the control really sends.
#include "Application.h"
#include "Form.h"
#include "ImageList.h"
#include "ListView.h"
#include "Menu.h"
#include "TreeView.h"
#include <gtest/gtest.h>

namespace {
class ListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.CreateForm("list", 0, 0, 500, 300));
        ASSERT_TRUE(list.Create(&form, 0, 0, 480, 260));
        list.AddColumn("Keys", 180);
        list.AddColumn("Values", 230);
        list.AddColumn("Mods", 20, LVCFMT_RIGHT);
    }
    int AddRow(const std::string& key, const std::string& value, int image = -1)
    {
        const int row = list.AddItem(key, image);
        list.SetItemText(row, 1, value);
        return row;
    }
    std::vector<std::string> Keys() const
    {
        std::vector<std::string> keys;
        for (int i = 0; i < list.Count(); ++i)
            keys.push_back(list.ItemText(i, 0));
        return keys;
    }
    // The notification the control sends to its parent, as the parent receives it.
    LRESULT SendNotify(UINT code)
    {
        NMHDR header = {list.Handle(), 0, code};
        return SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }
    TForm form;
    TListView list;
};
}  // namespace

TEST_F(ListFixture, ColumnsKeepCaptionWidthAndAlignment)
{
    EXPECT_EQ(list.ColumnCount(), 3);
    EXPECT_EQ(list.ColumnCaption(1), "Values");
    EXPECT_EQ(list.ColumnWidth(0), 180);
    EXPECT_EQ(list.ColumnAlignment(2), LVCFMT_RIGHT);
    EXPECT_EQ(list.ColumnAlignment(0), LVCFMT_LEFT);
    EXPECT_EQ(list.ColumnIndex("Mods"), 2);
    EXPECT_EQ(list.ColumnIndex("mods"), -1);
    list.SetColumnWidth(1, 99);
    EXPECT_EQ(list.ColumnWidth(1), 99);
    list.SetGridLines(true);
    list.SetRowSelect(true);
    EXPECT_TRUE(list.GridLines());
    EXPECT_TRUE(list.RowSelect());
    list.SetGridLines(false);
    EXPECT_FALSE(list.GridLines());
}

TEST_F(ListFixture, RowsHoldTextsImagesAndData)
{
    TImageList images;
    ASSERT_TRUE(images.Create());
    images.AddDrawn([](HDC dc, int w, int h) {
        RECT r = {2, 2, w - 2, h - 2};
        HBRUSH b = CreateSolidBrush(RGB(0, 128, 0));
        FillRect(dc, &r, b);
        DeleteObject(b);
    });
    images.AddBlank();
    EXPECT_EQ(images.Count(), 2);
    EXPECT_EQ(images.PixelAt(0, 8, 8), RGB(0, 128, 0));
    EXPECT_EQ(images.PixelAt(1, 8, 8), RGB(255, 255, 255));  // blank: the background shows
    list.SetImages(&images);

    int payload = 5;
    const int row = AddRow("ORIGIN", "0 0 0", 1);
    list.SetItemData(row, &payload);
    AddRow("NOIMAGE", "x");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemText(0, 1), "0 0 0");
    EXPECT_EQ(list.ItemText(0, 2), "");
    EXPECT_EQ(list.ItemImage(0), 1);
    EXPECT_EQ(list.ItemImage(1), -1);
    EXPECT_EQ(list.ItemData(0), &payload);
    list.SetItemImage(1, 0);
    EXPECT_EQ(list.ItemImage(1), 0);
    const std::string longValue(3000, 'v');
    list.SetItemText(1, 1, longValue);
    EXPECT_EQ(list.ItemText(1, 1), longValue);
    EXPECT_EQ(list.FindText(0, "NOIMAGE"), 1);
    EXPECT_EQ(list.FindText(0, "noimage"), -1);
    EXPECT_EQ(list.FindText(1, "0 0 0", 1), -1);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(ListFixture, SortColumnKeepsRowsInOurAsciiOrder)
{
    list.SetSortColumn(0);
    int data[3] = {1, 2, 3};
    list.SetItemData(AddRow("sweep", "a"), &data[0]);
    list.SetItemData(AddRow("Swamp", "b"), &data[1]);
    list.SetItemData(AddRow("_under", "c"), &data[2]);
    AddRow("Sword", "d");
    EXPECT_EQ(Keys(), (std::vector<std::string>{"_under", "Swamp", "sweep", "Sword"}));
    EXPECT_EQ(list.ItemText(2, 1), "a");
    // Sorting by the second column keeps each row's data with it.
    list.SetSortColumn(1);
    EXPECT_EQ(Keys(), (std::vector<std::string>{"sweep", "Swamp", "_under", "Sword"}));
    EXPECT_EQ(list.ItemData(0), &data[0]);
    EXPECT_EQ(list.ItemData(2), &data[2]);
    // A comparator of our own: by value length, longest first.
    list.SetSortColumn(-1);
    list.SetItemText(3, 1, "dddd");
    list.Sort(1, [](const std::string& a, const std::string& b) {
        return static_cast<int>(b.size()) - static_cast<int>(a.size());
    });
    EXPECT_EQ(Keys(), (std::vector<std::string>{"Sword", "sweep", "Swamp", "_under"}));

    // Sorted by a value column, a new row takes its place when its value is set, and the
    // answer tells where it went.
    list.SetSortColumn(1);
    const int row = list.AddItem("NEW");
    EXPECT_EQ(row, 4);
    const int placed = list.SetItemText(row, 1, "b2");
    EXPECT_EQ(list.ItemText(placed, 0), "NEW");
    EXPECT_EQ(placed, 2);
    EXPECT_EQ(list.SetItemText(placed, 2, "N"), placed);
}

TEST_F(ListFixture, SelectionChangeCanBeRefusedAndIsReported)
{
    for (const char* k : {"A", "B", "C"})
        AddRow(k, "v");
    std::vector<int> changed;
    list.OnChange = [&](int item) { changed.push_back(item); };
    list.SetSelected(1);
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(list.ItemFocused(), 1);
    EXPECT_TRUE(list.IsSelected(1));
    EXPECT_FALSE(changed.empty());
    EXPECT_EQ(changed.back(), 1);

    bool refuse = true;
    list.OnChanging = [&](int, bool& allow) { allow = !refuse; };
    list.SetSelected(2);
    EXPECT_EQ(list.Selected(), 1);
    refuse = false;
    list.SetSelected(2);
    EXPECT_EQ(list.Selected(), 2);
    list.ClearSelection();
    EXPECT_EQ(list.Selected(), -1);
    list.SetItemFocused(0);
    EXPECT_EQ(list.ItemFocused(), 0);
    list.MakeVisible(2);
}

TEST_F(ListFixture, ClicksAndKeysReachTheHandlers)
{
    AddRow("A", "1");
    int clicks = 0, doubles = 0;
    std::string typed;
    list.OnClick = [&](TControl* sender) { EXPECT_EQ(sender, &list); ++clicks; };
    list.OnDblClick = [&](TControl*) { ++doubles; };
    list.OnKeyPress = [&](char& key) {
        typed += key;
        if (key == '\r')
            key = 0;
    };
    SendNotify(NM_CLICK);
    SendNotify(NM_DBLCLK);
    SendMessageA(list.Handle(), WM_CHAR, '\r', 0);
    SendMessageA(list.Handle(), WM_CHAR, 'a', 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(typed, "\ra");
}

TEST_F(ListFixture, RightClickShowsThePopupMenu)
{
    form.Show();
    TPopupMenu popup;
    int toggles = 0;
    TMenuItem* tracking = popup.Add("AutoTracking", [&](TMenuItem*) { ++toggles; });
    int shown = 0;
    popup.OnPopup = [&](TMenuItem*) {
        ++shown;
        PostMessageA(form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(form.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    };
    list.PopupMenu = &popup;
    SendNotify(NM_RCLICK);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(tracking->Enabled());
}

TEST(DragAndDrop, ATreeNodeDraggedOntoTheListDropsThereWhenAccepted)
{
    // The drag's window goes once its posted close is handled: the case lets it go before it
    // ends, so that no window of the layer outlives it.
    struct TDragWindowGone {
        ~TDragWindowGone()
        {
            CancelDrag();
            Application().ProcessMessages();
        }
    } dragWindowGone;
    TForm form;
    ASSERT_TRUE(form.CreateForm("drag", 0, 0, 600, 300));
    TTreeView tags;
    TListView list;
    ASSERT_TRUE(tags.Create(&form, 0, 0, 200, 280));
    ASSERT_TRUE(list.Create(&form, 220, 0, 300, 280));
    form.Show();
    tags.SetDragEnabled(true);
    TTreeNode* category = tags.Add("Render");
    TTreeNode* tag = tags.AddChild(category, "MODEL");
    category->Expand(false);

    // The tree sends TVN_BEGINDRAG for the node under the mouse.
    NMTREEVIEWA nm = {};
    nm.hdr = {tags.Handle(), 0, static_cast<UINT>(TVN_BEGINDRAGA)};
    nm.itemNew.hItem = tag->ItemId();
    nm.itemNew.lParam = reinterpret_cast<LPARAM>(tag);
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    ASSERT_TRUE(Dragging());
    EXPECT_EQ(DragSource(), &tags);
    EXPECT_EQ(tags.Selected(), tag);

    std::string dropped;
    bool acceptTag = false;
    list.OnDragOver = [&](TControl* source, int, int, bool& accept) {
        accept = source == &tags && acceptTag;
    };
    list.OnDragDrop = [&](TControl* source, int x, int y) {
        dropped = static_cast<TTreeView*>(source)->Selected()->Text() + "@" + std::to_string(x) +
                  "," + std::to_string(y);
    };
    POINT overList = {30, 40};
    ClientToScreen(list.Handle(), &overList);
    EXPECT_FALSE(DragOverAt(overList));
    acceptTag = true;
    EXPECT_TRUE(DragOverAt(overList));
    EXPECT_TRUE(DropAt(overList));
    EXPECT_FALSE(Dragging());
    EXPECT_EQ(dropped, "MODEL@30,40");

    // A drop where nobody accepts ends the drag without a drop.
    ASSERT_TRUE(BeginDrag(&tags));
    POINT outside = {5, 5};
    ClientToScreen(form.Handle(), &outside);
    dropped.clear();
    EXPECT_FALSE(DropAt(outside));
    EXPECT_FALSE(Dragging());
    EXPECT_TRUE(dropped.empty());
}
