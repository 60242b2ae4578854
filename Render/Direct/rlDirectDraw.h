// The two DirectDraw entry points the library starts from. They are reached through this
// record so that a test can stand in a double of the driver objects for failures that a real
// device never produces.
#pragma once
#include <windows.h>
#include <ddraw.h>

struct rlDirectDrawApi {
    HRESULT(WINAPI* pfnEnumerateExA)(LPDDENUMCALLBACKEXA callback, void* context, DWORD flags);
    HRESULT(WINAPI* pfnCreateEx)(GUID* guid, void** object, REFIID iid, IUnknown* outer);
};

extern rlDirectDrawApi rlDirectDraw_api;

// Puts the system's entry points back.
void rlDirectDraw_UseSystem(void);
