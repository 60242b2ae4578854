// tarvelThings.dll loaded from the build and every export bound by name, as a host binds them.
#pragma once
#include <windows.h>
#include "ThingsRecords.h"
#include "Tools/Tarvel/DLLs/PanelLibrary.h"

struct Things {
    TPanelLibrary lib{"tarvelThings.dll"};
    int (*Version)() = lib.Get<int (*)()>("_Version");
    HWND (*CreateAsChild)(HWND) = lib.Get<HWND (*)(HWND)>("_CreateAsChild");
    void (*Destroy)() = lib.Get<void (*)()>("_Destroy");
    void (*Position)(int, int, int, int) = lib.Get<void (*)(int, int, int, int)>("_Position");
    BOOL (*Show)() = lib.Get<BOOL (*)()>("_Show");
    void (*Hide)() = lib.Get<void (*)()>("_Hide");
    void (*SetTemplateFilesInfo)(const void*) = lib.Get<void (*)(const void*)>("_SetTemplateFilesInfo");
    void (*GetTemplateFilesInfo)(void*) = lib.Get<void (*)(void*)>("_GetTemplateFilesInfo");
    void (*SetThingsInfo)(const ThingsInfo*) = lib.Get<void (*)(const ThingsInfo*)>("_SetThingsInfo");
    void (*GetThingsInfo)(ThingsInfo*) = lib.Get<void (*)(ThingsInfo*)>("_GetThingsInfo");
    void (*AddTemplate)(const char*, int, const char*) = lib.Get<void (*)(const char*, int, const char*)>("_AddTemplate");
    void (*BeginAddTemplates)(const char*) = lib.Get<void (*)(const char*)>("_BeginAddTemplates");
    void (*EndAddTemplates)(const char*) = lib.Get<void (*)(const char*)>("_EndAddTemplates");
    const char* (*GetSelectedTemplate)() = lib.Get<const char* (*)()>("_GetSelectedTemplate");
    void (*SetBaseDir)(const char*) = lib.Get<void (*)(const char*)>("_SetBaseDir");
    void (*RegisterClose)(void (*)()) = lib.Get<void (*)(void (*)())>("_RegisterCloseCallback");
    void (*RegisterApply)(void (*)()) = lib.Get<void (*)(void (*)())>("_RegisterApplyCallback");
    void (*RegisterPosition)(ThingsPositionCallback) = lib.Get<void (*)(ThingsPositionCallback)>("_RegisterPositionCallback");
    void (*RegisterDoubleClick)(void (*)()) = lib.Get<void (*)(void (*)())>("_RegisterTemplateDoubleClickCallback");
    void (*RegisterFiles)(void (*)()) = lib.Get<void (*)(void (*)())>("_RegisterTemplateFilesCallback");
};
