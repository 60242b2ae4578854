#include "qvui.h"

#include "rasterStatsRecord.h"
#include "renderAssert.h"
#include "renderMainRaster.h"
#include "renderModelInstance.h"
#include "renderTimer.h"
#include "stdInput.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiInputState.h"
#include "uiResource.h"
#include "uiTextbox.h"

// The UI cannot work without its menu and status textbox: either missing is reported through
// the viewer's assertion routine with this module's name, and the viewer goes on without it.
#define QVUI_ASSERT(cond, text) \
    ((cond) ? (void)0 : renderAssert_Fail(text, "QevView\\qvui", __LINE__))

uiDialog* qvui_pMenu = nullptr;
uiTextbox* qvui_pTextBox = nullptr;

namespace {

struct QvuiStatistics {
    uint32_t frames;      // frames counted since the last line
    uint32_t lastTime;    // the frame clock's running time at the last line, milliseconds
    float frameRate;      // the rate of the last line
};

QvuiStatistics g_stats = {0, 0, 0.0f};

// The viewer's fields the statistics read each frame; null until the viewer names them.
ModelInstance* const* g_ppInstance = nullptr;
const uint32_t* g_pbStatsShown = nullptr;

// What the widgets read of the frame's input, from the viewer's key state table.
int InputWheel()
{
    return stdInput_state.mouseDz;
}

int InputLeftButtonDown()
{
    return stdInput_IsHeld(STDINPUT_MOUSE_BUTTON0);
}

int InputShiftDown()
{
    return stdInput_IsHeld(DIK_LSHIFT) || stdInput_IsHeld(DIK_RSHIFT);
}

const uiInputSource kViewerInput = {InputWheel, InputLeftButtonDown, InputShiftDown};

// The status textbox is the element of that name when it is a textbox; a widget of another
// class, a dialog or a font under the name is not printed into.
uiTextbox* FindStatusTextbox()
{
    uiElement* element = (uiElement*)uiResource_FindOfKind(QVUI_TEXTBOX_NAME, UIRESOURCE_ELEMENT);
    if (!element || element->kind != UIKIND_TEXTBOX) return nullptr;
    return dynamic_cast<uiTextbox*>(element);
}

int PrintStatisticsLine(uint32_t elapsed)
{
    g_stats.frameRate = (float)g_stats.frames * 1000.0f / (float)elapsed;
    if (!qvui_pTextBox) return 0;
    RasterStats stats = {};
    if (renderMain_rasterLib.funcMain_GetStats) renderMain_rasterLib.funcMain_GetStats(&stats, 1);
    const ModelInstance* instance = g_ppInstance ? *g_ppInstance : nullptr;
    const double distance = instance ? instance->lodDistance : 0.0;
    const double detail = instance ? instance->detail : 0.0;
    return uiTextbox_Printf(qvui_pTextBox, QVUI_STATS_FORMAT, (double)g_stats.frameRate,
                            (int)stats.numTriangles, distance, detail);
}

}  // namespace

void qvui_SetSubject(ModelInstance* const* ppInstance, const uint32_t* pbStatsShown)
{
    g_ppInstance = ppInstance;
    g_pbStatsShown = pbStatsShown;
}

uiDialog* qvui_LoadMenu(const char* fileName)
{
    return uiDialog_LoadScript(fileName);
}

void qvui_Startup()
{
    ui_Startup();
    uiInput_SetSource(&kViewerInput);
    // Without its picture the cursor is simply not drawn.
    if (uiCursor* cursor = uiCursor_Load(QVUI_CURSOR_NAME, 0.0f, 0.0f, UICURSOR_HOT_CENTRE))
        uiCursor_Set(cursor);
    qvui_pMenu = qvui_LoadMenu(QVUI_MENU_SCRIPT);
    QVUI_ASSERT(qvui_pMenu, "qvui_pMenu");
    qvui_pTextBox = qvui_pMenu ? FindStatusTextbox() : nullptr;
    QVUI_ASSERT(qvui_pTextBox, "qvui_pTextBox");
    if (qvui_pMenu) uiDialog_Open(qvui_pMenu);
    g_stats = {0, 0, 0.0f};
}

void qvui_Shutdown()
{
    ui_Shutdown();
    uiInput_SetSource(nullptr);
    qvui_pMenu = nullptr;
    qvui_pTextBox = nullptr;
    g_stats = {0, 0, 0.0f};
}

void qvui_PrintStatistics()
{
    uiCursor_MoveByMouse((float)stdInput_state.mouseDx, (float)stdInput_state.mouseDy);
    ui_Update();
    if (g_pbStatsShown && *g_pbStatsShown) qvui_UpdateStatistics();
}

uint32_t qvui_UpdateStatistics()
{
    const uint32_t now = renderTimer_viewer.clocks[0].totalMs;
    const uint32_t elapsed = now - g_stats.lastTime;
    if (elapsed <= QVUI_STATS_PERIOD_MS) {
        g_stats.frames++;
        return elapsed;
    }
    const int printed = PrintStatisticsLine(elapsed);
    g_stats.lastTime = now;
    g_stats.frames = 0;
    return (uint32_t)printed;
}

int qvui_Draw()
{
    ui_Draw();
    return uiCursor_Draw();
}
