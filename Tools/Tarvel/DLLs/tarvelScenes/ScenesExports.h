// The exports of tarvelScenes.dll under their C names; tarvelScenes.def gives each its exported
// name (with a leading underscore) and ordinal. Tests that link the panel's code call them too.
#pragma once
#include <windows.h>
#include "ScenesRecords.h"

extern "C" {
int __cdecl scenes_Version(void);
HWND __cdecl scenes_CreateAsChild(HWND parent);
void __cdecl scenes_Destroy(void);
void __cdecl scenes_SetChronicle(const char* name);
int __cdecl scenes_ShowModal(void);
void __cdecl scenes_SetLayersInfo(const LayersInfo* info);
void __cdecl scenes_GetLayersInfo(LayersInfo* info);
void __cdecl scenes_SetScenesInfo(const ScenesInfo* info);
void __cdecl scenes_GetScenesInfo(ScenesInfo* info);
void __cdecl scenes_SetBaseDir(const char* folder);
void __cdecl scenes_RegisterCloseCallback(ScenesCloseCallback cb);
void __cdecl scenes_RegisterSaveCallback(ScenesSaveCallback cb);
void __cdecl scenes_RegisterRenameCallback(ScenesRenameCallback cb);
void __cdecl scenes_RegisterGLSCallback(ScenesGLSCallback cb);
}
