// The things panel as the exports see it: its window, its state and the host's callbacks.
// One panel per loaded library; it exists from _CreateAsChild to _Destroy.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "TemplateTree.h"
#include "ThingsEdit.h"
#include "ThingsRecords.h"

class TThingsPanel {
public:
    explicit TThingsPanel(HINSTANCE instance);
    ~TThingsPanel();

    bool Create(HWND parent);
    HWND Handle() const { return window; }

    void SetBaseDir(const std::string& folder);
    void SetThingsInfo(const ThingsInfo& info);
    void GetThingsInfo(ThingsInfo& info);
    void Position(int left, int top, int right, int bottom);
    void ReportPosition();
    std::vector<std::string> Describe() const;

    TThingsEditor editor;
    TThingPages pages;
    TTemplateTree tree;
    TTemplateFileList files;
    std::string soundPreview;  // the file the preview player holds, "" when none

    std::string baseDir, codexDir, templatesDir, soundsDir, foleyDir, aiDir;
    bool positioned = false;

    ThingsCloseCallback onClose = nullptr;
    ThingsApplyCallback onApply = nullptr;
    ThingsPositionCallback onPosition = nullptr;
    ThingsTemplateDoubleClickCallback onTemplateDoubleClick = nullptr;
    ThingsTemplateFilesCallback onTemplateFiles = nullptr;

private:
    HINSTANCE instance;
    HWND window = nullptr;
};

// The live panel, or null before _CreateAsChild and after _Destroy.
extern TThingsPanel* thingsPanel;
