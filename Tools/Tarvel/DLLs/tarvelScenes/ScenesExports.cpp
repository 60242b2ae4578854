// The exports of tarvelScenes.dll. Each one does nothing before _CreateAsChild, after
// _Destroy or when handed a null pointer.
#include <windows.h>
#include "ScenesExports.h"
#include "ScenesPanel.h"

extern "C" {

int __cdecl scenes_Version(void) { return 1; }

HWND __cdecl scenes_CreateAsChild(HWND)
{
    if (scenesPanel)
        return scenesPanel->Handle();
    TScenesPanel* panel = new TScenesPanel();
    if (!panel->Create()) {
        delete panel;
        return nullptr;
    }
    scenesPanel = panel;
    return panel->Handle();
}

// From inside the editor's modal run (a callback) the panel goes once the run has ended.
void __cdecl scenes_Destroy(void)
{
    TScenesPanel* panel = scenesPanel;
    scenesPanel = nullptr;
    if (panel && panel->InModal())
        panel->DestroyAfterModal();
    else
        delete panel;
}
void __cdecl scenes_SetChronicle(const char* name)
{
    if (scenesPanel && name)
        scenesPanel->SetChronicle(name);
}

int __cdecl scenes_ShowModal(void)
{
    return scenesPanel ? scenesPanel->ShowModal() : 0;
}

void __cdecl scenes_SetLayersInfo(const LayersInfo* info)
{
    if (scenesPanel && info)
        scenesPanel->SetLayers(*info);
}

void __cdecl scenes_GetLayersInfo(LayersInfo* info)
{
    if (scenesPanel && info)
        scenesPanel->editor.GetLayers(*info);
}

void __cdecl scenes_SetScenesInfo(const ScenesInfo* info)
{
    if (scenesPanel && info)
        scenesPanel->SetScenes(*info);
}

void __cdecl scenes_GetScenesInfo(ScenesInfo* info)
{
    if (scenesPanel && info)
        scenesPanel->editor.GetScenes(*info);
}

void __cdecl scenes_SetBaseDir(const char* folder)
{
    if (scenesPanel && folder)
        scenesPanel->SetBaseDir(folder);
}

void __cdecl scenes_RegisterCloseCallback(ScenesCloseCallback cb)
{
    if (scenesPanel)
        scenesPanel->onClose = cb;
}

void __cdecl scenes_RegisterSaveCallback(ScenesSaveCallback cb)
{
    if (scenesPanel)
        scenesPanel->onSave = cb;
}

void __cdecl scenes_RegisterRenameCallback(ScenesRenameCallback cb)
{
    if (scenesPanel)
        scenesPanel->onRename = cb;
}

void __cdecl scenes_RegisterGLSCallback(ScenesGLSCallback cb)
{
    if (scenesPanel)
        scenesPanel->onGLS = cb;
}

}  // extern "C"
