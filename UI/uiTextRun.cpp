#include "uiTextRun.h"

#include <cstdlib>

#include "renderBitmap.h"
#include "renderMainRaster.h"
#include "renderModes.h"
#include "renderSettings.h"
#include "renderTimer.h"
#include "uiFrame.h"
#include "uiDialog.h"
#include "uiFont.h"
#include "uiResource.h"
#include "uiTextbox.h"

namespace {

uiTextRun* g_pRuns;

uint32_t Now()
{
    return renderTimer_viewer.clocks[0].totalMs;
}

// The smallest power of two from 2 that holds size, at most the largest strip.
int StripSize(int size)
{
    int strip = 2;
    while (strip < size && strip < UITEXTRUN_MAX_STRIP) strip *= 2;
    return strip;
}

// Cuts the width into strips from the left, each a blank texture handed to the raster
// library and shown by one quad of the run's dialog. 0 when a texture cannot be had.
int AddStrips(uiDialog* dialog, int width, int textureHeight, int visibleHeight)
{
    const uint32_t format = (renderSettings_current.optionFlags & RENDER_OPTION_TRUECOLOR)
                                ? BITMAP_FORMAT_8888 : BITMAP_FORMAT_1555;
    for (int offset = 0; offset < width;) {
        const int remaining = width - offset;
        const int strip = StripSize(remaining);
        uiQuad* quad = (uiQuad*)calloc(1, sizeof(uiQuad));
        Bitmap* texture = quad ? renderBitmap_CreateBlank(strip, textureHeight, format) : nullptr;
        if (!texture) {
            free(quad);
            return 0;
        }
        renderBitmap_Cache(texture);
        quad->pBitmap = texture;
        quad->x = offset;
        quad->y = 0;
        quad->width = remaining < strip ? remaining : strip;
        quad->height = visibleHeight;
        uiDialog_AddQuad(dialog, quad);
        offset += strip;
    }
    return 1;
}

}  // namespace

uiTextRun* uiTextRun_Create(stdFont* font, const char* text, uint32_t lifetimeMs,
                            uint32_t fadeInMs, uint32_t fadeOutMs, int maxLines, float x,
                            float y, float speed)
{
    if (!text || !*text) return nullptr;
    if (!font) font = uiFont_GetDefault();
    if (!font) return nullptr;
    if (maxLines < 0) maxLines = 0;
    int width = uiFont_TextWidth(font, text);
    if (width <= 0) return nullptr;
    if (width > UITEXTRUN_MAX_WIDTH) width = UITEXTRUN_MAX_WIDTH;
    // Lines beyond what the tallest texture holds would show rows that are not there.
    const int64_t tall = ((int64_t)maxLines + 1) * uiFont_LineHeight(font);
    if (tall <= 0) return nullptr;
    const int height = tall > UITEXTRUN_MAX_STRIP ? UITEXTRUN_MAX_STRIP : (int)tall;

    uiTextRun* run = (uiTextRun*)malloc(sizeof(uiTextRun));
    if (!run) return nullptr;
    uiTextRun_Clear(run);
    run->dialog = uiDialog_New();
    if (!run->dialog || !AddStrips(run->dialog, width, StripSize(height), height)) {
        uiDialog_Free(run->dialog);
        free(run);
        return nullptr;
    }
    uiTextbox* textbox = new uiTextbox;
    textbox->rect = {0, 0, width, height};
    textbox->pFont = uiResource_LoadFont(font->name);
    if (!textbox->pFont) {
        delete textbox;
        uiDialog_Free(run->dialog);
        free(run);
        return nullptr;
    }
    uiTextbox_SetMaxItems(textbox, (uint32_t)maxLines);
    uiDialog_PlaceTopLevel(run->dialog, textbox);
    // Kept in the dialog when detached; the restore bitmap is the blank strips under it, so
    // the text floats on a clear background.
    textbox->flags |= UIELEMENT_IN_DIALOG | UIELEMENT_ATTACHED | UIELEMENT_CAPTURE_RESTORE;
    uiElement_Layout(textbox);
    textbox->LoadBitmaps();
    run->textbox = textbox;
    uiTextbox_AddLine(textbox, text, 0);

    const uint32_t now = Now();
    run->fadeInMs = fadeInMs;
    run->fadeOutMs = fadeOutMs;
    run->startTime = run->lastUpdate = now;
    run->endTime = now + lifetimeMs;
    run->speed = speed;
    run->x = x;
    run->y = run->drawY = y;
    uiTextRun_Link(run);
    return run;
}

void uiTextRun_Update(uiTextRun* run)
{
    if (!run) return;
    const uint32_t now = Now();
    if (run->endTime < now) {
        uiTextRun_Destroy(run);
        free(run);
        return;
    }
    if (run->textbox) uiElement_Compose(run->textbox);
    uiDialog* dialog = run->dialog;
    const uint32_t age = now - run->startTime;
    const uint32_t left = run->endTime - now;
    if (run->fadeInMs && age < run->fadeInMs)
        dialog->alpha = (float)age / (float)run->fadeInMs * 255.0f;
    else if (run->fadeOutMs && left < run->fadeOutMs)
        dialog->alpha = (float)left / (float)run->fadeOutMs * 255.0f;
    else if (run->fadeInMs)
        dialog->alpha = 255.0f;  // a fade-in stepped by frames ends in full, not at its last step
    if (run->speed != 0.0f) {
        run->y += (float)(now - run->lastUpdate) * 0.001f * run->speed;
        run->drawY = run->y;
    }
    run->lastUpdate = now;
}

void uiTextRun_Draw(uiTextRun* run)
{
    if (!run || !run->dialog) return;
    uiDialog* dialog = run->dialog;
    const int fading = (dialog->flags & (UIDIALOG_FADING_IN | UIDIALOG_FADING_OUT)) != 0;
    const float alpha = fading ? dialog->currentAlpha : dialog->alpha;
    for (uiQuad* quad = dialog->pQuads; quad; quad = quad->pNext) {
        if (!quad->pBitmap) continue;
        const float left = (float)quad->x + run->x - 0.5f;
        const float right = (float)(quad->x + quad->width) + run->x - 0.5f;
        const float y0 = (float)UI_HEIGHT - run->drawY - (float)quad->y - 0.5f;
        const float y1 = (float)UI_HEIGHT - run->drawY - (float)(quad->y + quad->height) - 0.5f;
        const float corners[12] = {left, y0, 0, right, y0, 0, right, y1, 0, left, y1, 0};
        if (quad->flags & UIQUAD_CHANGED) {
            if (renderMain_rasterLib.funcTexture_RecacheHandle)
                renderMain_rasterLib.funcTexture_RecacheHandle(quad->pBitmap->rasterHandle);
            quad->flags &= ~UIQUAD_CHANGED;
        }
        ui_DrawQuad(corners, quad->uvs, 4, quad->pBitmap, RENDERMODE_SCREENPOLY, alpha);
    }
}

void uiTextRun_FreeAll()
{
    while (uiTextRun* run = g_pRuns) {
        uiTextRun_Destroy(run);
        free(run);
    }
}

void uiTextRun_Destroy(uiTextRun* run)
{
    if (!run) return;
    uiTextRun_Unlink(run);
    // The textbox was never entered in the dialog's widget table.
    if (run->textbox) run->textbox->flags &= ~UIELEMENT_IN_DIALOG;
    uiDialog_Free(run->dialog);  // destroys the textbox with it
    run->dialog = nullptr;
    run->textbox = nullptr;
}

void uiTextRun_Link(uiTextRun* run)
{
    if (!run) return;
    run->prev = nullptr;
    run->next = g_pRuns;
    if (g_pRuns) g_pRuns->prev = run;
    g_pRuns = run;
}

void uiTextRun_Unlink(uiTextRun* run)
{
    if (!run) return;
    if (run->prev) run->prev->next = run->next;
    else if (g_pRuns == run) g_pRuns = run->next;
    if (run->next) run->next->prev = run->prev;
    run->next = run->prev = nullptr;
}

void uiTextRun_SetPos(uiTextRun* run, float x, float y)
{
    if (!run) return;
    run->x = x;
    run->drawY = y;
}

void uiTextRun_Clear(uiTextRun* run)
{
    if (run) *run = uiTextRun{};
}

uiTextRun* uiTextRun_First()
{
    return g_pRuns;
}
