// The one device of the process and the helpers every device operation shares: the scene
// brackets and the window's rectangles.
#include "rlDevice.h"

rlDeviceState rlDevice_state;
RasterInfo rlDevice_info = {};
RasterStats rlDevice_stats = {};

HRESULT rlDevice_BeginScene(void)
{
    HRESULT result = rlDevice_state.pDevice->BeginScene();
    rlDevice_state.bInScene = SUCCEEDED(result);
    return result;
}

void rlDevice_EndScene(void)
{
    if (rlDevice_state.bInScene) rlDevice_state.pDevice->EndScene();
    rlDevice_state.bInScene = false;
}

bool rlDevice_ReadWindowRects(void)
{
    if (!GetClientRect(rlDevice_state.window, &rlDevice_state.clientRect)) return false;
    rlDevice_state.screenRect = rlDevice_state.clientRect;
    POINT corners[2] = {{rlDevice_state.screenRect.left, rlDevice_state.screenRect.top},
                        {rlDevice_state.screenRect.right, rlDevice_state.screenRect.bottom}};
    ClientToScreen(rlDevice_state.window, &corners[0]);
    ClientToScreen(rlDevice_state.window, &corners[1]);
    rlDevice_state.screenRect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
}
