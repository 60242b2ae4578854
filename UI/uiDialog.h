// Dialogs: windows of textured background quads and a tree of widgets drawn into them, opened
// into a stack of layers of which only the top one takes the cursor and is drawn; the UI
// script files (.wix) that describe them.
//
// Dialog positions are in UI space (640 x 480, y growing downwards); quad and widget
// rectangles are relative to their dialog.
#pragma once
#include <cstdint>

#include "bitmapRecord.h"
#include "uiElement.h"
#include "uiDialogTree.h"
#include "uiRecords.h"

// A closed dialog in no layer; null without memory.
uiDialog* uiDialog_New();
void uiDialog_Init(uiDialog* dialog);
void uiDialog_Destroy(uiDialog* dialog);
// uiDialog_Destroy, then frees the record (no longer queued).
void uiDialog_Free(uiDialog* dialog);
// Closes the dialog and queues it, once, to be freed at the next uiDialog_Update.
enum : uint32_t { UIDIALOG_DELETE_FREE = 0x1 };
// uiDialog_Destroy, and the record freed as well with UIDIALOG_DELETE_FREE.
void uiDialog_Delete(uiDialog* dialog, uint32_t flags);
void uiDialog_Close(uiDialog* dialog);
void uiDialog_FreeQueued();

void uiDialog_SetPos(uiDialog* dialog, int x, int y);
void uiDialog_Open(uiDialog* dialog);
void uiDialog_FadeIn(uiDialog* dialog, float seconds);
void uiDialog_FadeOut(uiDialog* dialog, float seconds);

int uiDialog_Update();
int uiDialog_DrawAll();
void uiDialog_UpdateOne(uiDialog* dialog);
void uiDialog_Draw(uiDialog* dialog);

int uiDialog_ParseKeyword(uiDialog* dialog, const char* text);
int uiDialog_ParseQuad(uiQuad* quad, const char* text);
void uiDialog_AddQuad(uiDialog* dialog, uiQuad* quad);

int uiDialog_SetHandlerByKind(uiDialog* dialog, int kind, int index, uiElementHandler function);
int uiDialog_SetHandlerByName(uiDialog* dialog, const char* name, int index,
                              uiElementHandler function);

int uiDialog_PlayMusic(uiDialog* dialog);
int uiDialog_IsInTopLayer(const uiDialog* dialog);
int uiDialog_IsInLowerLayer(const uiDialog* dialog);
// Whether the point (dialog coordinates) lies on one of its quads, or without quads on one of
// its widgets.
int uiDialog_HitTest(uiDialog* dialog, int x, int y);

// At the UI's end: frees every dialog in a layer (closing the open ones) and every queued one,
// and pops every layer.
void uiDialog_FreeAll();

uiLayer* uiLayer_Push();
void uiLayer_Pop();
void uiLayer_PopAll();
int uiLayer_Append(uiDialog* dialog);
uiDialog* uiLayer_FirstDialog();
uiLayer* uiLayer_Top();

// Builds one dialog from a UI script; null when the file cannot be opened.
uiDialog* uiDialog_LoadScript(const char* fileName);
// What a script's "element" keyword creates; "static" makes a plain uiElement, and the widget
// modules install the other classes. Lines naming a class without a creator are skipped.
void uiDialog_SetElementClass(const char* keyword, uiElement* (*create)());
