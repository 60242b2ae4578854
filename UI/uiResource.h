// The UI resource registry: one case-insensitive name table through which widgets, dialogs
// and fonts are found, and the loading and release of UI bitmaps, textures and fonts.
//
// Every entry remembers what kind of object it names, so that a name held by a widget or a
// dialog is never taken for a font. The table keeps the caller's name pointer (a widget's or
// dialog's own name field, a font's name field) and never owns what it holds.
#pragma once
#include <cstdint>

#include "bitmapRecord.h"
#include "stdFont.h"

struct uiDialog;
struct uiElement;

enum {
    UIRESOURCE_NAME_SIZE = 128,  // a bitmap name with its extension
};

enum uiResourceKind {
    UIRESOURCE_ELEMENT = 1,
    UIRESOURCE_DIALOG = 2,
    UIRESOURCE_FONT = 3,
};

// Flags that registration sets on widgets and dialogs.
enum : uint32_t {
    UIELEMENT_FLAG_REGISTERED = 0x4000,
    UIDIALOG_FLAG_REGISTERED = 0x4,
};

int uiResource_Startup();
int uiResource_Shutdown();
int uiResource_IsStarted();

// A UI bitmap through the bitmap cache from the UI folders, with the extension "TGA" when the
// name has none; null when it cannot be loaded or its name would not fit with the extension.
Bitmap* uiResource_LoadBitmap(const char* name, uint32_t format);
int uiResource_FreeBitmap(Bitmap* bitmap);
// A new copy, header and pixels, of the cached bitmap of that name, or null.
Bitmap* uiResource_BitmapData(const char* name);
// A texture through the texture cache from the UI folders, whole (one level, no reduction);
// null when missing.
Bitmap* uiResource_LoadMaterial(const char* name);
int uiResource_FreeMaterial(Bitmap* texture);

// Whatever the registry holds under the name, or null.
void* uiResource_Find(const char* name);
// The object under the name when it is of the kind, else null.
void* uiResource_FindOfKind(const char* name, int kind);
// Enters object under name (the pointer is kept); 0 when the name is empty or taken. The
// widget and dialog registrations set their flag and call this.
int uiResource_AddNamed(const char* name, void* object, int kind);
// Removes the name when it names this object; 1 when removed.
int uiResource_RemoveNamed(const char* name, const void* object);

// A widget under its name with its registered flag: 1, or 0 when the name is empty or taken.
int uiResource_AddElement(uiElement* element);
// Removes a registered widget's name (only its own entry) and clears the flag.
void uiResource_RemoveElement(uiElement* element);
// A dialog under its name with its registered flag: 1, or 0 when the name is empty or taken.
int uiResource_AddDialog(uiDialog* dialog);
// Removes a registered dialog's name (only its own entry) and clears the flag.
void uiResource_RemoveDialog(uiDialog* dialog);

// The font registered under the name with one more reference, else the font file loaded and
// entered with count 1; null when it cannot be loaded or the name belongs to a widget or
// dialog.
stdFont* uiResource_LoadFont(const char* name);
// Lowers the count; at 0 the name is removed and the font freed. The remaining count.
int uiResource_FreeFont(stdFont* font);
int uiResource_GetFontCount();
