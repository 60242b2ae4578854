#include "ScenesPanel.h"
#include "Hooks.h"

TScenesPanel* scenesPanel = nullptr;

// The editor's questions and refusals go through the form layer's message-box hook.
TScenesPanel::TScenesPanel() : form(editor, baseDir, [this] { return Reader(); })
{
    editor.ask = [](const char* text, const char* caption) {
        int answer = MessageDlg(text, caption, MB_YESNOCANCEL, MB_ICONQUESTION);
        return answer == IDYES ? saYes : (answer == IDNO ? saNo : saCancel);
    };
    editor.refuse = [](const char* text, const char* caption) {
        MessageDlg(text, caption, MB_OK, MB_ICONEXCLAMATION);
    };
    // Callbacks go through the panel's current registrations, so a host may replace or drop
    // them at any time.
    editor.onSave = [this] { Fire(onSave); };
    editor.onRename = [this] { Fire(onRename); };
    editor.describe = [this](const std::string& scene, std::string& shortText, std::string& longText) {
        Reader().Descriptions(scene, shortText, longText);
    };
}

bool TScenesPanel::Create()
{
    if (!form.Create())
        return false;
    form.ShowLayers();
    form.ShowScenes();
    return true;
}

int TScenesPanel::ShowModal()
{
    if (!form.HandleAllocated() || form.InModalLoop())
        return 0;
    int result = form.Run();
    if (Retired())
        return SCENES_RESULT_CANCEL;
    if (result == SCENES_RESULT_CANCEL)
        Fire(onClose);
    return result;
}

void TScenesPanel::Retire()
{
    onClose = nullptr;
    onSave = nullptr;
    onRename = nullptr;
    onGLS = nullptr;
    form.SetModalResult(SCENES_RESULT_CANCEL);
}

void TScenesPanel::SetLayers(const LayersInfo& info)
{
    editor.SetLayers(info);
    form.ShowLayers();
}

void TScenesPanel::SetScenes(const ScenesInfo& info)
{
    editor.SetScenes(info);
    form.ShowScenes();
}

void TScenesPanel::SetChronicle(const std::string& name)
{
    editor.SetChronicle(name);
    form.ShowScenes();
}

TSceneListReader TScenesPanel::Reader()
{
    TSceneListReader reader;
    reader.baseDir = baseDir;
    reader.sceneListName = editor.SceneListName();
    if (onGLS)
        reader.translate = [this](const char* id) { return Fire(onGLS, nullptr, id); };
    return reader;
}
