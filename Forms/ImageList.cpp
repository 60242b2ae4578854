#include "ImageList.h"

namespace {
// A bitmap of one image's size selected into a memory DC, filled with one colour.
class TCanvasBitmap {
public:
    TCanvasBitmap(int width, int height, HBRUSH fill)
    {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        RECT all = {0, 0, width, height};
        FillRect(dc_, &all, fill);
    }
    ~TCanvasBitmap()
    {
        Release();
        DeleteObject(bitmap_);
    }
    HDC Dc() const { return dc_; }
    // Ends drawing; the bitmap stays for ImageList_AddMasked.
    HBITMAP Release()
    {
        if (dc_) {
            SelectObject(dc_, old_);
            DeleteDC(dc_);
            dc_ = nullptr;
        }
        return bitmap_;
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};
}  // namespace

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
    HBRUSH back = CreateSolidBrush(transparent);
    TCanvasBitmap canvas(width_, height_, back);
    DeleteObject(back);
    if (paint)
        paint(canvas.Dc(), width_, height_);
    return ImageList_AddMasked(list_, canvas.Release(), transparent);
}

int TImageList::AddBlank()
{
    return AddDrawn(nullptr);
}

COLORREF TImageList::PixelAt(int index, int x, int y) const
{
    if (!list_ || index < 0 || index >= Count())
        return CLR_INVALID;
    TCanvasBitmap canvas(width_, height_, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list_, index, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
    return GetPixel(canvas.Dc(), x, y);
}
