// Open, save, close and exit of large template files in the editor's main window, each beside a
// bare baseline run in the same process: open against reading the file, finding each template's
// parent, sorting, and putting into a bare tree control the items the editor shows of a file it
// opened (the file's item, unfolded, and its top-level templates, those with children marked
// as such); save against writing the same bytes to a temporary file and renaming it; close
// against deleting the file's item once. Every figure is the median of five runs; the ratio is
// the editor's figure over the baseline's.
#include "Compare.h"
#include "Hooks.h"
#include "MainWindow.h"
#include "ZULData.h"
#include "ZulBuilder.h"
#include "bench.h"
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const int kRuns = 5;

// A message box would wait for a person: every one is answered No (or OK) and counted.
class CountingHooks : public TModalHooks {
public:
    int ShowMessageBox(const TMessageBoxRequest& request) override
    {
        std::printf("  message box: %s (%s)\n", request.text.c_str(), request.caption.c_str());
        ++count;
        return request.buttons == MB_OK ? IDOK : IDNO;
    }
    int count = 0;
};

// ---- the files ----

enum TShape { shapeSorted, shapeShuffled, shapeChildrenFirst };
const char* const kShapeNames[] = {"sorted", "shuffled", "children first"};

// Chains of ten: template i has template i - 1 as parent unless i is a multiple of ten. Sorted
// names are in order in the directory; shuffled names are not; children first also lists every
// child before its parent, so the whole file hangs below its root.
zultest::Bytes MakeFile(int count, TShape shape)
{
    std::vector<int> key(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        key[static_cast<size_t>(i)] = i;
    if (shape != shapeSorted)
        std::shuffle(key.begin(), key.end(), std::mt19937(12345u + static_cast<unsigned>(count)));
    auto name = [&key](int i) {
        char text[16];
        std::snprintf(text, sizeof text, "t%06d", key[static_cast<size_t>(i)]);
        return std::string(text);
    };
    std::vector<zultest::Template> templates;
    templates.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        templates.push_back(zultest::Tpl(name(i), i % 10 ? name(i - 1) : "",
                                         {zultest::IntTag(3, static_cast<uint32_t>(i)), zultest::FloatTag(5, 0.5f)},
                                         "a template\r\nof the bench\r\n"));
    if (shape == shapeChildrenFirst)
        std::reverse(templates.begin(), templates.end());
    return zultest::BuildZul(templates);
}

// ---- the bare baselines ----

struct TBareTree {
    HWND parent = nullptr;
    HWND tree = nullptr;
    HIMAGELIST images = nullptr;
    HTREEITEM root = nullptr;

    TBareTree()
    {
        parent = CreateWindowExA(0, "STATIC", "bare", WS_OVERLAPPEDWINDOW, 0, 0, 300, 500, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                               WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                   TVS_SHOWSELALWAYS,
                               0, 0, 300, 500, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        images = ImageList_Create(16, 16, ILC_COLOR32, 3, 0);
        SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    }
    ~TBareTree()
    {
        DestroyWindow(parent);
        ImageList_Destroy(images);
    }

    // An item with children not inserted yet shows its expand button all the same.
    HTREEITEM Insert(HTREEITEM under, const char* text, int image, bool hasChildren)
    {
        TVINSERTSTRUCTA ins = {};
        ins.hParent = under;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
        ins.item.pszText = const_cast<char*>(text);
        ins.item.iImage = image;
        ins.item.iSelectedImage = image;
        ins.item.cChildren = hasChildren ? 1 : 0;
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    }
};

uint32_t U32(const zultest::Bytes& b, size_t at)
{
    uint32_t v = 0;
    if (at + 4 <= b.size())
        std::memcpy(&v, b.data() + at, 4);
    return v;
}

std::string Field(const zultest::Bytes& b, size_t at)
{
    if (at + 32 > b.size())
        return "";
    const char* p = reinterpret_cast<const char*>(b.data() + at);
    return std::string(p, strnlen(p, 32));
}

// Reads the file, finds each template's parent among those before it, sorts every level and
// inserts what the editor shows of a file it opened: the file's item, selected and unfolded,
// and the top-level templates below it. The least that gives the same items.
void BareOpen(const std::string& path, TBareTree& bare)
{
    const zultest::Bytes b = zultest::ReadBytes(path);
    const size_t count = U32(b, 8);
    std::vector<std::string> names(count);
    std::vector<size_t> parentOf(count, count);
    std::unordered_map<std::string, size_t> earlier;
    for (size_t i = 0; i < count; ++i) {
        names[i] = Field(b, 12 + 36 * i);
        const size_t body = U32(b, 12 + 36 * i + 32);
        const size_t tags = U32(b, body);
        for (size_t t = 0; t < tags; ++t)
            if (U32(b, body + 4 + 36 * t) == 0) {
                const auto found = earlier.find(LowerTextAscii(Field(b, body + 8 + 36 * t)));
                if (found != earlier.end())
                    parentOf[i] = found->second;
                break;
            }
        earlier.emplace(LowerTextAscii(names[i]), i);
    }
    std::vector<std::vector<size_t>> children(count + 1);
    for (size_t i = 0; i < count; ++i)
        children[parentOf[i]].push_back(i);
    for (std::vector<size_t>& list : children)
        std::stable_sort(list.begin(), list.end(),
                         [&names](size_t x, size_t y) { return CompareTextStable(names[x], names[y]) < 0; });
    SendMessageA(bare.tree, WM_SETREDRAW, FALSE, 0);
    bare.root = bare.Insert(TVI_ROOT, "bench.zul", 0, count > 0);
    for (size_t i : children[count])
        bare.Insert(bare.root, names[i].c_str(), 2, !children[i].empty());
    SendMessageA(bare.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(bare.root));
    SendMessageA(bare.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(bare.root));
    SendMessageA(bare.tree, WM_SETREDRAW, TRUE, 0);
}

bool BareSave(const zultest::Bytes& bytes, const std::string& path)
{
    const std::string temp = path + ".saving";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), bytes.size(), 1, f) == 1 && std::fclose(f) == 0;
    return ok && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// ---- the editor ----

std::unique_ptr<TMainWindow> MakeWindow(const std::string& folder)
{
    auto window = std::make_unique<TMainWindow>();
    window->SetProgramFolder(folder);
    window->SetRegistryKey("Software\\Korbalt\\ZulEditorBench");
    if (!window->Create())
        return nullptr;
    window->FormActivate();
    return window;
}

struct TFigures {
    double open = 0, bareOpen = 0, save = 0, bareSave = 0, close = 0, bareClose = 0, exit = 0;
};

TFigures Measure(const std::string& folder, const std::string& path, const zultest::Bytes& bytes)
{
    std::vector<double> open, bareOpen, save, bareSave, close, bareClose, exitTimes;
    const std::string barePath = folder + "\\bare.zul";
    for (int run = 0; run < kRuns; ++run) {
        zultest::WriteBytes(path, bytes);
        auto window = MakeWindow(folder);
        double t = 1000 * bench_Seconds();
        TZULFile* file = window->OpenZULFile(path, false);
        open.push_back(1000 * bench_Seconds() - t);
        if (!file)
            return {};
        t = 1000 * bench_Seconds();
        window->TBZULSaveClick();
        save.push_back(1000 * bench_Seconds() - t);
        t = 1000 * bench_Seconds();
        window->TBZULCloseClick();
        close.push_back(1000 * bench_Seconds() - t);
        // Exit with the file open: the main window goes as the program ends.
        window->OpenZULFile(path, false);
        t = 1000 * bench_Seconds();
        window.reset();
        exitTimes.push_back(1000 * bench_Seconds() - t);

        const zultest::Bytes saved = zultest::ReadBytes(path);
        TBareTree bare;
        t = 1000 * bench_Seconds();
        BareOpen(path, bare);
        bareOpen.push_back(1000 * bench_Seconds() - t);
        t = 1000 * bench_Seconds();
        BareSave(saved, barePath);
        bareSave.push_back(1000 * bench_Seconds() - t);
        t = 1000 * bench_Seconds();
        SendMessageA(bare.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(bare.root));
        bareClose.push_back(1000 * bench_Seconds() - t);
    }
    return {bench_Median(open), bench_Median(bareOpen), bench_Median(save), bench_Median(bareSave),
            bench_Median(close), bench_Median(bareClose), bench_Median(exitTimes)};
}

}  // namespace

int main(int argc, char** argv)
{
    InitCommonControls();
    CountingHooks hooks;
    SetModalHooks(&hooks);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const std::string folder = current;
    const std::string path = folder + "\\bench.zul";
    // Other counts may be named on the command line; growth is shown for the last two.
    std::vector<int> counts = {1000, 10000, 50000};
    if (argc > 1) {
        counts.clear();
        for (int i = 1; i < argc; ++i)
            counts.push_back(std::atoi(argv[i]));
    }

    std::printf("Template editor: median of %d runs in ms, ratio = editor / bare baseline\n", kRuns);
    std::printf("%-15s %6s | %8s %8s %5s | %7s %7s %5s | %8s %8s %5s | %8s\n", "file", "N", "open", "bare",
                "ratio", "save", "bare", "ratio", "close", "bare", "ratio", "exit");
    for (int shape = shapeSorted; shape <= shapeChildrenFirst; ++shape) {
        std::vector<TFigures> rows;
        for (int count : counts) {
            const TFigures f = Measure(folder, path, MakeFile(count, static_cast<TShape>(shape)));
            rows.push_back(f);
            std::printf("%-15s %6d | %8.1f %8.1f %5.2f | %7.1f %7.1f %5.2f | %8.1f %8.1f %5.2f | %8.1f\n",
                        kShapeNames[shape], count, f.open, f.bareOpen, f.open / f.bareOpen, f.save, f.bareSave,
                        f.save / f.bareSave, f.close, f.bareClose, f.close / f.bareClose, f.exit);
            std::fflush(stdout);
        }
        if (rows.size() < 2)
            continue;
        // Growth between the last two counts: from 10,000 to 50,000 templates 5 is linear, 25 quadratic.
        const TFigures& a = rows[rows.size() - 2];
        const TFigures& b = rows.back();
        std::printf("%-15s growth x%.0f    | open %.1f (bare %.1f) | save %.1f (bare %.1f) | close %.1f (bare "
                    "%.1f) | exit %.1f\n",
                    kShapeNames[shape], static_cast<double>(counts.back()) / counts[counts.size() - 2], b.open / a.open, b.bareOpen / a.bareOpen, b.save / a.save,
                    b.bareSave / a.bareSave, b.close / a.close, b.bareClose / a.bareClose, b.exit / a.exit);
        std::fflush(stdout);
    }
    if (hooks.count)
        std::printf("%d message boxes were answered: the figures include them\n", hooks.count);
    DeleteFileA(path.c_str());
    DeleteFileA((folder + "\\bare.zul").c_str());
    return 0;
}
