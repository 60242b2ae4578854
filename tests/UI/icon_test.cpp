// Icons and icon grids: making an icon from its pictures and texture, hover pictures, and the
// grid's cells, fit, occupants and drop.
#include <gtest/gtest.h>

#include <string>

#include "ui.h"
#include "uiCursor.h"
#include "uiIcon.h"
#include "uiTestSupport.h"

namespace {

class Icons : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        StartRegistryAndCursor();
        WritePicture("Gem", 20, 10, true);
        WritePicture("Gem_R", 20, 10, true);
        WritePicture("Sword", 10, 10, true);
        WritePicture("Orb", 20, 10, false);  // a picture in the UI folder only
    }

    // A grid of columns x rows cells of 10 x 10 at (30, 40), id 1.
    static uiIconGrid* MakeGrid(int columns, int rows)
    {
        uiIconGrid* grid = new uiIconGrid;
        grid->rect = {30, 40, columns * 10, rows * 10};
        EXPECT_EQ(grid->ParseKeyword(("gridsize=" + std::to_string(columns) + "," +
                                      std::to_string(rows)).c_str(), nullptr), 1);
        EXPECT_EQ(grid->ParseKeyword("gridid=1", nullptr), 1);
        grid->LoadBitmaps();
        return grid;
    }
    static uiIcon* MakeIcon(const char* name, uint32_t mask = 1)
    {
        uiIcon* icon = new uiIcon;
        EXPECT_EQ(uiIcon_Create(icon, name, 0, 0, 10, 10), 1) << name;
        icon->gridMask = mask;
        return icon;
    }
};

TEST_F(Icons, IconsAreMadeFromTheirPicturesAndTexture)
{
    uiIcon* gem = MakeIcon("Gem");
    EXPECT_STREQ(gem->name, "Gem");
    EXPECT_EQ(gem->rect.width, 20);
    EXPECT_EQ(gem->rect.height, 10);
    EXPECT_EQ(gem->cellsAcross, 2);
    EXPECT_EQ(gem->cellsDown, 1);
    EXPECT_EQ(gem->column, -1);
    EXPECT_TRUE(gem->flags & UIELEMENT_KEYED);
    ASSERT_NE(gem->hoverBitmap, nullptr);
    ASSERT_NE(gem->pIconCursor, nullptr);
    EXPECT_FLOAT_EQ(gem->pIconCursor->width, 20.0f);

    gem->Update();
    EXPECT_EQ(gem->pBitmap, gem->normalBitmap);
    ui_SetHoveredElement(gem);
    gem->flags &= ~UIELEMENT_DIRTY;
    gem->Update();
    EXPECT_EQ(gem->pBitmap, gem->hoverBitmap);
    EXPECT_TRUE(gem->flags & UIELEMENT_DIRTY);

    uiIcon* sword = MakeIcon("Sword");
    EXPECT_EQ(sword->hoverBitmap, nullptr);
    ui_SetHoveredElement(sword);
    sword->Update();
    EXPECT_EQ(sword->pBitmap, sword->normalBitmap);

    struct Refused {
        const char* name;
        int cellWidth, cellHeight;
    } refused[] = {{"Gem", 0, 10}, {"Gem", 10, 0}, {"Gem", -10, 10}, {"None", 10, 10}};
    for (const Refused& r : refused) {
        uiIcon icon;
        EXPECT_EQ(uiIcon_Create(&icon, r.name, 0, 0, r.cellWidth, r.cellHeight), 0) << r.name;
        EXPECT_EQ(icon.normalBitmap, nullptr);
    }
    // Textures come from the UI folders too, the UI folder itself first: a picture there is
    // its icon's texture as well.
    uiIcon orb;
    EXPECT_EQ(uiIcon_Create(&orb, "Orb", 0, 0, 10, 10), 1);
    ASSERT_NE(orb.pIconCursor, nullptr);
    EXPECT_EQ(orb.pIconCursor->pBitmap->width, 20);
    delete gem;
    delete sword;
}

TEST_F(Icons, GridTakesIconsOnlyWhereTheyFitFreeCells)
{
    uiIconGrid* grid = MakeGrid(4, 2);
    EXPECT_EQ(grid->cellWidth, 10);
    EXPECT_EQ(grid->cellHeight, 10);
    uiIcon* first = MakeIcon("Gem");
    uiIcon* second = MakeIcon("Gem");
    uiIcon* small = MakeIcon("Sword");
    uiIcon* foreign = MakeIcon("Sword", 2);

    EXPECT_EQ(grid->Drop(first, 3, 0), 0);  // two cells wide at the last column
    EXPECT_EQ(grid->Drop(first, 0, 2), 0);
    EXPECT_EQ(grid->Drop(first, -1, 0), 0);
    EXPECT_EQ(grid->Drop(foreign, 0, 0), 0);
    ASSERT_EQ(grid->Drop(first, 0, 0), 1);
    EXPECT_EQ(first->pParent, grid);
    EXPECT_EQ(first->column, 0);
    EXPECT_EQ(first->row, 0);
    EXPECT_EQ(first->gridId, 1u);
    EXPECT_EQ(first->rect.x, 30);
    EXPECT_EQ(first->rect.y, 40);
    EXPECT_EQ(grid->Drop(second, 1, 0), 0);  // half covered
    ASSERT_EQ(grid->Drop(second, 2, 1), 1);
    EXPECT_EQ(second->rect.x, 50);
    EXPECT_EQ(second->rect.y, 50);
    ASSERT_EQ(grid->Drop(small, 3, 0), 1);

    struct Cell {
        int column, row;
        uiIcon* at;
        int occupants;  // of a 2 x 1 icon put there
    } cells[] = {{0, 0, first, 1}, {1, 0, first, 1}, {2, 0, nullptr, 1}, {3, 0, small, -1},
                 {0, 1, nullptr, 0}, {1, 1, nullptr, 1}, {3, 1, second, -1}, {4, 0, nullptr, -1}};
    for (const Cell& c : cells) {
        EXPECT_EQ(grid->IconAt(c.column, c.row), c.at) << c.column << "," << c.row;
        EXPECT_EQ(grid->Occupants(second, c.column, c.row), c.occupants) << c.column << "," << c.row;
    }
    EXPECT_EQ(grid->Occupants(nullptr, 0, 0), -1);

    grid->cursorX = 14;
    grid->cursorY = 4;
    int column = -1, row = -1;
    grid->CellUnderCursor(&column, &row);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(row, 0);

    // The grid's end lets its icons go without destroying them.
    delete grid;
    EXPECT_EQ(first->pParent, nullptr);
    EXPECT_EQ(small->pParent, nullptr);
    delete first;
    delete second;
    delete small;
    delete foreign;
}

TEST_F(Icons, AGridWithoutCellsTakesNothing)
{
    uiIconGrid* grid = new uiIconGrid;
    grid->rect = {0, 0, 40, 20};
    EXPECT_EQ(grid->ParseKeyword("gridsize=4", nullptr), 0);
    EXPECT_EQ(grid->ParseKeyword("gridid=x", nullptr), 0);
    grid->LoadBitmaps();
    EXPECT_EQ(grid->cellWidth, 0);
    EXPECT_EQ(grid->cellHeight, 0);
    int column = -1, row = -1;
    grid->CellUnderCursor(&column, &row);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 0);
    uiIcon* gem = MakeIcon("Gem", 0xFFFFFFFF);
    EXPECT_EQ(grid->Drop(gem, 0, 0), 0);
    uiIconGrid_SetGrid(grid, 2, 0, 1);
    EXPECT_EQ(grid->cellWidth, 20);
    EXPECT_EQ(grid->cellHeight, 0);
    EXPECT_EQ(grid->Drop(gem, 0, 0), 0);
    uiIconGrid_SetGrid(grid, 2, 2, 1);
    EXPECT_EQ(grid->Drop(gem, 0, 0), 0);  // cells of 20 x 10, the gem's are 10 x 10
    uiIconGrid_SetGrid(grid, 4, 2, 1);
    EXPECT_EQ(grid->Drop(gem, 0, 0), 1);
    delete grid;
    delete gem;
}

}  // namespace
