#include "uiResource.h"

#include <cstdlib>
#include <cstring>

#include "renderBitmap.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "stdHash.h"
#include "stdPath.h"
#include "uiRecords.h"

namespace {

struct Entry {
    int kind;
    void* pObject;
};

stdHash* g_pTable;
int g_numFonts;

Entry* FindEntry(const char* name)
{
    return (g_pTable && name) ? (Entry*)stdHash_Find(g_pTable, name) : nullptr;
}

void FreeEntries()
{
    for (uint32_t b = 0; b < g_pTable->bucketCount; b++) {
        for (stdHashEntry* e = g_pTable->buckets[b]; e; e = e->next) free(e->value);
    }
}

// A font is registered under its name field, which keeps 31 characters: look it up the same.
void FontKey(char* key, const char* name)
{
    strncpy(key, name, STDFONT_NAME_SIZE - 1);
    key[STDFONT_NAME_SIZE - 1] = 0;
}

}  // namespace

int uiResource_Startup()
{
    if (g_pTable) return 0;
    g_pTable = stdHash_Create(1024, "uiResource");
    return g_pTable != nullptr;
}

int uiResource_Shutdown()
{
    if (g_pTable) {
        FreeEntries();
        stdHash_Free(g_pTable);
        g_pTable = nullptr;
    }
    return 1;
}

int uiResource_IsStarted()
{
    return g_pTable != nullptr;
}

Bitmap* uiResource_LoadBitmap(const char* name, uint32_t format)
{
    char path[UIRESOURCE_NAME_SIZE];
    if (!stdPath_MakeFileName(path, sizeof path, name, "TGA", STDPATH_KEEP_EXTENSION))
        return nullptr;
    return stdBitmap_Load(path, format, STDFILE_TYPE_UI);
}

int uiResource_FreeBitmap(Bitmap* bitmap)
{
    return bitmap ? stdBitmap_Release(bitmap) : 0;
}

Bitmap* uiResource_BitmapData(const char* name)
{
    Bitmap* cached = name ? stdBitmap_Find(name) : nullptr;
    return cached ? stdBitmap_Duplicate(cached) : nullptr;
}

Bitmap* uiResource_LoadMaterial(const char* name)
{
    if (!name || !*name) return nullptr;
    return renderBitmap_LoadFrom(name, RENDERBITMAP_LOAD_SINGLE_LEVEL, STDFILE_TYPE_UI);
}

int uiResource_FreeMaterial(Bitmap* texture)
{
    if (texture) renderBitmap_Release(texture);
    return 0;
}

void* uiResource_Find(const char* name)
{
    Entry* entry = FindEntry(name);
    return entry ? entry->pObject : nullptr;
}

void* uiResource_FindOfKind(const char* name, int kind)
{
    Entry* entry = FindEntry(name);
    return (entry && entry->kind == kind) ? entry->pObject : nullptr;
}

int uiResource_AddNamed(const char* name, void* object, int kind)
{
    if (!g_pTable || !name || !*name || !object || FindEntry(name)) return 0;
    Entry* entry = (Entry*)malloc(sizeof(Entry));
    if (!entry) return 0;
    entry->kind = kind;
    entry->pObject = object;
    if (!stdHash_Add(g_pTable, name, entry)) {
        free(entry);
        return 0;
    }
    return 1;
}

int uiResource_RemoveNamed(const char* name, const void* object)
{
    Entry* entry = FindEntry(name);
    if (!entry || entry->pObject != object) return 0;
    stdHash_Remove(g_pTable, name);
    free(entry);
    return 1;
}

namespace {

// Widgets and dialogs are entered under their own name, and a flag of their own says so.
template <typename T> int AddRegistered(T* object, int kind, uint32_t registered)
{
    if (!object || !uiResource_AddNamed(object->name, object, kind)) return 0;
    object->flags |= registered;
    return 1;
}

template <typename T> void RemoveRegistered(T* object, uint32_t registered)
{
    if (!object || !(object->flags & registered)) return;
    uiResource_RemoveNamed(object->name, object);
    object->flags &= ~registered;
}

}  // namespace

int uiResource_AddElement(uiElement* element)
{
    return AddRegistered(element, UIRESOURCE_ELEMENT, UIELEMENT_FLAG_REGISTERED);
}

void uiResource_RemoveElement(uiElement* element)
{
    RemoveRegistered(element, UIELEMENT_FLAG_REGISTERED);
}

int uiResource_AddDialog(uiDialog* dialog)
{
    return AddRegistered(dialog, UIRESOURCE_DIALOG, UIDIALOG_FLAG_REGISTERED);
}

void uiResource_RemoveDialog(uiDialog* dialog)
{
    RemoveRegistered(dialog, UIDIALOG_FLAG_REGISTERED);
}

stdFont* uiResource_LoadFont(const char* name)
{
    if (!g_pTable || !name || !*name) return nullptr;
    char key[STDFONT_NAME_SIZE];
    FontKey(key, name);
    if (Entry* entry = FindEntry(key)) {
        if (entry->kind != UIRESOURCE_FONT) return nullptr;
        stdFont* font = (stdFont*)entry->pObject;
        font->refCount++;
        return font;
    }
    stdFont* font = stdFont_Load(name);
    if (!font) return nullptr;
    strcpy(font->name, key);
    font->refCount = 1;
    if (!uiResource_AddNamed(font->name, font, UIRESOURCE_FONT)) {
        stdFont_Free(font);
        return nullptr;
    }
    g_numFonts++;
    return font;
}

int uiResource_FreeFont(stdFont* font)
{
    if (!font || font->refCount == 0) return 0;
    if (--font->refCount > 0) return (int)font->refCount;
    uiResource_RemoveNamed(font->name, font);
    g_numFonts--;
    stdFont_Free(font);
    return 0;
}

int uiResource_GetFontCount()
{
    return g_numFonts;
}
