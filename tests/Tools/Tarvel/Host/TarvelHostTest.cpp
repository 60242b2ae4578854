// TarvelHost.exe started as a process on a game folder written here: it loads the panel, feeds
// it and logs what the callbacks fetch back; the test reads that log and closes the host.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <fstream>
#include <sstream>
#include <string>
#include "Tools/Tarvel/DLLs/PanelLibrary.h"

namespace {

std::string FullPath(const std::string& relative)
{
    char full[MAX_PATH];
    GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr);
    return full;
}

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct THostRun {
    PROCESS_INFORMATION pi = {};
    std::string logName;
    bool started = false;

    THostRun(const std::string& args, const std::string& log) : logName(log)
    {
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
        HANDLE out = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out;
        si.hStdError = out;
        std::string exe = PanelLibrary_Path("TarvelHost.exe");
        std::string cmd = "\"" + exe + "\" " + args;
        started = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, 0, nullptr,
                                 nullptr, &si, &pi) != 0;
        CloseHandle(out);
    }
    ~THostRun()
    {
        if (!started)
            return;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(pi.hProcess, 9);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    // Waits until the log holds the text; false after 30 s.
    bool WaitForLog(const std::string& text)
    {
        for (int i = 0; i < 300; i++) {
            if (ReadFile(logName).find(text) != std::string::npos)
                return true;
            Sleep(100);
        }
        return false;
    }
    // A window of this host process: other tests may show windows of the same caption.
    HWND Window(const char* caption)
    {
        for (int i = 0; i < 300; i++) {
            for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, caption); w;
                 w = FindWindowExA(nullptr, w, nullptr, caption)) {
                DWORD process = 0;
                GetWindowThreadProcessId(w, &process);
                if (process == pi.dwProcessId)
                    return w;
            }
            Sleep(100);
        }
        return nullptr;
    }
    DWORD Finish()
    {
        if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0)
            return (DWORD)-1;
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
};

std::string GameFolder()
{
    std::string name = std::string("game_") + testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(name.c_str(), nullptr);
    return name;
}

}  // namespace

TEST(TarvelHost, ThingsPanelIsLoadedFedAndReadBack)
{
    std::string game = GameFolder();
    CreateDirectoryA((game + "\\Templates").c_str(), nullptr);
    std::ofstream(game + "\\Templates\\global.zul") << "ZUL";
    std::ofstream(game + "\\Templates\\extra.zul") << "ZUL";
    std::ofstream(game + "\\hosttree.txt") << "global.zul|Sword|20|Blades\nextra.zul|Orc|5|[-[none]-]\n";
    std::ofstream(game + "\\hostselection.txt") << "selected 1\norigin=1 2 3\nTEMPLATE=orc\n";

    THostRun run("things \"" + FullPath(game) + "\"", game + ".log");
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.WaitForLog("ApplyCallback")) << ReadFile(run.logName);
    HWND main = run.Window("Tarvel Host - things");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Finish(), 0u);

    std::string log = ReadFile(run.logName);
    EXPECT_NE(log.find("loaded tarvelThings.dll"), std::string::npos) << log;
    EXPECT_NE(log.find("_Version: 1"), std::string::npos);
    EXPECT_NE(log.find("template files sent: 1"), std::string::npos);
    EXPECT_NE(log.find("tree sent: 4 files, 2 templates"), std::string::npos);
    EXPECT_NE(log.find("PositionCallback:"), std::string::npos);
    EXPECT_NE(log.find("ApplyCallback: 2 pairs, selected 1, template \"Orc\""), std::string::npos);
    EXPECT_NE(log.find("ORIGIN = 1 2 3 (unchanged)"), std::string::npos);
}

TEST(TarvelHost, ScenesEditorOpensModallyAndQuits)
{
    std::string game = GameFolder();
    CreateDirectoryA((game + "\\Chronicles").c_str(), nullptr);
    std::ofstream(game + "\\Chronicles\\act1.rix") << "[Cave]\nSHORTDESC=A\n[Bridge]\n";

    THostRun run("scenes \"" + FullPath(game) + "\" act1", game + ".log");
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.WaitForLog("_ShowModal ...")) << ReadFile(run.logName);
    HWND editor = run.Window("Scene Editor");
    ASSERT_NE(editor, nullptr);
    // Quit, the fifth button of the editor's tool bar, reports its click to the editor as
    // WM_COMMAND with the button's command (they count from 1).
    HWND bar = FindWindowExA(editor, nullptr, TOOLBARCLASSNAMEA, nullptr);
    ASSERT_NE(bar, nullptr);
    PostMessageA(editor, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), (LPARAM)bar);
    ASSERT_TRUE(run.WaitForLog("_ShowModal: 2")) << ReadFile(run.logName);
    PostMessageA(run.Window("Tarvel Host - scenes"), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Finish(), 0u);

    std::string log = ReadFile(run.logName);
    EXPECT_NE(log.find("loaded tarvelScenes.dll"), std::string::npos) << log;
    EXPECT_NE(log.find("scenes sent: 2 stored scenes of act1"), std::string::npos);
    EXPECT_NE(log.find("CloseCallback"), std::string::npos);
    EXPECT_LT(log.find("CloseCallback"), log.find("_ShowModal: 2"));
}

TEST(TarvelHost, UnknownPanelIsRefused)
{
    THostRun run("nothing", "unknown.log");
    ASSERT_TRUE(run.started);
    // The usage message box waits for an answer: close it like a user.
    HWND box = run.Window("Cannot start host...");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Finish(), 2u);
}
