#include "ThingsPanel.h"
#include <cstdio>

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
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            panel->Paint(dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

TThingsPanel::~TThingsPanel()
{
    if (window)
        DestroyWindow(window);
    UnregisterClassA(panelClass, instance);
}

bool TThingsPanel::Create(HWND parent)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = panelClass;
    RegisterClassA(&wc);
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
void TThingsPanel::Paint(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    char line[160];
    int y = 8;
    auto put = [&](const char* text) {
        TextOutA(dc, 8, y, text, lstrlenA(text));
        y += 18;
    };
    put("Things & Templates");
    std::snprintf(line, sizeof line, "Selected: %u", editor.pairs.SelectedCount());
    put(line);
    std::snprintf(line, sizeof line, "Pairs: %d", editor.pairs.Count());
    put(line);
    for (const TPairRow& row : editor.pairs.Rows()) {
        std::snprintf(line, sizeof line, "  %s = %s  [%s]", row.key.c_str(), row.value.c_str(),
                      PairMarkText(row.mark));
        put(line);
    }
    std::snprintf(line, sizeof line, "Templates: %d in %d files; template files: %d",
                  tree.NameCount(), tree.FileCount(), files.Count());
    put(line);
}
