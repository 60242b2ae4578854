// The exports of tarvelThings.dll. Each one does nothing before _CreateAsChild, after
// _Destroy or when handed a null pointer. Callbacks are made last, because a host may call
// back into the exports from inside them (even _Destroy).
#include <windows.h>
#include <vector>
#include "Application.h"
#include "ThingsExports.h"
#include "ThingsPanel.h"

// A panel destroyed from inside one of its own callbacks is only taken from the host (hidden,
// every export a no-op again) and deleted later, once no handler of it is running. A host may
// make a new panel in that callback and destroy it from a nested one: several can wait.
static std::vector<TThingsPanel*> retiredPanels;

static void DeleteRetiredPanels(bool evenBusy)
{
    std::vector<TThingsPanel*> waiting;
    waiting.swap(retiredPanels);
    for (TThingsPanel* panel : waiting) {
        if (panel->Busy() && !evenBusy)
            retiredPanels.push_back(panel);
        else
            delete panel;
    }
}

extern "C" {

void __cdecl things_Unload(void)
{
    things_Destroy();
    DeleteRetiredPanels(true);
    Application().UnhookHostMessageLoop();
}

int __cdecl things_Version(void) { return 1; }

HWND __cdecl things_CreateAsChild(HWND parent)
{
    if (thingsPanel)
        return thingsPanel->Handle();
    DeleteRetiredPanels(false);
    TThingsPanel* panel = new TThingsPanel();
    if (!panel->Create(parent)) {
        delete panel;
        return nullptr;
    }
    thingsPanel = panel;
    // The host runs the message loop; the panel's keys, Tab and hints need to see it.
    Application().HookHostMessageLoop();
    return panel->Handle();
}

void __cdecl things_Destroy(void)
{
    TThingsPanel* panel = thingsPanel;
    thingsPanel = nullptr;
    DeleteRetiredPanels(false);
    if (!panel)
        return;
    // No host message passes through the panel's code any more; the next panel hooks again.
    Application().UnhookHostMessageLoop();
    if (panel->Busy()) {
        // Gone for the host: it hears nothing more from this panel.
        panel->onClose = nullptr;
        panel->onApply = nullptr;
        panel->onPosition = nullptr;
        panel->onTemplateDoubleClick = nullptr;
        panel->onTemplateFiles = nullptr;
        panel->Hide();
        retiredPanels.push_back(panel);
        return;
    }
    delete panel;
}

void __cdecl things_Position(int left, int top, int right, int bottom)
{
    if (!thingsPanel)
        return;
    thingsPanel->Position(left, top, right, bottom);
    if (thingsPanel)  // a position callback may have destroyed the panel
        thingsPanel->positioned = true;
}

BOOL __cdecl things_Show(void)
{
    if (!thingsPanel)
        return FALSE;
    ShowWindow(thingsPanel->Handle(), SW_SHOW);
    return BringWindowToTop(thingsPanel->Handle());
}

void __cdecl things_Hide(void)
{
    if (thingsPanel)
        ShowWindow(thingsPanel->Handle(), SW_HIDE);
}

void __cdecl things_SetTemplateFilesInfo(const TemplateFilesInfo* info)
{
    if (!thingsPanel || !info)
        return;
    thingsPanel->SetTemplateFilesInfo(*info);
}

void __cdecl things_GetTemplateFilesInfo(TemplateFilesInfo* info)
{
    if (thingsPanel && info)
        thingsPanel->files.Store(*info);
}

void __cdecl things_SetThingsInfo(const ThingsInfo* info)
{
    if (thingsPanel && info)
        thingsPanel->SetThingsInfo(*info);
}

void __cdecl things_GetThingsInfo(ThingsInfo* info)
{
    if (thingsPanel && info)
        thingsPanel->GetThingsInfo(*info);
}

void __cdecl things_AddTemplate(const char* name, int category, const char* subcategory)
{
    if (thingsPanel && name)
        thingsPanel->AddTemplate(name, category, subcategory ? subcategory : TemplateNoSubcategory);
}

void __cdecl things_BeginAddTemplates(const char* name)
{
    if (thingsPanel && name)
        thingsPanel->BeginAddTemplates(name);
}

void __cdecl things_EndAddTemplates(const char* name)
{
    if (!thingsPanel || !name)
        return;
    thingsPanel->EndAddTemplates(name);
}

const char* __cdecl things_GetSelectedTemplate(void)
{
    // The text lives in the panel; with no panel the host still gets a valid empty string.
    return thingsPanel ? thingsPanel->tree.SelectedTemplate().c_str() : "";
}

void __cdecl things_SetBaseDir(const char* folder)
{
    if (thingsPanel && folder)
        thingsPanel->SetBaseDir(folder);
}

void __cdecl things_RegisterCloseCallback(ThingsCloseCallback cb)
{
    if (thingsPanel)
        thingsPanel->onClose = cb;
}

void __cdecl things_RegisterApplyCallback(ThingsApplyCallback cb)
{
    if (thingsPanel)
        thingsPanel->onApply = cb;
}

void __cdecl things_RegisterPositionCallback(ThingsPositionCallback cb)
{
    if (thingsPanel)
        thingsPanel->onPosition = cb;
}

void __cdecl things_RegisterTemplateDoubleClickCallback(ThingsTemplateDoubleClickCallback cb)
{
    if (thingsPanel)
        thingsPanel->onTemplateDoubleClick = cb;
}

void __cdecl things_RegisterTemplateFilesCallback(ThingsTemplateFilesCallback cb)
{
    if (thingsPanel)
        thingsPanel->onTemplateFiles = cb;
}

}  // extern "C"
