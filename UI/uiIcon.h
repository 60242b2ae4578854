// Icons that can ride on the cursor and sit in an icon grid, and the grid that places them on
// a raster of cells. An icon covers cellsAcross x cellsDown cells of a grid.
#pragma once
#include <cstdint>

#include "uiElement.h"

struct uiIconGrid : uiElement {
    uiIconGrid();
    ~uiIconGrid() override;

    void LoadBitmaps() override;
    int ParseKeyword(const char* text, uiDialog* dialog) override;
    virtual int Drop(uiIcon* icon, int column, int row);
    virtual void CellUnderCursor(int* column, int* row);
    virtual int Occupants(const uiIcon* icon, int column, int row);
    virtual int Fits(const uiIcon* icon, int column, int row);
    virtual int InGrid(int column, int row);
    virtual uiIcon* IconAt(int column, int row);

    uint32_t gridId = 0;
    int32_t columns = 0;
    int32_t rows = 0;
    int32_t cellWidth = 0;  // 0 while the grid has no columns
    int32_t cellHeight = 0;
};

// Loads the icon's pictures (name, and name + "_R" for hover) and its cursor texture; a width
// or height of 0 takes the picture's. 0 when a picture or the texture is missing or a cell
// size is not positive.
int uiIcon_Create(uiIcon* icon, const char* name, int width, int height, int cellWidth,
                  int cellHeight);
void uiIconGrid_SetGrid(uiIconGrid* grid, int columns, int rows, uint32_t gridId);

// The script classes "icon" and "icongrid".
void uiIcon_Register();
