#include "uiFontRuns.h"

#include "uiFont.h"
#include "uiTextRun.h"

void uiFont_FreeDefault()
{
    uiTextRun_FreeAll();
    uiFont_ReleaseDefault();
}

void uiFont_DrawQueued()
{
    for (uiTextRun* run = uiTextRun_First(); run;) {
        uiTextRun* next = run->next;
        uiTextRun_Update(run);
        run = next;
    }
    for (uiTextRun* run = uiTextRun_First(); run; run = run->next) uiTextRun_Draw(run);
}
