// TarvelHost.exe started as a process on a game folder written here: it loads the panel, feeds
// it and logs what the callbacks fetch back; the test reads that log and closes the host.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include "Tools/Tarvel/DLLs/PanelLibrary.h"
#include "fixtureFiles.h"

namespace {

std::string FullPath(const std::string& relative)
{
    char full[MAX_PATH];
    GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr);
    return full;
}

BOOL CALLBACK MatchCaption(HWND w, LPARAM param)
{
    auto* search = reinterpret_cast<std::pair<const char*, HWND>*>(param);
    char text[256] = {};
    GetWindowTextA(w, text, sizeof text);
    if (std::strcmp(text, search->first) != 0)
        return TRUE;
    search->second = w;
    return FALSE;
}

// A window below `parent`, at any depth, by its text.
HWND ChildByCaption(HWND parent, const char* caption)
{
    std::pair<const char*, HWND> search(caption, nullptr);
    EnumChildWindows(parent, MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// The host runs with its standard output on a pipe: the test reads the log as the host writes
// it, so every wait is a wait for the host's own next line, its input loop or its end.
struct THostRun {
    PROCESS_INFORMATION pi = {};
    HANDLE output = nullptr;
    std::string log;
    bool started = false;

    explicit THostRun(const std::string& args)
    {
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
        HANDLE write = nullptr;
        if (!CreatePipe(&output, &write, &sa, 0))
            return;
        SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = write;
        si.hStdError = write;
        std::string exe = PanelLibrary_Path("TarvelHost.exe");
        std::string cmd = "\"" + exe + "\" " + args;
        started = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, 0, nullptr,
                                 nullptr, &si, &pi) != 0;
        CloseHandle(write);  // the host holds the only writing end: its end ends the pipe
    }
    ~THostRun()
    {
        if (started) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(pi.hProcess, 9);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
        if (output)
            CloseHandle(output);
    }
    // Reads what the host writes until the log holds the text; false when the host's output
    // ended first.
    bool WaitForLog(const std::string& text)
    {
        while (log.find(text) == std::string::npos)
            if (!ReadMore())
                return false;
        return true;
    }
    // Waits for the host's next output; false once the host has ended and all it wrote is read.
    // The end of the host, not of the pipe, ends its output: a process that wine starts for the
    // host's session (its desktop) may keep the writing end open after the host is gone.
    bool ReadMore()
    {
        for (;;) {
            DWORD available = 0;
            if (!PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr))
                return false;  // every writer is gone
            if (available > 0) {
                char chunk[512];
                DWORD got = 0;
                if (!ReadFile(output, chunk, available < sizeof chunk ? available : sizeof chunk, &got, nullptr))
                    return false;
                log.append(chunk, got);
                return true;
            }
            if (WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0) {
                PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr);
                if (available == 0)
                    return false;
            }
        }
    }
    // A top-level window of the host's thread, by caption; the host has made it by the time the
    // log line or the idle input loop that the caller waited for came.
    HWND Window(const char* caption)
    {
        std::pair<const char*, HWND> search(caption, nullptr);
        EnumThreadWindows(pi.dwThreadId, MatchCaption, reinterpret_cast<LPARAM>(&search));
        return search.second;
    }
    // The host waits for input in its first message loop (a message box's, too).
    bool WaitForInputLoop() { return WaitForInputIdle(pi.hProcess, INFINITE) == 0; }
    // Waits for the log line, then answers the host's top-level window of that caption.
    HWND WindowAfterLog(const std::string& text, const char* caption)
    {
        return WaitForLog(text) ? Window(caption) : nullptr;
    }
    // The host's top-level window of that caption once the host waits for input. Wine may call
    // the host idle before a message box's window is made (its loop is not the first to look
    // for messages), so the window is looked for until it is there or the host has ended.
    HWND WindowOnceIdle(const char* caption)
    {
        if (WaitForInputIdle(pi.hProcess, INFINITE) != 0)
            return nullptr;
        HWND window = Window(caption);
        while (!window && WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT)
            window = Window(caption);
        return window;
    }
    // The rest of the log, then the exit code.
    DWORD Finish()
    {
        while (ReadMore()) {
        }
        if (WaitForSingleObject(pi.hProcess, INFINITE) != WAIT_OBJECT_0)
            return (DWORD)-1;
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
};

std::string GameFolder()
{
    std::string name = std::string("game_") + testing::UnitTest::GetInstance()->current_test_info()->name();
    fixtures::MakeFolders(name);
    return name;
}

}  // namespace

TEST(TarvelHost, ThingsPanelIsLoadedFedAndReadBack)
{
    std::string game = GameFolder();
    ASSERT_TRUE(fixtures::MakeFolders(game + "\\Templates"));
    std::ofstream(game + "\\Templates\\global.zul") << "ZUL";
    std::ofstream(game + "\\Templates\\extra.zul") << "ZUL";
    std::ofstream(game + "\\hosttree.txt") << "global.zul|Sword|20|Blades\nextra.zul|Orc|5|[-[none]-]\n";
    std::ofstream(game + "\\hostselection.txt") << "selected 1\norigin=1 2 3\nTEMPLATE=orc\n";

    THostRun run("things \"" + FullPath(game) + "\"");
    ASSERT_TRUE(run.started);
    // The host reads the pairs back once itself; only an edit in the panel calls ApplyCallback.
    const std::string ownRead = "host reads the pairs back (_GetThingsInfo, no callback): 2 pairs, selected 1, "
                                "template \"Orc\"";
    ASSERT_TRUE(run.WaitForLog(ownRead)) << run.log;
    ASSERT_TRUE(run.WaitForLog("ORIGIN = 1 2 3 (unchanged)")) << run.log;
    HWND main = run.Window("Tarvel Host - things");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(run.WaitForInputLoop());
    EXPECT_EQ(run.log.find("ApplyCallback"), std::string::npos) << run.log;
    HWND apply = ChildByCaption(main, "Apply Origin");
    ASSERT_NE(apply, nullptr);
    // The click runs in the host's thread; the callback has logged by the time it returns.
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutA(apply, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 60000, &result), 0);
    ASSERT_TRUE(run.WaitForLog("ORIGIN = 1 2 3 (changed)")) << run.log;
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Finish(), 0u);

    const std::string& log = run.log;
    EXPECT_NE(log.find("loaded tarvelThings.dll"), std::string::npos) << log;
    EXPECT_NE(log.find("_Version: 1"), std::string::npos);
    EXPECT_NE(log.find("template files sent: 1"), std::string::npos);
    EXPECT_NE(log.find("tree sent: 4 files, 2 templates"), std::string::npos);
    EXPECT_NE(log.find("PositionCallback:"), std::string::npos);
    EXPECT_NE(log.find(ownRead), std::string::npos);
    EXPECT_LT(log.find(ownRead), log.find("ApplyCallback: 2 pairs, selected 1, template \"Orc\""));
    EXPECT_NE(log.find("ORIGIN = 1 2 3 (unchanged)"), std::string::npos);
}

TEST(TarvelHost, ScenesEditorOpensModallyAndQuits)
{
    std::string game = GameFolder();
    ASSERT_TRUE(fixtures::MakeFolders(game + "\\Chronicles"));
    std::ofstream(game + "\\Chronicles\\act1.rix") << "[Cave]\nSHORTDESC=A\n[Bridge]\n";

    THostRun run("scenes \"" + FullPath(game) + "\" act1");
    ASSERT_TRUE(run.started);
    HWND editor = run.WindowAfterLog("_ShowModal ...", "Scene Editor");
    ASSERT_NE(editor, nullptr) << run.log;
    // Quit, the fifth button of the editor's tool bar, reports its click to the editor as
    // WM_COMMAND with the button's command (they count from 1).
    HWND bar = FindWindowExA(editor, nullptr, TOOLBARCLASSNAMEA, nullptr);
    ASSERT_NE(bar, nullptr);
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), (LPARAM)bar);
    ASSERT_TRUE(run.WaitForLog("_ShowModal: 2")) << run.log;
    PostMessageA(run.Window("Tarvel Host - scenes"), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Finish(), 0u);

    const std::string& log = run.log;
    EXPECT_NE(log.find("loaded tarvelScenes.dll"), std::string::npos) << log;
    EXPECT_NE(log.find("scenes sent: 2 stored scenes of act1"), std::string::npos);
    EXPECT_NE(log.find("CloseCallback"), std::string::npos);
    EXPECT_LT(log.find("CloseCallback"), log.find("_ShowModal: 2"));
}

TEST(TarvelHost, UnknownPanelIsRefused)
{
    THostRun run("nothing");
    ASSERT_TRUE(run.started);
    // The usage message box waits for an answer: close it like a user.
    HWND box = run.WindowOnceIdle("Cannot start host...");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Finish(), 2u);
}
