// A list of small images for tree views, list views and tool bars, drawn by the program at run
// time (no image files): each image is painted into a bitmap by a callback.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>

class TImageList {
public:
    TImageList() = default;
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    bool Create(int width = 16, int height = 16);
    HIMAGELIST Handle() const { return list_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;

    // Paints one image: the callback draws into dc over (0, 0, width, height); what it leaves
    // in the transparent colour shows the background. Answers the new index, -1 on failure.
    int AddDrawn(const std::function<void(HDC dc, int width, int height)>& paint,
                 COLORREF transparent = RGB(255, 0, 255));
    // A fully transparent image: rows that need room for an image but show none.
    int AddBlank();
    // The colour of one pixel of image index (for checks), CLR_INVALID when out of range.
    COLORREF PixelAt(int index, int x, int y) const;

private:
    HIMAGELIST list_ = nullptr;
    int width_ = 16;
    int height_ = 16;
};
