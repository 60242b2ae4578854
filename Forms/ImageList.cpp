#include "ImageList.h"

TImageList::~TImageList()
{
    if (list_)
        ImageList_Destroy(list_);
}

bool TImageList::Create(int width, int height)
{
    if (list_)
        ImageList_Destroy(list_);
    width_ = width;
    height_ = height;
    list_ = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4);
    return list_ != nullptr;
}

int TImageList::Count() const
{
    return list_ ? ImageList_GetImageCount(list_) : 0;
}

int TImageList::AddDrawn(const std::function<void(HDC dc, int width, int height)>& paint,
                         COLORREF transparent)
{
    if (!list_)
        return -1;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, width_, height_};
    HBRUSH back = CreateSolidBrush(transparent);
    FillRect(dc, &all, back);
    DeleteObject(back);
    if (paint)
        paint(dc, width_, height_);
    SelectObject(dc, old);
    DeleteDC(dc);
    const int index = ImageList_AddMasked(list_, bitmap, transparent);
    DeleteObject(bitmap);
    return index;
}

int TImageList::AddBlank()
{
    return AddDrawn(nullptr);
}

COLORREF TImageList::PixelAt(int index, int x, int y) const
{
    if (!list_ || index < 0 || index >= Count())
        return CLR_INVALID;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, width_, height_};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list_, index, dc, 0, 0, ILD_TRANSPARENT);
    const COLORREF color = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return color;
}
