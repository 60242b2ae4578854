#include "uiTextbox.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "stdBitmap.h"
#include "uiFrame.h"
#include "uiDialog.h"
#include "uiFont.h"
#include "uiInputState.h"
#include "uiResource.h"
#include "uiWidget.h"
#include "uiSlider.h"

namespace {

int LineHeight(const uiTextbox* textbox)
{
    return uiFont_LineHeight(textbox->pFont);
}

int CharWidth(const uiTextbox* textbox, unsigned char c)
{
    return uiFont_CharWidth(textbox->pFont, c);
}

int TextWidth(const uiTextbox* textbox, const char* text)
{
    return uiFont_TextWidth(textbox->pFont, text);
}

char* CopyText(const char* text, size_t length)
{
    char* copy = (char*)malloc(length + 1);
    if (!copy) return nullptr;
    memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
}

void FreePieces(uiTextLine* line)
{
    while (line->pPieces) {
        uiTextPiece* next = line->pPieces->pNext;
        free(line->pPieces->text);
        free(line->pPieces);
        line->pPieces = next;
    }
    line->pieceCount = 0;
}

void FreeLine(uiTextLine* line)
{
    FreePieces(line);
    free(line->text);
    free(line);
}

void AddPiece(const uiTextbox* textbox, uiTextLine* line, const char* text, size_t length)
{
    if (length > UITEXTBOX_TEXT_SIZE - 1) length = UITEXTBOX_TEXT_SIZE - 1;
    uiTextPiece* piece = (uiTextPiece*)malloc(sizeof(uiTextPiece));
    if (!piece) return;
    piece->text = CopyText(text, length);
    if (!piece->text) {
        free(piece);
        return;
    }
    piece->width = TextWidth(textbox, piece->text);
    piece->pNext = line->pPieces;
    line->pPieces = piece;
    line->pieceCount++;
    line->height += LineHeight(textbox);
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Breaks one paragraph into rows that fit the line's width, after word ends. A word wider
// than the whole row is cut after its last character that fits (at least one a row).
void WrapParagraph(const uiTextbox* textbox, uiTextLine* line, const char* text, size_t length)
{
    size_t start = 0;
    while (start < length) {
        int sum = 0;
        size_t wordEnd = (size_t)-1;
        size_t i = start;
        for (; i < length; i++) {
            sum += CharWidth(textbox, (unsigned char)text[i]);
            if (sum > line->availableWidth) break;
            if (!IsSpace(text[i]) && i + 1 < length && IsSpace(text[i + 1])) wordEnd = i;
        }
        if (i >= length) {
            AddPiece(textbox, line, text + start, length - start);
            return;
        }
        size_t end = wordEnd != (size_t)-1 ? wordEnd + 1 : (i > start ? i : start + 1);
        AddPiece(textbox, line, text + start, end - start);
        start = end;
        while (start < length && IsSpace(text[start])) start++;
    }
}

void LayoutRows(const uiTextbox* textbox, uiTextLine* line)
{
    FreePieces(line);
    line->height = 0;
    if (line->lineFlags == UITEXTLINE_BLANK) {
        line->height = LineHeight(textbox);
        return;
    }
    const bool wrap = (textbox->textboxFlags & UITEXTBOX_WRAP) && textbox->pFont;
    const char* text = line->text;
    int paragraphs = 0;
    while (*text && paragraphs < UITEXTBOX_MAX_PARAGRAPHS) {
        while (*text == '\n') text++;
        if (!*text) break;
        const char* end = strchr(text, '\n');
        size_t length = end ? (size_t)(end - text) : strlen(text);
        if (wrap) WrapParagraph(textbox, line, text, length);
        else AddPiece(textbox, line, text, length);
        paragraphs++;
        text += length;
    }
}

void MarkDirty(uiTextbox* textbox)
{
    textbox->flags |= UIELEMENT_DIRTY;
}

void ShowScrollOnBar(uiTextbox* textbox)
{
    if (textbox->pVScrollbar && !textbox->pVScrollbar->dragging)
        uiSlider_SetPos(textbox->pVScrollbar, -textbox->scroll);
}

void SetBarRange(uiTextbox* textbox)
{
    if (!textbox->pVScrollbar) return;
    const int last = textbox->pLastLine ? textbox->pLastLine->y : 0;
    uiSlider_SetRange(textbox->pVScrollbar, last - LineHeight(textbox) / 4, 0);
}

void ClampScroll(uiTextbox* textbox, int position)
{
    if (!textbox->pLastLine || (textbox->textboxFlags & UITEXTBOX_CENTRE_BLOCK)) return;
    const int last = textbox->pLastLine->y;
    const int largest = last < 0 ? LineHeight(textbox) / 4 - last : 0;
    textbox->scroll = position < 0 ? 0 : position > largest ? largest : position;
    MarkDirty(textbox);
    ShowScrollOnBar(textbox);
}

void FreeAllLines(uiTextbox* textbox)
{
    while (textbox->pFirstLine) {
        uiTextLine* next = textbox->pFirstLine->pNext;
        FreeLine(textbox->pFirstLine);
        textbox->pFirstLine = next;
    }
    textbox->pLastLine = nullptr;
    textbox->lineCount = 0;
}

void Unlink(uiTextbox* textbox, uiTextLine* line)
{
    (line->pPrev ? line->pPrev->pNext : textbox->pFirstLine) = line->pNext;
    (line->pNext ? line->pNext->pPrev : textbox->pLastLine) = line->pPrev;
    textbox->lineCount--;
}

void AddHint(uiElement* target, const char* text, uint32_t argument)
{
    if (target && target->kind == UIKIND_TEXTBOX)
        uiTextbox_AddLine(static_cast<uiTextbox*>(target), text, argument);
}

uiElement* CreateTextbox()
{
    return new uiTextbox;
}

int AddFormatted(uiTextbox* textbox, uiColor color, const char* format, va_list args)
{
    if (!format) return uiTextbox_AddLineEx(textbox, nullptr, 0, color);
    char buffer[UITEXTBOX_TEXT_SIZE];
    vsnprintf(buffer, sizeof buffer, format, args);
    return uiTextbox_AddLineEx(textbox, buffer, 0, color);
}

// What the textbox's sliders ask of it.
void PageScrollbarOwner(uiTextbox* owner, int direction)
{
    uiTextbox_ScrollBy(owner, direction * owner->rect.height);
}

int OwnerOverflows(const uiTextbox* owner)
{
    return owner->pLastLine && owner->pLastLine->y < 0;
}

void ForgetScrollbar(uiTextbox* owner, const uiSlider* slider)
{
    if (owner->pVScrollbar == slider) owner->pVScrollbar = nullptr;
    if (owner->pHScrollbar == slider) owner->pHScrollbar = nullptr;
}

const uiSliderOwnerCalls kScrollbarOwner = {PageScrollbarOwner, OwnerOverflows, ForgetScrollbar};

void OwnScrollbar(uiTextbox* textbox, uiSlider* slider)
{
    slider->pOwner = textbox;
    uiSlider_SetOwnerCalls(&kScrollbarOwner);
}

}  // namespace

uiTextbox::uiTextbox()
{
    kind = UIKIND_TEXTBOX;
}

uiTextbox::~uiTextbox()
{
    FreeAllLines(this);
    uiResource_FreeFont(pFont);
    pFont = nullptr;
    if (pVScrollbar && pVScrollbar->pOwner == this) pVScrollbar->pOwner = nullptr;
    if (pHScrollbar && pHScrollbar->pOwner == this) pHScrollbar->pOwner = nullptr;
}

void uiTextbox::RenderContents() { uiTextbox_Draw(this); }
void uiTextbox::Update() { uiTextbox_Update(this); }
void uiTextbox::LoadBitmaps() { uiTextbox_LoadBitmaps(this); }
int uiTextbox::ParseKeyword(const char* text, uiDialog* dialog)
{
    return uiTextbox_ParseKeyword(this, text, dialog);
}
void uiTextbox::Clear() { uiTextbox_Clear(this); }

void uiTextbox_Reset(uiTextbox* textbox)
{
    textbox->pFirstLine = textbox->pLastLine = nullptr;
    textbox->scroll = textbox->xOffset = 0;
    textbox->lineCount = 0;
    textbox->itemSpacing = textbox->indent = 0;
    textbox->textColor = {240, 240, 240, 255};
    textbox->pVScrollbar = textbox->pHScrollbar = nullptr;
    textbox->maxItems = 0;
    textbox->pFont = nullptr;
    textbox->textboxFlags = 0;
}

int uiTextbox_AddLine(uiTextbox* textbox, const char* text, uint32_t userValue)
{
    return uiTextbox_AddLineEx(textbox, text, userValue, textbox->textColor);
}

int uiTextbox_AddLineEx(uiTextbox* textbox, const char* text, uint32_t userValue, uiColor color)
{
    uiTextLine* line = (uiTextLine*)calloc(1, sizeof(uiTextLine));
    if (!line) return -1;
    line->index = -1;
    if (text && *text) {
        line->text = CopyText(text, strlen(text));
        if (!line->text) {
            free(line);
            return -1;
        }
    } else {
        line->lineFlags = UITEXTLINE_BLANK;
    }
    line->userValue = userValue;
    line->color = color;
    line->pOwner = textbox;
    line->x = textbox->indent;
    line->availableWidth = textbox->rect.width - textbox->indent;
    LayoutRows(textbox, line);

    if (textbox->maxItems && textbox->lineCount >= textbox->maxItems && textbox->pFirstLine) {
        uiTextLine* first = textbox->pFirstLine;
        Unlink(textbox, first);
        FreeLine(first);
        // The rest move up into the freed place.
        if (!(textbox->textboxFlags & UITEXTBOX_FROM_BOTTOM)) uiTextbox_Relayout(textbox);
    }

    line->pPrev = textbox->pLastLine;
    (textbox->pLastLine ? textbox->pLastLine->pNext : textbox->pFirstLine) = line;
    textbox->pLastLine = line;
    textbox->lineCount++;

    if (textbox->textboxFlags & UITEXTBOX_FROM_BOTTOM) {
        uiTextbox_Relayout(textbox);
    } else {
        const int above = line->pPrev ? line->pPrev->y - textbox->itemSpacing : textbox->rect.height;
        line->y = above - line->height;
        line->index = (int)textbox->lineCount - 1;
    }
    MarkDirty(textbox);
    SetBarRange(textbox);

    if (textbox->textboxFlags & UITEXTBOX_CENTRE_BLOCK) {
        uiTextbox_Centre(textbox);
    } else {
        const int last = textbox->pLastLine->y;
        textbox->scroll = last < 0 ? LineHeight(textbox) / 4 - last : 0;
        ShowScrollOnBar(textbox);
    }
    return line->index;
}

int uiTextbox_Printf(uiTextbox* textbox, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int index = AddFormatted(textbox, textbox->textColor, format, args);
    va_end(args);
    return index;
}

int uiTextbox_PrintfColor(uiTextbox* textbox, uiColor color, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int index = AddFormatted(textbox, color, format, args);
    va_end(args);
    return index;
}

void uiTextbox_Clear(uiTextbox* textbox)
{
    if (!textbox->pFirstLine) return;
    FreeAllLines(textbox);
    textbox->scroll = 0;
    MarkDirty(textbox);
}

uint32_t uiTextbox_RemoveLineAt(uiTextbox* textbox, uint32_t index)
{
    if (index < textbox->lineCount) uiTextbox_RemoveLine(textbox, uiTextbox_GetLine(textbox, index));
    return textbox->lineCount;
}

void uiTextbox_RemoveLine(uiTextbox* textbox, uiTextLine* line)
{
    if (!line || line->pOwner != textbox) return;
    Unlink(textbox, line);
    FreeLine(line);
    uiTextbox_Relayout(textbox);
    MarkDirty(textbox);
    SetBarRange(textbox);
}

uiTextLine* uiTextbox_GetLine(const uiTextbox* textbox, uint32_t index)
{
    uiTextLine* line = textbox->pFirstLine;
    for (uint32_t i = 0; line && i < index; i++) line = line->pNext;
    return line;
}

int uiTextbox_GetLineY(const uiTextbox* textbox, uint32_t index)
{
    const uiTextLine* line = uiTextbox_GetLine(textbox, index);
    return line ? line->y : 0;
}

void uiTextbox_SetSpacing(uiTextbox* textbox, int pixels)
{
    if (textbox->itemSpacing == pixels) return;
    textbox->itemSpacing = pixels;
    uiTextbox_Relayout(textbox);
    MarkDirty(textbox);
}

void uiTextbox_SetTextColor(uiTextbox* textbox, int alpha, int blue, int green, int red)
{
    textbox->textColor = {(uint8_t)blue, (uint8_t)green, (uint8_t)red, (uint8_t)alpha};
}

void uiTextbox_SetMaxItems(uiTextbox* textbox, uint32_t count)
{
    textbox->Clear();
    textbox->maxItems = count;
}

void uiTextbox_Relayout(uiTextbox* textbox)
{
    if (textbox->textboxFlags & UITEXTBOX_FROM_BOTTOM) {
        int index = 0;
        for (uiTextLine* line = textbox->pLastLine; line; line = line->pPrev, index++) {
            line->index = index;
            const uiTextLine* later = line->pNext;
            line->y = later ? later->y + later->height + textbox->itemSpacing : LineHeight(textbox) / 4;
        }
    } else {
        int index = 0;
        for (uiTextLine* line = textbox->pFirstLine; line; line = line->pNext, index++) {
            line->index = index;
            const int above = line->pPrev ? line->pPrev->y - textbox->itemSpacing : textbox->rect.height;
            line->y = above - line->height;
        }
    }
    if (textbox->textboxFlags & UITEXTBOX_CENTRE_BLOCK) uiTextbox_Centre(textbox);
}

void uiTextbox_ScrollBy(uiTextbox* textbox, int delta)
{
    ClampScroll(textbox, textbox->scroll + delta);
}

void uiTextbox_SetScroll(uiTextbox* textbox, int position)
{
    ClampScroll(textbox, position);
}

void uiTextbox_OnScrollbar(uiSlider* slider, int value)
{
    if (slider && slider->pOwner) ClampScroll(slider->pOwner, -value);
}

void uiTextbox_Centre(uiTextbox* textbox)
{
    if (!(textbox->textboxFlags & UITEXTBOX_CENTRE_BLOCK) || !textbox->pFirstLine) return;
    const uiTextLine* first = textbox->pFirstLine;
    const int span = textbox->pLastLine->y - first->height - first->y + textbox->rect.height;
    textbox->scroll = (int)(span * -0.5);
    MarkDirty(textbox);
}

void uiTextbox_Wheel(uiTextbox* textbox, int movement)
{
    if (movement > 0) ClampScroll(textbox, textbox->scroll - textbox->rect.height);
    else if (movement < 0) ClampScroll(textbox, textbox->scroll + textbox->rect.height);
}

void uiTextbox_Update(uiTextbox* textbox)
{
    uiElement_Update(textbox);
    if (ui_GetHoveredElement() == textbox) uiTextbox_Wheel(textbox, uiInput_Wheel());
}

void uiTextbox_Draw(uiTextbox* textbox)
{
    uiTextbox_DrawRows(textbox, 0);
}

void uiTextbox_DrawRows(uiTextbox* textbox, int caretAdvance)
{
    Bitmap* target = textbox->pBitmap;
    if (!textbox->pFont || !target || !target->pixels) return;
    stdFont_SetCurrent(textbox->pFont);
    const bool wide = target->format == BITMAP_FORMAT_8888 || target->format == BITMAP_FORMAT_X888;
    const int lineHeight = LineHeight(textbox);
    const int boxWidth = textbox->rect.width - textbox->indent;
    for (const uiTextLine* line = textbox->pFirstLine; line; line = line->pNext) {
        const int y = textbox->scroll + line->y;
        if (y >= textbox->rect.height || y + line->height < 0) continue;
        if (line->lineFlags == UITEXTLINE_BLANK || !line->pPieces) continue;
        int k = 0;
        for (const uiTextPiece* piece = line->pPieces; piece; piece = piece->pNext, k++) {
            int x = textbox->indent + textbox->xOffset;
            if (textbox->textboxFlags & UITEXTBOX_CENTRE_ROWS)
                x = (caretAdvance + boxWidth - piece->width) / 2 + textbox->xOffset;
            const uiColor c = line->color;
            (wide ? stdFont_Draw32 : stdFont_Draw16)(target, x, y + k * lineHeight, piece->text, 0,
                                                    c.red, c.green, c.blue);
        }
    }
}

void uiTextbox_LoadBitmaps(uiTextbox* textbox)
{
    uiElement_LoadBitmaps(textbox);
    if (!textbox->pFont) textbox->pFont = uiResource_LoadFont("defaultFont");
    if (!textbox->pBitmap) uiElement_CreateBitmap(textbox);
    else if (!textbox->pRestore) textbox->pRestore = uiResource_BitmapData(textbox->pBitmap->name);
    if (textbox->pVScrollbar) {
        textbox->pVScrollbar->onChange = uiTextbox_OnScrollbar;
        OwnScrollbar(textbox, textbox->pVScrollbar);
    }
    textbox->flags |= 0x100;
}

int uiTextbox_ParseKeyword(uiTextbox* textbox, const char* text, uiDialog* dialog)
{
    if (uiElement_ParseKeyword(textbox, text, dialog)) return 1;
    char key[UIWIDGET_PAIR_SIZE], value[UIWIDGET_PAIR_SIZE];
    if (!uiWidget_SplitPair(text, key, value)) return 0;
    if (!strcmp(key, "itemspacing"))
        return uiElement_ScanInts(value, &textbox->itemSpacing, 1, -UI_COORD_LIMIT, UI_COORD_LIMIT);
    if (!strcmp(key, "font")) {
        stdFont* font = uiResource_LoadFont(value);
        if (!font) return 0;
        uiResource_FreeFont(textbox->pFont);
        textbox->pFont = font;
        return 1;
    }
    if (!strcmp(key, "vscrollbar") || !strcmp(key, "hscrollbar")) {
        uiElement* found = dialog ? uiDialog_FindOfKind(dialog, value, UIKIND_SLIDER) : nullptr;
        uiSlider* slider = dynamic_cast<uiSlider*>(found);
        if (!slider) return 0;
        (key[0] == 'v' ? textbox->pVScrollbar : textbox->pHScrollbar) = slider;
        OwnScrollbar(textbox, slider);
        return 1;
    }
    if (!strcmp(key, "textboxflags")) {
        unsigned int flags;
        if (sscanf(value, "%i", &flags) != 1) return 0;
        textbox->textboxFlags = flags;
        return 1;
    }
    if (!strcmp(key, "maxitems")) {
        int32_t count;
        if (!uiElement_ScanInts(value, &count, 1, INT32_MIN, INT32_MAX)) return 0;
        textbox->Clear();
        textbox->maxItems = count < 0 ? 0 : (uint32_t)count;
        return 1;
    }
    if (!strcmp(key, "tbtextcolor")) {
        int32_t bgr[3];
        if (!uiElement_ScanInts(value, bgr, 3, INT32_MIN, INT32_MAX)) return 0;
        textbox->textColor = {(uint8_t)bgr[0], (uint8_t)bgr[1], (uint8_t)bgr[2], 255};
        return 1;
    }
    return 0;
}

void uiTextbox_Register()
{
    uiDialog_SetElementClass("textbox", CreateTextbox);
    uiElement_SetHintSink(AddHint);
}
