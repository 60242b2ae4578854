#include "rlCamera.h"

#include "cameraRecord.h"
#include "rlDevice.h"

Camera* rlCamera_pCurrent;

// The device viewport covers the camera's clip rectangle; the projection is the camera's own.
int __cdecl rlCamera_SetCurrent(Camera* camera)
{
    rlCamera_pCurrent = camera;
    if (!camera || !rlDevice_state.pDevice) return E_FAIL;
    D3DVIEWPORT7 viewport = {};
    viewport.dwX = (DWORD)(int)camera->clipLeft;
    viewport.dwY = (DWORD)(int)camera->clipTop;
    viewport.dwWidth = (DWORD)(int)(camera->clipRight - camera->clipLeft);
    viewport.dwHeight = (DWORD)(int)(camera->clipBottom - camera->clipTop);
    viewport.dvMinZ = 0.0f;
    viewport.dvMaxZ = 1.0f;
    rlDevice_state.pDevice->SetViewport(&viewport);
    return rlDevice_state.pDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION, (D3DMATRIX*)&camera->projection);
}

void __cdecl rlCamera_SetClip(void) {}
