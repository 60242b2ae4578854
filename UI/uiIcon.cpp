#include "uiIcon.h"

#include <cstdio>
#include <cstring>

#include "stdBitmap.h"
#include "uiFrame.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiResource.h"
#include "uiWidget.h"

namespace {

void Release(uiElement* element, Bitmap** bitmap)
{
    if (!*bitmap) return;
    if (element->pBitmap == *bitmap) element->pBitmap = nullptr;
    uiResource_FreeBitmap(*bitmap);
    *bitmap = nullptr;
}

int CellSize(int length, int count)
{
    return count > 0 ? length / count : 0;
}

// A blank work bitmap, or a clean copy of the loaded one to refresh from.
void PrepareBitmaps(uiIconGrid* grid)
{
    if (!grid->pBitmap) uiElement_CreateBitmap(grid);
    else if (!grid->pRestore && !(grid->flags & UIELEMENT_FILL))
        grid->pRestore = uiResource_BitmapData(grid->pBitmap->name);
}

uiElement* CreateIcon() { return new uiIcon; }
uiElement* CreateIconGrid() { return new uiIconGrid; }

}  // namespace

uiIcon::uiIcon()
{
    kind = UIKIND_ICON;
    flags = UIELEMENT_KEYED;
}

uiIcon::~uiIcon()
{
    if ((void*)uiCursor_GetIcon() == (void*)this) uiCursor_DetachIcon();
    Release(this, &normalBitmap);
    Release(this, &hoverBitmap);
    uiCursor_Free(pIconCursor);
    pIconCursor = nullptr;
}

void uiIcon::Update()
{
    uiElement_Update(this);
    // Without a hover picture the icon keeps its normal one.
    Bitmap* shown = ui_GetHoveredElement() == this && hoverBitmap ? hoverBitmap : normalBitmap;
    if (shown == pBitmap) return;
    pBitmap = shown;
    flags |= UIELEMENT_DIRTY;
    if (pParent) pParent->flags |= UIELEMENT_DIRTY;
}

// A script's icon shows the picture its "bitmap" key names: that reference becomes its normal
// picture, which Update puts back whenever the icon is not hovered and the destructor releases.
void uiIcon::LoadBitmaps()
{
    uiElement_LoadBitmaps(this);
    if (!normalBitmap) normalBitmap = pBitmap;
}

int uiIcon_Create(uiIcon* icon, const char* name, int width, int height, int cellWidth,
                  int cellHeight)
{
    if (!name || cellWidth <= 0 || cellHeight <= 0) return 0;
    char hover[UIRESOURCE_NAME_SIZE];
    if (snprintf(hover, sizeof hover, "%s_R", name) >= (int)sizeof hover) return 0;
    Bitmap* normal = uiResource_LoadBitmap(name, uiWidget_BitmapFormat(nullptr));
    if (!normal) return 0;
    Bitmap* texture = uiResource_LoadMaterial(name);
    if (!texture) {
        uiResource_FreeBitmap(normal);
        return 0;
    }
    Release(icon, &icon->normalBitmap);
    Release(icon, &icon->hoverBitmap);
    uiCursor_Free(icon->pIconCursor);
    icon->normalBitmap = normal;
    icon->hoverBitmap = uiResource_LoadBitmap(hover, uiWidget_BitmapFormat(nullptr));
    icon->rect.width = width ? width : normal->width;
    icon->rect.height = height ? height : normal->height;
    icon->cellsAcross = icon->rect.width / cellWidth;
    icon->cellsDown = icon->rect.height / cellHeight;
    icon->pIconCursor = uiCursor_Create(texture, (float)icon->rect.width,
                                        (float)icon->rect.height, UICURSOR_HOT_CENTRE);
    strncpy(icon->name, name, UIELEMENT_NAME_SIZE - 1);
    icon->name[UIELEMENT_NAME_SIZE - 1] = 0;
    return 1;
}

uiIconGrid::uiIconGrid()
{
    kind = UIKIND_ICONGRID;
}

uiIconGrid::~uiIconGrid()
{
    // The icons belong to whoever made them: they leave the grid, they are not destroyed.
    while (pChild) {
        uiElement* child = pChild;
        child->Detach();
        if (pChild == child) break;
    }
}

void uiIconGrid::LoadBitmaps()
{
    uiElement_LoadBitmaps(this);
    cellWidth = CellSize(rect.width, columns);
    cellHeight = CellSize(rect.height, rows);
    PrepareBitmaps(this);
}

int uiIconGrid::ParseKeyword(const char* text, uiDialog* dialog)
{
    if (uiElement_ParseKeyword(this, text, dialog)) return 1;
    char key[UIWIDGET_PAIR_SIZE], value[UIWIDGET_PAIR_SIZE];
    if (!uiWidget_SplitPair(text, key, value)) return 0;
    if (!strcmp(key, "gridsize")) {
        int32_t n[2];
        if (!uiElement_ScanInts(value, n, 2, -UI_COORD_LIMIT, UI_COORD_LIMIT)) return 0;
        columns = n[0];
        rows = n[1];
        return 1;
    }
    if (!strcmp(key, "gridid")) return sscanf(value, "%u", &gridId) == 1;
    return 0;
}

int uiIconGrid::InGrid(int column, int row)
{
    return column >= 0 && column < columns && row >= 0 && row < rows;
}

int uiIconGrid::Fits(const uiIcon* icon, int column, int row)
{
    return icon && InGrid(column, row) && column + icon->cellsAcross <= columns &&
           row + icon->cellsDown <= rows;
}

uiIcon* uiIconGrid::IconAt(int column, int row)
{
    if (!InGrid(column, row)) return nullptr;
    for (uiElement* e = pChild; e; e = e->pNext) {
        if (e->kind != UIKIND_ICON) continue;
        uiIcon* icon = static_cast<uiIcon*>(e);
        if (icon->column <= column && column <= icon->column + icon->cellsAcross - 1 &&
            icon->row <= row && row <= icon->row + icon->cellsDown - 1)
            return icon;
    }
    return nullptr;
}

int uiIconGrid::Occupants(const uiIcon* icon, int column, int row)
{
    if (!icon || !Fits(icon, column, row)) return -1;
    int count = 0;
    const uiIcon* seen[64];
    for (int r = row; r < row + icon->cellsDown; r++) {
        for (int c = column; c < column + icon->cellsAcross; c++) {
            const uiIcon* found = IconAt(c, r);
            if (!found) continue;
            bool known = false;
            for (int i = 0; i < count && i < 64; i++) known = known || seen[i] == found;
            if (known) continue;
            if (count < 64) seen[count] = found;
            count++;
        }
    }
    return count;
}

int uiIconGrid::Drop(uiIcon* icon, int column, int row)
{
    if (!icon || !(gridId & icon->gridMask) || icon->cellsAcross <= 0 || icon->cellsDown <= 0)
        return 0;
    if (icon->rect.width / icon->cellsAcross != cellWidth ||
        icon->rect.height / icon->cellsDown != cellHeight || Occupants(icon, column, row) != 0)
        return 0;
    if ((void*)uiCursor_GetIcon() == (void*)icon) uiCursor_DetachIcon();
    if (icon->pParent || (icon->flags & UIELEMENT_ATTACHED)) icon->Detach();
    uiElement_AddChild(this, icon);
    // Widget rectangles are in the dialog's coordinates, as the grid's own.
    uiElement_SetPos(icon, rect.x + column * cellWidth, rect.y + row * cellHeight);
    icon->column = column;
    icon->row = row;
    icon->gridId = gridId;
    flags |= UIELEMENT_DIRTY;
    return 1;
}

void uiIconGrid::CellUnderCursor(int* column, int* row)
{
    const uiCursor* cursor = uiCursor_Get();
    const float hotX = cursor ? cursor->hotX : 0.0f;
    const float hotY = cursor ? cursor->hotY : 0.0f;
    *column = cellWidth ? (int)(((float)cursorX - hotX + cellWidth * 0.5f) / (float)cellWidth) : 0;
    *row = cellHeight ? (int)(((float)cursorY - hotY + cellHeight * 0.5f) / (float)cellHeight) : 0;
}

void uiIconGrid_SetGrid(uiIconGrid* grid, int columns, int rows, uint32_t gridId)
{
    PrepareBitmaps(grid);
    grid->columns = columns;
    grid->rows = rows;
    grid->gridId = gridId;
    grid->cellWidth = CellSize(grid->rect.width, columns);
    grid->cellHeight = CellSize(grid->rect.height, rows);
}

void uiIcon_Register()
{
    uiDialog_SetElementClass("icon", CreateIcon);
    uiDialog_SetElementClass("icongrid", CreateIconGrid);
}
