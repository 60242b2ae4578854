#include "ThingsPanel.h"
#include "Hooks.h"
#include "../tarvelPlaceholder.h"

TThingsPanel* thingsPanel = nullptr;

static const char* const panelClass = "TarvelThingsPanel";

static LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    TThingsPanel* panel = thingsPanel;
    if (panel && panel->Handle() == hwnd) {
        switch (msg) {
        case WM_SIZE:
            panel->ReportPosition();
            return 0;
        case WM_MOVE:
            if (panel->positioned)
                panel->ReportPosition();
            return 0;
        case WM_PAINT:
            tarvelPlaceholder_Paint(hwnd, 8, panel->Describe());
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// The multiple-selection question goes through the form layer's message-box hook, task-modal
// and without owner, so the host cannot change the selection while it is asked.
TThingsPanel::TThingsPanel(HINSTANCE instance) : instance(instance)
{
    editor.askProceed = [](const char* text) {
        return MessageDlg(text, ThingsConfirmCaption, MB_YESNO, MB_ICONQUESTION) != IDNO;
    };
}

TThingsPanel::~TThingsPanel()
{
    if (window)
        DestroyWindow(window);
    UnregisterClassA(panelClass, instance);
}

bool TThingsPanel::Create(HWND parent)
{
    tarvelPlaceholder_Register(panelClass, PanelProc, instance);
    DWORD style = parent ? (WS_CHILD | WS_CLIPCHILDREN | WS_BORDER) : (WS_OVERLAPPEDWINDOW);
    window = CreateWindowExA(0, panelClass, "Things & Templates", style, 0, 0, 320, 480, parent,
                             nullptr, instance, nullptr);
    return window != nullptr;
}

void TThingsPanel::SetBaseDir(const std::string& folder)
{
    baseDir = folder;
    codexDir = folder + "\\Codex";
    templatesDir = folder + "\\Templates";
    soundsDir = folder + "\\Sounds";
    foleyDir = folder + "\\Misc\\Foley";
    aiDir = folder + "\\Misc\\AI";
}

static bool FileExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void TThingsPanel::SetThingsInfo(const ThingsInfo& info)
{
    editor.pairs.Load(info);
    pages = TThingPages();
    tree.Select(-1);
    if (editor.pairs.SelectedCount() != 0) {
        std::string templateName, sound;
        ThingsPages_Read(editor.pairs, pages, templateName, sound);
        if (!templateName.empty()) {
            int leaf = tree.FindTemplate(templateName);
            if (leaf >= 0)
                tree.Select(leaf);
        }
        if (!sound.empty())
            soundPreview = ThingsSound_Find(soundsDir, sound, FileExists);
    }
    InvalidateRect(window, nullptr, TRUE);
}

void TThingsPanel::GetThingsInfo(ThingsInfo& info)
{
    editor.pairs.Store(info, tree.SelectedNodeText());
}

void TThingsPanel::Position(int left, int top, int right, int bottom)
{
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), (POINT*)&r, 2);
    int width = right - left, height = bottom - top;
    if (left != r.left || top != r.top || width != r.right - r.left || height != r.bottom - r.top)
        SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TThingsPanel::ReportPosition()
{
    if (!onPosition)
        return;
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), (POINT*)&r, 2);
    onPosition(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Until the panel form is built, the window shows what the panel holds.
std::vector<std::string> TThingsPanel::Describe() const
{
    std::vector<std::string> lines = {"Things & Templates"};
    lines.push_back("Selected: " + std::to_string(editor.pairs.SelectedCount()));
    lines.push_back("Pairs: " + std::to_string(editor.pairs.Count()));
    for (const TPairRow& row : editor.pairs.Rows())
        lines.push_back("  " + row.key + " = " + row.value + "  [" + PairMarkText(row.mark) + "]");
    lines.push_back("Templates: " + std::to_string(tree.NameCount()) + " in " +
                    std::to_string(tree.FileCount()) + " files; template files: " +
                    std::to_string(files.Count()));
    return lines;
}
