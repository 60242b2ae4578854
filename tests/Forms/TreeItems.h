// A tree view's items as the control itself holds them, read with its own messages: tests check
// the control, not the wrapper's idea of it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

struct TTreeItem {
    std::string text;
    int image = 0;
    int selectedImage = 0;
    LPARAM data = 0;
    bool hasChildren = false;  // the control shows its expand button
};

inline TTreeItem TreeItem_Read(HWND tree, HTREEITEM item)
{
    char text[64] = {};
    TVITEMA tv = {};
    tv.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return {text, tv.iImage, tv.iSelectedImage, tv.lParam, tv.cChildren != 0};
}

inline HTREEITEM TreeItem_Next(HWND tree, HTREEITEM item, UINT which = TVGN_NEXT)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(item)));
}

inline HTREEITEM TreeItem_FirstChild(HWND tree, HTREEITEM item)
{
    return TreeItem_Next(tree, item, TVGN_CHILD);
}

// The first item of that text at or after `item` among its siblings and below them, in pre-order.
inline HTREEITEM TreeItem_Find(HWND tree, HTREEITEM item, const std::string& text)
{
    for (; item; item = TreeItem_Next(tree, item)) {
        if (TreeItem_Read(tree, item).text == text)
            return item;
        if (HTREEITEM found = TreeItem_Find(tree, TreeItem_FirstChild(tree, item), text))
            return found;
    }
    return nullptr;
}
