// The scenes panel as the exports see it: the editor model, the "Scene Editor" form, the game
// folder and the host's callbacks. One panel per loaded library, from _CreateAsChild to _Destroy.
#pragma once
#include <windows.h>
#include <string>
#include "SceneEditor.h"
#include "SceneEditorForm.h"
#include "SceneList.h"
#include "ScenesRecords.h"

constexpr int SCENES_RESULT_CANCEL = 2;

class TScenesPanel {
public:
    TScenesPanel();

    // Makes the editor window (hidden) and ties the model to the host's callbacks.
    bool Create();
    HWND Handle() const { return form.Handle(); }
    // Runs the editor modally; after Quit, CloseCallback. A panel destroyed from inside the run
    // (a host calling _Destroy from a callback) is deleted once the run has ended.
    int ShowModal();
    bool InModal() const { return form.InModalLoop(); }
    void DestroyAfterModal();

    void SetLayers(const LayersInfo& info);
    void SetScenes(const ScenesInfo& info);
    void SetChronicle(const std::string& name);
    void SetBaseDir(const std::string& folder) { baseDir = folder; }
    // The reader of the current scene list, translating through the host's GLSCallback.
    TSceneListReader Reader() const;

    TSceneEditor editor;
    TSceneEditorForm form;
    std::string baseDir;
    ScenesCloseCallback onClose = nullptr;
    ScenesSaveCallback onSave = nullptr;
    ScenesRenameCallback onRename = nullptr;
    ScenesGLSCallback onGLS = nullptr;

private:
    bool destroyAfterModal_ = false;
};

// The library's one panel; the exports and the callbacks' glue reach it here.
extern TScenesPanel* scenesPanel;
