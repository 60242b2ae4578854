#include "ScenesPanel.h"
#include "Hooks.h"
#include "../tarvelPlaceholder.h"
#include <vector>

TScenesPanel* scenesPanel = nullptr;

static const char* const editorClass = "TarvelSceneEditor";
constexpr int ID_QUIT = 100;

static LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    TScenesPanel* panel = scenesPanel;
    if (panel && panel->Handle() == hwnd) {
        switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == ID_QUIT) {
                panel->Quit();
                return 0;
            }
            break;
        case WM_CLOSE:  // the window has no close box; Alt+F4 acts as Quit
            panel->Quit();
            return 0;
        case WM_PAINT:
            tarvelPlaceholder_Paint(hwnd, 40, panel->Describe());
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// The editor's questions and refusals go through the form layer's message-box hook.
TScenesPanel::TScenesPanel(HINSTANCE instance) : instance(instance)
{
    editor.ask = [](const char* text, const char* caption) {
        int answer = MessageDlg(text, caption, MB_YESNOCANCEL, MB_ICONQUESTION);
        return answer == IDYES ? saYes : (answer == IDNO ? saNo : saCancel);
    };
    editor.refuse = [](const char* text, const char* caption) {
        MessageDlg(text, caption, MB_OK, MB_ICONEXCLAMATION);
    };
}

TScenesPanel::~TScenesPanel()
{
    if (window)
        DestroyWindow(window);
    UnregisterClassA(editorClass, instance);
}

bool TScenesPanel::Create()
{
    tarvelPlaceholder_Register(editorClass, EditorProc, instance);
    // A top-level window without owner and without border icons.
    window = CreateWindowExA(0, editorClass, "Scene Editor", WS_POPUP | WS_CAPTION | WS_THICKFRAME,
                             CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
    if (!window)
        return false;
    quitButton = CreateWindowExA(0, "BUTTON", "Quit", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8, 8, 80,
                                 24, window, (HMENU)(INT_PTR)ID_QUIT, instance, nullptr);
    return true;
}

static BOOL CALLBACK DisableOne(HWND hwnd, LPARAM lp)
{
    auto* list = (std::vector<HWND>*)lp;
    if (hwnd != scenesPanel->Handle() && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        list->push_back(hwnd);
    }
    return TRUE;
}

// The editor runs its own message loop; the host's windows of this thread are disabled meanwhile.
int TScenesPanel::ShowModal()
{
    if (inModal)
        return 0;
    TScenesPanel* self = this;
    inModal = true;
    modalResult = 0;
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, (LPARAM)&disabled);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG msg;
    bool quitPosted = false;
    while (scenesPanel == self && modalResult == 0) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            quitPosted = true;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    for (HWND hwnd : disabled)
        if (IsWindow(hwnd))
            EnableWindow(hwnd, TRUE);
    if (quitPosted)
        PostQuitMessage((int)msg.wParam);
    if (scenesPanel != self)  // destroyed from inside the loop
        return SCENES_RESULT_CANCEL;
    ShowWindow(window, SW_HIDE);
    inModal = false;
    int result = modalResult ? modalResult : SCENES_RESULT_CANCEL;
    if (modalResult == SCENES_RESULT_CANCEL && onClose)
        onClose();
    return result;
}

TSceneListReader TScenesPanel::Reader() const
{
    TSceneListReader reader;
    reader.baseDir = baseDir;
    reader.sceneListName = editor.SceneListName();
    if (onGLS)
        reader.translate = [](const char* id) -> const char* {
            return scenesPanel && scenesPanel->onGLS ? scenesPanel->onGLS(id) : nullptr;
        };
    return reader;
}

// Quit drops unsaved changes of the shown scene; CloseCallback follows once the editor is closed.
void TScenesPanel::Quit()
{
    if (inModal)
        modalResult = SCENES_RESULT_CANCEL;
    else
        ShowWindow(window, SW_HIDE);
}

// Until the editor form is built, the window shows what the editor holds.
std::vector<std::string> TScenesPanel::Describe() const
{
    std::vector<std::string> lines;
    lines.push_back("Scenes: " + std::to_string(editor.SceneCount() + 1) + "   Scene List: " +
                    editor.SceneListName());
    for (size_t i = 0; i < editor.Entries().size(); i++)
        lines.push_back(((int)i == editor.Selected() ? "> " : "  ") + editor.Entries()[i]);
    lines.push_back("Short Description: " + editor.controls.shortDesc);
    lines.push_back("Long Description: " + editor.controls.longDesc);
    return lines;
}
