// The host's side of the things panel: the game folder's template files, the template tree
// and a selection of things, read from the sample files "hosttree.txt" and
// "hostselection.txt" of the game folder in place of the level editor's own data.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>
#include "HostThings.h"
#include "Host.h"
#include "ThingsRecords.h"

namespace {

struct {
    int (*Version)(void);
    HWND (*CreateAsChild)(HWND);
    void (*Position)(int, int, int, int);
    BOOL (*Show)(void);
    void (*SetTemplateFilesInfo)(const void*);
    void (*GetTemplateFilesInfo)(void*);
    void (*SetThingsInfo)(const ThingsInfo*);
    void (*GetThingsInfo)(ThingsInfo*);
    void (*AddTemplate)(const char*, int, const char*);
    void (*BeginAddTemplates)(const char*);
    void (*EndAddTemplates)(const char*);
    const char* (*GetSelectedTemplate)(void);
    void (*SetBaseDir)(const char*);
    void (*RegisterClose)(ThingsCloseCallback);
    void (*RegisterApply)(ThingsApplyCallback);
    void (*RegisterPosition)(ThingsPositionCallback);
    void (*RegisterDoubleClick)(ThingsTemplateDoubleClickCallback);
    void (*RegisterFiles)(ThingsTemplateFilesCallback);
} api;

constexpr int HOST_TEMPLATE_FILES = 32;  // the host's record has room for 32 names
struct HostTemplateFiles {
    uint32_t count;
    char name[HOST_TEMPLATE_FILES][32];
};

const char* const defaultFiles[] = {"global.zul", "Umberfell.zul", "Brightwick.zul"};
std::vector<std::string> extraFiles;
HWND panelWindow = nullptr;

std::string GamePath(const char* name) { return host.gameFolder + "\\" + name; }

void BuildTree()
{
    std::vector<std::string> files(std::begin(defaultFiles), std::end(defaultFiles));
    files.insert(files.end(), extraFiles.begin(), extraFiles.end());
    struct Line {
        std::string file, name, sub;
        int category;
    };
    std::vector<Line> lines;
    std::ifstream in(GamePath("hosttree.txt"));
    std::string text;
    while (std::getline(in, text)) {
        char file[64] = {}, name[64] = {}, sub[64] = {};
        int category = 0;
        if (std::sscanf(text.c_str(), "%63[^|]|%63[^|]|%d|%63[^\r\n]", file, name, &category, sub) == 4)
            lines.push_back({file, name, sub, category});
    }
    api.BeginAddTemplates("...");
    int count = 0;
    for (const std::string& f : files) {
        api.BeginAddTemplates(f.c_str());
        for (const Line& l : lines)
            if (_stricmp(l.file.c_str(), f.c_str()) == 0) {
                api.AddTemplate(l.name.c_str(), l.category, l.sub.c_str());
                count++;
            }
        api.EndAddTemplates(f.c_str());
    }
    api.EndAddTemplates("...");
    Host_Log("tree sent: %d files, %d templates", (int)files.size(), count);
}

void SendTemplateFiles()
{
    HostTemplateFiles info = {};
    for (const std::string& f : extraFiles) {
        if (info.count >= HOST_TEMPLATE_FILES)
            break;
        std::strncpy(info.name[info.count++], f.c_str(), 32);
    }
    api.SetTemplateFilesInfo(&info);
    Host_Log("template files sent: %u", info.count);
}

void FindExtraTemplateFiles()
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(GamePath("Templates\\*.zul").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        bool isDefault = false;
        for (const char* d : defaultFiles)
            isDefault |= _stricmp(d, fd.cFileName) == 0;
        if (!isDefault)
            extraFiles.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

void SendSelection()
{
    std::unique_ptr<ThingsInfo> info(new ThingsInfo());
    std::ifstream in(GamePath("hostselection.txt"));
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        unsigned selected = 0;
        if (std::sscanf(text.c_str(), "selected %u", &selected) == 1) {
            info->selectedCount = selected;
            continue;
        }
        size_t eq = text.find('=');
        if (eq == std::string::npos || info->pairCount >= THINGS_MAX_PAIRS)
            continue;
        uint32_t i = info->pairCount++;
        std::strncpy(info->key[i], text.substr(0, eq).c_str(), THINGS_TEXT_LEN - 1);
        std::strncpy(info->value[i], text.substr(eq + 1).c_str(), THINGS_TEXT_LEN - 1);
        info->flag[i] = 1 | (i % 2 ? 2 : 0);
    }
    api.SetThingsInfo(info.get());
    Host_Log("selection sent: %u things, %u pairs", info->selectedCount, info->pairCount);
}

// ---- callbacks: each fetches what changed with the matching get export ----

void OnClose() { Host_Log("CloseCallback"); }

// Fetches the pairs with _GetThingsInfo and logs them after `what`: the callback that asked for
// them, or the host's own reading.
void FetchPairs(const char* what)
{
    static const char* const codes[] = {"unchanged", "changed", "added", "deleted"};
    std::unique_ptr<ThingsInfo> info(new ThingsInfo());
    api.GetThingsInfo(info.get());
    Host_Log("%s: %u pairs, selected %u, template \"%.32s\"", what, info->pairCount, info->selectedCount,
             info->selectedTemplate);
    for (uint32_t i = 0; i < info->pairCount && i < THINGS_MAX_PAIRS; i++)
        Host_Log("  %.127s = %.127s (%s)", info->key[i], info->value[i],
                 info->flag[i] < 4 ? codes[info->flag[i]] : "?");
}

void OnApply() { FetchPairs("ApplyCallback"); }

void OnPosition(int left, int top, int width, int height)
{
    Host_Log("PositionCallback: %d, %d, %d x %d", left, top, width, height);
}

void OnDoubleClick() { Host_Log("TemplateDoubleClickCallback: \"%s\"", api.GetSelectedTemplate()); }

void OnTemplateFiles()
{
    HostTemplateFiles info = {};
    api.GetTemplateFilesInfo(&info);
    extraFiles.clear();
    for (uint32_t i = 0; i < info.count && i < HOST_TEMPLATE_FILES; i++)
        extraFiles.push_back(std::string(info.name[i], strnlen(info.name[i], 32)));
    Host_Log("TemplateFilesCallback: %u files", info.count);
    BuildTree();
}

}  // namespace

bool HostThings_Start()
{
    bool ok = Host_Bind(api.Version, "_Version") & Host_Bind(api.CreateAsChild, "_CreateAsChild") &
              Host_Bind(api.Position, "_Position") & Host_Bind(api.Show, "_Show") &
              Host_Bind(api.SetTemplateFilesInfo, "_SetTemplateFilesInfo") &
              Host_Bind(api.GetTemplateFilesInfo, "_GetTemplateFilesInfo") &
              Host_Bind(api.SetThingsInfo, "_SetThingsInfo") & Host_Bind(api.GetThingsInfo, "_GetThingsInfo") &
              Host_Bind(api.AddTemplate, "_AddTemplate") & Host_Bind(api.BeginAddTemplates, "_BeginAddTemplates") &
              Host_Bind(api.EndAddTemplates, "_EndAddTemplates") &
              Host_Bind(api.GetSelectedTemplate, "_GetSelectedTemplate") & Host_Bind(api.SetBaseDir, "_SetBaseDir") &
              Host_Bind(api.RegisterClose, "_RegisterCloseCallback") &
              Host_Bind(api.RegisterApply, "_RegisterApplyCallback") &
              Host_Bind(api.RegisterPosition, "_RegisterPositionCallback") &
              Host_Bind(api.RegisterDoubleClick, "_RegisterTemplateDoubleClickCallback") &
              Host_Bind(api.RegisterFiles, "_RegisterTemplateFilesCallback");
    if (!ok || !(panelWindow = Host_CreatePanel(api.Version, api.CreateAsChild, api.SetBaseDir)))
        return false;
    api.RegisterClose(OnClose);
    api.RegisterApply(OnApply);
    api.RegisterPosition(OnPosition);
    api.RegisterDoubleClick(OnDoubleClick);
    api.RegisterFiles(OnTemplateFiles);
    FindExtraTemplateFiles();
    SendTemplateFiles();
    BuildTree();
    HostThings_Layout();
    Host_Log("_Show: %d", api.Show());
    SendSelection();
    // What the panel hands back before any edit, read by the host itself: no callback came.
    FetchPairs("host reads the pairs back (_GetThingsInfo, no callback)");
    return true;
}

void HostThings_Layout()
{
    if (!panelWindow)
        return;
    RECT r = host.PanelArea();
    api.Position(r.left, r.top, r.right, r.bottom);
}
