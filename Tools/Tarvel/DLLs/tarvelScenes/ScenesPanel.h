// The scenes panel as the exports see it: the editor model, the "Scene Editor" form, the game
// folder and the host's callbacks. One panel per loaded library, from _CreateAsChild to _Destroy.
#pragma once
#include <windows.h>
#include <string>
#include "../tarvelPanel.h"
#include "SceneEditor.h"
#include "SceneEditorForm.h"
#include "SceneList.h"
#include "ScenesRecords.h"

constexpr int SCENES_RESULT_CANCEL = 2;

class TScenesPanel : public TTarvelPanel {
public:
    TScenesPanel();

    // Makes the editor window (hidden) and ties the model to the host's callbacks.
    bool Create();
    HWND Handle() const { return form.Handle(); }
    // Runs the editor modally; after Quit, CloseCallback. A panel destroyed from inside the run
    // (a host calling _Destroy from a callback) ends the run and answers as Quit, without
    // CloseCallback.
    int ShowModal();

    void SetLayers(const LayersInfo& info);
    void SetScenes(const ScenesInfo& info);
    void SetChronicle(const std::string& name);
    void SetBaseDir(const std::string& folder) { baseDir = folder; }
    // The reader of the current scene list, translating through the host's GLSCallback.
    TSceneListReader Reader();

    TSceneEditor editor;
    std::string baseDir;  // before the form, which keeps a reference to it
    TSceneEditorForm form;
    ScenesCloseCallback onClose = nullptr;
    ScenesSaveCallback onSave = nullptr;
    ScenesRenameCallback onRename = nullptr;
    ScenesGLSCallback onGLS = nullptr;

protected:
    // No callback any more, and the modal run ends.
    void Retire() override;
};

// The library's one panel; the exports and the callbacks' glue reach it here.
extern TScenesPanel* scenesPanel;
