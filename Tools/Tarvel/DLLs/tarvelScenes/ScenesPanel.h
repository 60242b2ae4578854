// The scenes panel as the exports see it: the "Scene Editor" window, its modal run, the editor
// model and the host's callbacks. One panel per loaded library, from _CreateAsChild to _Destroy.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "SceneEditor.h"
#include "SceneList.h"
#include "ScenesRecords.h"

constexpr int SCENES_RESULT_CANCEL = 2;

class TScenesPanel {
public:
    explicit TScenesPanel(HINSTANCE instance);
    ~TScenesPanel();

    bool Create();
    HWND Handle() const { return window; }
    int ShowModal();
    void Quit();
    std::vector<std::string> Describe() const;
    void SetBaseDir(const std::string& folder) { baseDir = folder; }
    // The reader of the current scene list, translating through the host's GLSCallback.
    TSceneListReader Reader() const;

    TSceneEditor editor;
    std::string baseDir;
    ScenesCloseCallback onClose = nullptr;
    ScenesSaveCallback onSave = nullptr;
    ScenesRenameCallback onRename = nullptr;
    ScenesGLSCallback onGLS = nullptr;

private:
    HINSTANCE instance;
    HWND window = nullptr;
    HWND quitButton = nullptr;
    bool inModal = false;
    int modalResult = 0;
};

extern TScenesPanel* scenesPanel;
