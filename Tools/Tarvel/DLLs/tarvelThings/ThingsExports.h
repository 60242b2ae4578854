// The exports of tarvelThings.dll under their C names; tarvelThings.def gives each its exported
// name (with a leading underscore) and ordinal. Tests that link the panel's code call them too.
#pragma once
#include <windows.h>
#include "ThingsRecords.h"

extern "C" {
int __cdecl things_Version(void);
HWND __cdecl things_CreateAsChild(HWND parent);
void __cdecl things_Destroy(void);
void __cdecl things_Position(int left, int top, int right, int bottom);
BOOL __cdecl things_Show(void);
void __cdecl things_Hide(void);
void __cdecl things_SetTemplateFilesInfo(const TemplateFilesInfo* info);
void __cdecl things_GetTemplateFilesInfo(TemplateFilesInfo* info);
void __cdecl things_SetThingsInfo(const ThingsInfo* info);
void __cdecl things_GetThingsInfo(ThingsInfo* info);
void __cdecl things_AddTemplate(const char* name, int category, const char* subcategory);
void __cdecl things_BeginAddTemplates(const char* name);
void __cdecl things_EndAddTemplates(const char* name);
const char* __cdecl things_GetSelectedTemplate(void);
void __cdecl things_SetBaseDir(const char* folder);
void __cdecl things_RegisterCloseCallback(ThingsCloseCallback cb);
void __cdecl things_RegisterApplyCallback(ThingsApplyCallback cb);
void __cdecl things_RegisterPositionCallback(ThingsPositionCallback cb);
void __cdecl things_RegisterTemplateDoubleClickCallback(ThingsTemplateDoubleClickCallback cb);
void __cdecl things_RegisterTemplateFilesCallback(ThingsTemplateFilesCallback cb);
// Not exported: everything the library leaves behind when it is unloaded.
void __cdecl things_Unload(void);
}
