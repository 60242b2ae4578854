// The exports of tarvelScenes.dll. Each one does nothing before _CreateAsChild, after
// _Destroy or when handed a null pointer. Every export that hands the panel something, and the
// modal run, run on it through `panels`, which keeps it alive meanwhile.
#include <windows.h>
#include "ScenesExports.h"
#include "ScenesPanel.h"

// A panel destroyed from inside a callback or the editor's modal run goes once that export has
// ended.
static TTarvelPanels<TScenesPanel> panels(scenesPanel);

extern "C" {

int __cdecl scenes_Version(void) { return 1; }

HWND __cdecl scenes_CreateAsChild(HWND)
{
    TScenesPanel* panel = panels.Make([](TScenesPanel* p) { return p->Create(); });
    return panel ? panel->Handle() : nullptr;
}

void __cdecl scenes_Destroy(void)
{
    panels.Destroy();
}

void __cdecl scenes_SetChronicle(const char* name)
{
    panels.Hand(name, &TScenesPanel::SetChronicle);
}

int __cdecl scenes_ShowModal(void)
{
    int result = 0;
    panels.Run([&result](TScenesPanel* p) { result = p->ShowModal(); });
    return result;
}

void __cdecl scenes_SetLayersInfo(const LayersInfo* info)
{
    panels.Hand(info, &TScenesPanel::SetLayers);
}

void __cdecl scenes_GetLayersInfo(LayersInfo* info)
{
    if (scenesPanel && info)
        scenesPanel->editor.GetLayers(*info);
}

void __cdecl scenes_SetScenesInfo(const ScenesInfo* info)
{
    panels.Hand(info, &TScenesPanel::SetScenes);
}

void __cdecl scenes_GetScenesInfo(ScenesInfo* info)
{
    if (scenesPanel && info)
        scenesPanel->editor.GetScenes(*info);
}

void __cdecl scenes_SetBaseDir(const char* folder)
{
    panels.Hand(folder, &TScenesPanel::SetBaseDir);
}

void __cdecl scenes_RegisterCloseCallback(ScenesCloseCallback cb)
{
    panels.Register(&TScenesPanel::onClose, cb);
}

void __cdecl scenes_RegisterSaveCallback(ScenesSaveCallback cb)
{
    panels.Register(&TScenesPanel::onSave, cb);
}

void __cdecl scenes_RegisterRenameCallback(ScenesRenameCallback cb)
{
    panels.Register(&TScenesPanel::onRename, cb);
}

void __cdecl scenes_RegisterGLSCallback(ScenesGLSCallback cb)
{
    panels.Register(&TScenesPanel::onGLS, cb);
}

}  // extern "C"
