// The host's side of the scenes panel: the chronicle's layers and scenes, the modal editor and
// the description texts. Stored scenes start as the first sections of the chronicle's scene
// list; description texts come from "hoststrings.ini" of the game folder.
#include <cstdio>
#include <cstring>
#include <memory>
#include "HostScenes.h"
#include "Host.h"
#include <commctrl.h>
#include "ScenesRecords.h"

namespace {

struct {
    int (*Version)(void);
    HWND (*CreateAsChild)(HWND);
    void (*SetChronicle)(const char*);
    int (*ShowModal)(void);
    void (*SetLayersInfo)(const LayersInfo*);
    void (*GetLayersInfo)(LayersInfo*);
    void (*SetScenesInfo)(const ScenesInfo*);
    void (*GetScenesInfo)(ScenesInfo*);
    void (*SetBaseDir)(const char*);
    void (*RegisterClose)(ScenesCloseCallback);
    void (*RegisterSave)(ScenesSaveCallback);
    void (*RegisterRename)(ScenesRenameCallback);
    void (*RegisterGLS)(ScenesGLSCallback);
} api;

bool started = false;
HWND editor = nullptr;

void SetName(char* field, const char* text) { std::strncpy(field, text, 31); }

void DefaultScene(SceneInfo& s, const char* name)
{
    std::memset(&s, 0, sizeof s);
    SetName(s.name, name);
    SetName(s.skyModel, "sky.qev");
    SetName(s.skyAnim, "sky.jup");
    s.musicVolume = 80;
    s.ambientVolume = 60;
    s.eaxPreset = 0;
    s.fogMode = 1;
    s.fogR = s.fogG = s.fogB = 128;
    s.fogDist1 = 100;
    s.fogDist2 = 2000;
    s.zClipDist = 4000;
}

void SendLayers()
{
    static const char* const names[] = {"Ground", "Walls", "Props", "Lights", "Sounds", "Triggers"};
    LayersInfo info = {};
    for (int i = 0; i < SCENES_LAYERS; i++) {
        if (i < 6)
            SetName(info.layerName[i], names[i]);
        else
            std::snprintf(info.layerName[i], 32, "Layer %d", i);
    }
    api.SetLayersInfo(&info);
    Host_Log("layers sent: 32");
}

void SendScenes(const std::string& chronicle)
{
    std::unique_ptr<ScenesInfo> info(new ScenesInfo());
    SetName(info->sceneListName, chronicle.c_str());
    DefaultScene(info->staticScene, "__STATIC SCENE__");
    info->staticScene.layerMask = 0x3;
    std::string file = host.gameFolder + "\\Chronicles\\" + chronicle + ".rix";
    char sections[4096] = {};
    GetPrivateProfileSectionNamesA(sections, sizeof sections, file.c_str());
    for (const char* p = sections; *p && info->sceneCount < 2; p += std::strlen(p) + 1) {
        SceneInfo& s = info->scene[info->sceneCount++];
        DefaultScene(s, p);
        s.layerMask = 0x5 << info->sceneCount;
        SetName(s.music, "theme.mp3");
        SetName(s.ambient, "wind.wav");
    }
    api.SetScenesInfo(info.get());
    Host_Log("scenes sent: %u stored scenes of %s", info->sceneCount, chronicle.c_str());
}

void OnClose() { Host_Log("CloseCallback"); }

void OnSave()
{
    std::unique_ptr<ScenesInfo> info(new ScenesInfo());
    api.GetScenesInfo(info.get());
    Host_Log("SaveCallback: scene list \"%.32s\", %u scenes", info->sceneListName, info->sceneCount);
    for (uint32_t i = 0; i < info->sceneCount && i < SCENES_MAX; i++) {
        const SceneInfo& s = info->scene[i];
        Host_Log("  %.32s: layers %08X flags %08X music %.32s (%d) fog %d", s.name, s.layerMask,
                 s.flags, s.music, s.musicVolume, s.fogMode);
    }
}

void OnRename()
{
    LayersInfo info = {};
    api.GetLayersInfo(&info);
    Host_Log("RenameCallback:");
    for (int i = 0; i < 8; i++)
        Host_Log("  layer %d: %.32s", i, info.layerName[i]);
}

// One buffer for every answer, as a real host may keep it.
const char* OnGLS(const char* id)
{
    static char text[256];
    std::string file = host.gameFolder + "\\hoststrings.ini";
    GetPrivateProfileStringA("strings", id, "", text, sizeof text, file.c_str());
    if (!text[0])
        std::snprintf(text, sizeof text, "<%s>", id);
    Host_Log("GLSCallback: %s -> %s", id, text);
    return text;
}

// As a user's click on New once the editor is up: the tool bar reports it to the editor with
// the button's command, 1 for the first button.
void CALLBACK PressNew(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND bar = FindWindowExA(editor, nullptr, TOOLBARCLASSNAMEA, nullptr);
    if (bar)
        PostMessageA(editor, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), (LPARAM)bar);
}

}  // namespace

bool HostScenes_Start(const std::string& chronicle)
{
    bool ok = Host_Bind(api.Version, "_Version") & Host_Bind(api.CreateAsChild, "_CreateAsChild") &
              Host_Bind(api.SetChronicle, "_SetChronicle") & Host_Bind(api.ShowModal, "_ShowModal") &
              Host_Bind(api.SetLayersInfo, "_SetLayersInfo") & Host_Bind(api.GetLayersInfo, "_GetLayersInfo") &
              Host_Bind(api.SetScenesInfo, "_SetScenesInfo") & Host_Bind(api.GetScenesInfo, "_GetScenesInfo") &
              Host_Bind(api.SetBaseDir, "_SetBaseDir") & Host_Bind(api.RegisterClose, "_RegisterCloseCallback") &
              Host_Bind(api.RegisterSave, "_RegisterSaveCallback") &
              Host_Bind(api.RegisterRename, "_RegisterRenameCallback") &
              Host_Bind(api.RegisterGLS, "_RegisterGLSCallback");
    if (!ok || !(editor = Host_CreatePanel(api.Version, api.CreateAsChild, api.SetBaseDir)))
        return false;
    api.SetChronicle(chronicle.c_str());
    api.RegisterClose(OnClose);
    api.RegisterSave(OnSave);
    api.RegisterRename(OnRename);
    api.RegisterGLS(OnGLS);
    SendLayers();
    SendScenes(chronicle);
    started = true;
    return true;
}

void HostScenes_Open()
{
    if (!started)
        return;
    Host_Log("_ShowModal ...");
    if (host.pressNew)
        SetTimer(nullptr, 0, 1000, PressNew);
    int result = api.ShowModal();
    Host_Log("_ShowModal: %d", result);
}
