// QevView.exe as a user starts it: in the sample game folder, its window activated, closed with
// Escape; and its failures, whose message boxes this test reads and answers.
#include <gtest/gtest.h>

#include <windows.h>

// The process memory counters from kernel32 (K32GetProcessMemoryInfo), not from psapi.dll.
#define PSAPI_VERSION 2
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fixtureChildProcess.h"
#include "fixtureFiles.h"
#include "fixtureViewerSample.h"
#include "fixtureTestFolder.h"

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string CurrentFolder()
{
    char path[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

struct SeenBox {
    std::string caption;
    std::string text;
};

struct ViewerRun {
    DWORD exitCode = STILL_ACTIVE;
    std::vector<SeenBox> boxes;
    bool bWindowSeen = false;
    // The process's peaks as last seen while it ran: memory in use, and memory committed
    // (a block that is allocated and never written shows in the second only).
    SIZE_T peakWorkingSet = 0;
    SIZE_T peakCommitted = 0;
};

struct FindContext {
    DWORD processId;
    HWND viewer;
    HWND box;
};

BOOL CALLBACK FindWindows(HWND window, LPARAM param)
{
    auto* context = (FindContext*)param;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != context->processId || !IsWindowVisible(window)) return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "Palvera") == 0) context->viewer = window;
    if (strcmp(className, "#32770") == 0) context->box = window;
    return TRUE;
}

// Starts the program in the current folder and drives it: message boxes are read and answered
// with OK; the viewer's window is brought to the front (there is no window manager to do it)
// and, when asked, left to draw for a while and sent Escape. Ends the process when it outlives
// the time limit.
ViewerRun RunViewer(const std::string& program, const std::string& arguments, bool bEscape)
{
    ViewerRun run;
    std::string line = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << program;
        return run;
    }
    DWORD activeSince = 0;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        PROCESS_MEMORY_COUNTERS memory = {};
        if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
            run.peakWorkingSet = std::max(run.peakWorkingSet, memory.PeakWorkingSetSize);
            run.peakCommitted = std::max(run.peakCommitted, memory.PeakPagefileUsage);
        }
        if (GetTickCount() - start > fixtures::kChildProcessLimitMs) {
            ADD_FAILURE() << "the viewer did not end";
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
        FindContext found = {process.dwProcessId, nullptr, nullptr};
        EnumWindows(FindWindows, (LPARAM)&found);
        if (found.box) {
            char caption[128] = {}, text[256] = {};
            GetWindowTextA(found.box, caption, sizeof caption);
            GetDlgItemTextA(found.box, 0xFFFF, text, sizeof text);
            run.boxes.push_back({caption, text});
            PostMessageA(found.box, WM_COMMAND, IDOK, 0);
            Sleep(200);
        } else if (found.viewer) {
            run.bWindowSeen = true;
            if (!activeSince) {
                // Other test programs share the display: the viewer goes on top.
                SetWindowPos(found.viewer, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                SetForegroundWindow(found.viewer);
                // Wine may keep the foreground with this program; the viewer then hears of its
                // activation from us, as a window manager would tell it.
                if (GetForegroundWindow() != found.viewer)
                    PostMessageA(found.viewer, WM_ACTIVATE, WA_ACTIVE, 0);
                activeSince = GetTickCount();
            } else if (bEscape && GetTickCount() - activeSince > 2000) {
                PostMessageA(found.viewer, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                activeSince = GetTickCount();   // again after a while, should the first be lost
            }
        }
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

class QevViewProgram : public testing::Test {
protected:
    QevViewProgram() : work(fixtures::TestFolderName()) {}
    void SetUp() override { ASSERT_TRUE(fixtures::WriteViewerSample("")); }

    // The viewer and a raster library side by side in a folder of the case.
    std::string InstallViewer(const char* rasterLibrary)
    {
        const std::string bin = ProgramFolder(), folder = CurrentFolder() + "\\program";
        CreateDirectoryA(folder.c_str(), nullptr);
        EXPECT_TRUE(CopyFileA((bin + "\\QevView.exe").c_str(), (folder + "\\QevView.exe").c_str(), FALSE));
        EXPECT_TRUE(CopyFileA((bin + "\\" + rasterLibrary).c_str(), (folder + "\\blitvane.dll").c_str(), FALSE));
        return folder + "\\QevView.exe";
    }

    fixtures::WorkFolder work;
};

TEST_F(QevViewProgram, EscapeEndsTheViewerWithZeroAndTheSettingsAreWritten)
{
    ViewerRun run = RunViewer(InstallViewer("blitvane.dll"), "-model totem.qev -anim turn.jup", true);
    EXPECT_TRUE(run.bWindowSeen);
    EXPECT_TRUE(run.boxes.empty()) << (run.boxes.empty() ? "" : run.boxes[0].text);
    EXPECT_EQ(0u, run.exitCode);
    const auto ini = fixtures::ReadBytes("palvera.ini");
    const std::string text(ini.begin(), ini.end());
    EXPECT_NE(std::string::npos, text.find("[render]")) << text;
    EXPECT_NE(std::string::npos, text.find("blitvane.dll")) << text;
}

TEST_F(QevViewProgram, HostileUiFilesLeaveTheViewerRunningInItsUsualMemory)
{
    // The game folder's font cut short in the fields the loader owns (its pointer field holding
    // file bytes), or claiming a 64 MB glyph bitmap it does not hold; the UI script's status
    // textbox made 16384 x 16384 without a picture, its strip quad at the largest position and
    // a quad of the most negative width. The viewer runs on, shows no message and stays within
    // 128 MB of its peaks with the sound files, the larger of a run before and a run after the
    // damaged ones. The peaks include an emulator's own memory where wine runs under one, and
    // one run of the same files has come out over 100 MB below the next; the faults this guards
    // against took 512 MB. Smaller claims are counted exactly by the heap watch of the loaders'
    // own tests (StdFont.NoGlyphBitmapIsAllocatedBeforeTheFileIsKnownToHoldIt).
    const std::string viewer = InstallViewer("blitvane.dll");
    const char arguments[] = "-model totem.qev -anim turn.jup";
    const fixtures::Bytes font = fixtures::ReadBytes("Ui\\defaultFont15.yub");
    const fixtures::Bytes script = fixtures::ReadBytes("Ui\\qevview.wix");
    ViewerRun sound = RunViewer(viewer, arguments, true);
    ASSERT_TRUE(sound.bWindowSeen);
    ASSERT_EQ(0u, sound.exitCode);
    ASSERT_GT(sound.peakWorkingSet, 0u);
    ASSERT_GT(sound.peakCommitted, 0u);
    ASSERT_GT(font.size(), 6196u);
    std::string text(script.begin(), script.end());
    for (auto [from, to] : {std::pair<std::string, std::string>{"size=464,24 bitmap=qvstatus.tga", "size=16384,16384"},
                            {"quad pos=136,0", "quad pos=2147483647,0"}}) {
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    }
    text += "quad pos=0,100 size=-2147483648,32 mat=qvstrip.tga\n";
    // Cut after the pointer field, which holds text ("AAAA").
    fixtures::Bytes cut(font.begin(), font.begin() + 6170);
    for (size_t i = 6152; i < 6156; i++) cut[i] = 0x41;
    fixtures::Bytes claims(font.begin(), font.begin() + 6196);
    claims[4] = 0x00, claims[5] = 0x10, claims[6] = 0, claims[7] = 0;           // pitch 4096
    claims[6192] = 0x00, claims[6193] = 0x40, claims[6194] = 0, claims[6195] = 0;  // rows 16384
    struct Damage {
        const char* what;
        fixtures::Bytes font;
        std::string script;
    };
    const std::string soundScript(script.begin(), script.end());
    const Damage damages[] = {{"font cut short, huge textbox, quads at the extremes", cut, text},
                              {"font claiming 64 MB", claims, soundScript}};
    const SIZE_T allowance = 128u << 20;
    auto describe = [](const char* what, const ViewerRun& run) {
        return std::string(what) + ": " + std::to_string(run.peakWorkingSet >> 10) + " KB in use, " +
               std::to_string(run.peakCommitted >> 10) + " KB committed";
    };
    std::string figures = describe("sound", sound);
    std::vector<ViewerRun> damaged;
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        ASSERT_TRUE(fixtures::WriteBytes("Ui\\defaultFont15.yub", d.font));
        ASSERT_TRUE(fixtures::WriteText("Ui\\qevview.wix", d.script));
        damaged.push_back(RunViewer(viewer, arguments, true));
        const ViewerRun& run = damaged.back();
        EXPECT_TRUE(run.bWindowSeen);
        EXPECT_TRUE(run.boxes.empty()) << (run.boxes.empty() ? "" : run.boxes[0].text);
        EXPECT_EQ(0u, run.exitCode);
        figures += "; " + describe(d.what, run);
    }
    ASSERT_TRUE(fixtures::WriteBytes("Ui\\defaultFont15.yub", font));
    ASSERT_TRUE(fixtures::WriteBytes("Ui\\qevview.wix", script));
    const ViewerRun soundAgain = RunViewer(viewer, arguments, true);
    ASSERT_EQ(0u, soundAgain.exitCode);
    figures += "; " + describe("sound again", soundAgain);
    sound.peakWorkingSet = std::max(sound.peakWorkingSet, soundAgain.peakWorkingSet);
    sound.peakCommitted = std::max(sound.peakCommitted, soundAgain.peakCommitted);
    for (size_t i = 0; i < damaged.size(); i++) {
        SCOPED_TRACE(damages[i].what);
        EXPECT_LE(damaged[i].peakWorkingSet, sound.peakWorkingSet + allowance) << figures;
        EXPECT_LE(damaged[i].peakCommitted, sound.peakCommitted + allowance) << figures;
    }
    RecordProperty("peaks", figures);
    printf("%s\n", figures.c_str());
}

TEST_F(QevViewProgram, MissingModelShowsTheMessageAndEndsWithOne)
{
    ViewerRun run = RunViewer(InstallViewer("blitvane.dll"), "-model nowhere.qev", false);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ("Error", run.boxes[0].caption);
    EXPECT_EQ("Problem with command line parameters", run.boxes[0].text);
    EXPECT_EQ(1u, run.exitCode);
}

TEST_F(QevViewProgram, WrongRasterLibraryShowsBothMessagesAndEndsWithOne)
{
    ViewerRun run = RunViewer(InstallViewer("test_raster_v13.dll"), "-model totem.qev", false);
    ASSERT_EQ(2u, run.boxes.size());
    EXPECT_EQ("Wrong Raster DLL version.", run.boxes[0].text);
    EXPECT_EQ("Error", run.boxes[0].caption);
    EXPECT_EQ("Problem with command line parameters", run.boxes[1].text);
    EXPECT_EQ("Error", run.boxes[1].caption);
    EXPECT_EQ(1u, run.exitCode);
}

}  // namespace
