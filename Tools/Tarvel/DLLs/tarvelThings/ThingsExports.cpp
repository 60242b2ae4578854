// The exports of tarvelThings.dll. Each one does nothing before _CreateAsChild, after
// _Destroy or when handed a null pointer. Callbacks are made last, because a host may call
// back into the exports from inside them (even _Destroy); every export that hands the panel
// something runs on it through `panels`, which keeps it alive meanwhile.
#include <windows.h>
#include "Application.h"
#include "ThingsExports.h"
#include "ThingsPanel.h"
#include "../tarvelPanel.h"

// A panel destroyed from inside one of its own callbacks is only taken from the host (hidden,
// every export a no-op again) and deleted once no handler of it runs. A host may make a new
// panel in that callback and destroy it from a nested one: several can wait.
static TTarvelPanels<TThingsPanel> panels(thingsPanel);

extern "C" {

void __cdecl things_Unload(void)
{
    things_Destroy();
    panels.DestroyAll();
    Application().UnhookHostMessageLoop();
}

int __cdecl things_Version(void) { return 1; }

HWND __cdecl things_CreateAsChild(HWND parent)
{
    if (thingsPanel)
        return thingsPanel->Handle();
    TThingsPanel* panel = panels.Make([parent](TThingsPanel* p) { return p->Create(parent); });
    if (!panel)
        return nullptr;
    // The host runs the message loop; the panel's keys, Tab and hints need to see it.
    Application().HookHostMessageLoop();
    return panel->Handle();
}

void __cdecl things_Destroy(void)
{
    // No host message passes through the panel's code any more; the next panel hooks again.
    if (thingsPanel)
        Application().UnhookHostMessageLoop();
    panels.Destroy();
}

void __cdecl things_Position(int left, int top, int right, int bottom)
{
    panels.Run([=](TThingsPanel* p) {
        p->Position(left, top, right, bottom);
        p->positioned = true;
    });
}

BOOL __cdecl things_Show(void)
{
    BOOL shown = FALSE;
    panels.Run([&shown](TThingsPanel* p) {
        ShowWindow(p->Handle(), SW_SHOW);
        shown = BringWindowToTop(p->Handle());
    });
    return shown;
}

void __cdecl things_Hide(void)
{
    panels.Run([](TThingsPanel* p) { ShowWindow(p->Handle(), SW_HIDE); });
}

void __cdecl things_SetTemplateFilesInfo(const TemplateFilesInfo* info)
{
    panels.Hand(info, &TThingsPanel::SetTemplateFilesInfo);
}

void __cdecl things_GetTemplateFilesInfo(TemplateFilesInfo* info)
{
    if (thingsPanel && info)
        thingsPanel->files.Store(*info);
}

void __cdecl things_SetThingsInfo(const ThingsInfo* info)
{
    panels.Hand(info, &TThingsPanel::SetThingsInfo);
}

void __cdecl things_GetThingsInfo(ThingsInfo* info)
{
    if (thingsPanel && info)
        thingsPanel->GetThingsInfo(*info);
}

void __cdecl things_AddTemplate(const char* name, int category, const char* subcategory)
{
    if (name)
        panels.Run([=](TThingsPanel* p) {
            p->AddTemplate(name, category, subcategory ? subcategory : TemplateNoSubcategory);
        });
}

void __cdecl things_BeginAddTemplates(const char* name)
{
    panels.Hand(name, &TThingsPanel::BeginAddTemplates);
}

void __cdecl things_EndAddTemplates(const char* name)
{
    panels.Hand(name, &TThingsPanel::EndAddTemplates);
}

const char* __cdecl things_GetSelectedTemplate(void)
{
    // The text lives in the panel; with no panel the host still gets a valid empty string.
    return thingsPanel ? thingsPanel->tree.SelectedTemplate().c_str() : "";
}

void __cdecl things_SetBaseDir(const char* folder)
{
    panels.Hand(folder, &TThingsPanel::SetBaseDir);
}

void __cdecl things_RegisterCloseCallback(ThingsCloseCallback cb)
{
    panels.Register(&TThingsPanel::onClose, cb);
}

void __cdecl things_RegisterApplyCallback(ThingsApplyCallback cb)
{
    panels.Register(&TThingsPanel::onApply, cb);
}

void __cdecl things_RegisterPositionCallback(ThingsPositionCallback cb)
{
    panels.Register(&TThingsPanel::onPosition, cb);
}

void __cdecl things_RegisterTemplateDoubleClickCallback(ThingsTemplateDoubleClickCallback cb)
{
    panels.Register(&TThingsPanel::onTemplateDoubleClick, cb);
}

void __cdecl things_RegisterTemplateFilesCallback(ThingsTemplateFilesCallback cb)
{
    panels.Register(&TThingsPanel::onTemplateFiles, cb);
}

}  // extern "C"
