// Indexing a pack archive (stdVop_Open and stdVop_Close) beside bare baselines run in the same
// process on the same file: a walk of the central directory, read in one piece, that only counts
// the entries; the same walk filling a hash map with the lowered names; and a seek and a read for
// each local header. The archives are written here in the layout of Python's zipfile (stored
// entries without extra fields, then the central directory and the end record), with names in
// a few folders and small entries. The four take turns in each of several rounds; a time is the
// median over the rounds, a ratio the median of the archive's time over the baseline's, round
// by round.
#include <windows.h>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "fixtureZip.h"
#include "stdVop.h"

namespace {

const int kRuns = 15;

double NowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Entry names as a game's archive holds them: models, textures and sounds in a few folders.
fixtures::ZipWriter MakeArchive(int count)
{
    const char* const folders[] = {"3D/Models/", "Materials/General/", "Ui/Icons/", "Sounds/Objects/"};
    const char* const extensions[] = {".qev", ".tga", ".tga", ".wav"};
    fixtures::ZipWriter zip;
    uint32_t seed = 12345;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        char name[96];
        std::snprintf(name, sizeof name, "%sItem_%05d%s", folders[i % 4], i, extensions[i % 4]);
        zip.Add(name, std::string(16 + (seed >> 16) % 200, static_cast<char>('a' + i % 26)));
    }
    return zip;
}

// The central directory's entries: each calls `visit` with the name and the local header's offset.
bool WalkCentralDirectory(const char* path,
                          const std::function<void(const char* name, size_t length, uint32_t offset)>& visit)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    uint8_t end[22];
    std::vector<uint8_t> directory;
    bool ok = std::fseek(file, -22, SEEK_END) == 0 && std::fread(end, 1, sizeof end, file) == sizeof end &&
              U32(end) == 0x06054B50;
    if (ok) {
        directory.resize(U32(end + 12));
        ok = std::fseek(file, static_cast<long>(U32(end + 16)), SEEK_SET) == 0 &&
             std::fread(directory.data(), 1, directory.size(), file) == directory.size();
    }
    std::fclose(file);
    size_t at = 0;
    while (ok && at + 46 <= directory.size() && U32(&directory[at]) == 0x02014B50) {
        const uint8_t* h = &directory[at];
        const size_t nameLength = U16(h + 28);
        const size_t next = at + 46 + nameLength + U16(h + 30) + U16(h + 32);
        if (next > directory.size())
            return false;
        visit(reinterpret_cast<const char*>(h + 46), nameLength, U32(h + 42));
        at = next;
    }
    return ok;
}

// The four ways, each run once per round; a run that fails ends the measuring.
struct TFigures {
    int entries = 0;
    bool ok = true;
    double time[4] = {};   // median over the rounds: cd walk, cd walk + hash, seek per header, stdVop
    double ratio[4] = {};  // median over the rounds of stdVop's time over each way's time
};

TFigures Measure(const char* path, int count)
{
    TFigures f;
    std::function<bool()> ways[4];
    ways[0] = [&] {
        int n = 0;
        bool ok = WalkCentralDirectory(path, [&](const char*, size_t, uint32_t) { ++n; });
        return ok && n == count;
    };
    ways[1] = [&] {
        std::unordered_map<std::string, uint32_t> map;
        bool ok = WalkCentralDirectory(path, [&](const char* name, size_t length, uint32_t offset) {
            std::string key(name, length);
            for (char& c : key)
                c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            map.emplace(std::move(key), offset);
        });
        return ok && map.size() == static_cast<size_t>(count);
    };
    // The simplest walk of the local headers: a seek and a read of the header and its name each.
    ways[2] = [&] {
        FILE* file = std::fopen(path, "rb");
        if (!file)
            return false;
        int n = 0;
        long p = 0;
        uint8_t h[30];
        char name[256];
        while (std::fseek(file, p, SEEK_SET) == 0 && std::fread(h, 1, 30, file) == 30 && U32(h) == 0x04034B50) {
            const size_t nameLength = U16(h + 26) < sizeof name ? U16(h + 26) : sizeof name;
            if (std::fread(name, 1, nameLength, file) != nameLength)
                break;
            p += 30 + U16(h + 26) + U16(h + 28) + static_cast<long>(U32(h + 18));
            ++n;
        }
        std::fclose(file);
        return n == count;
    };
    ways[3] = [&] {
        stdVop* vop = stdVop_Open(path, 32);
        if (!vop)
            return false;
        f.entries = static_cast<int>(vop->numEntries);
        return stdVop_Close(vop) == 1 && f.entries == count;
    };
    // A warm-up round, then rounds in which the ways take turns, so that a load that comes and
    // goes on the machine falls on all of them alike.
    std::vector<double> times[4], ratios[4];
    for (int round = -1; round < kRuns && f.ok; ++round) {
        double t[4];
        for (int w = 0; w < 4 && f.ok; ++w) {
            const double start = NowMs();
            f.ok = ways[w]();
            t[w] = NowMs() - start;
        }
        for (int w = 0; round >= 0 && f.ok && w < 4; ++w) {
            times[w].push_back(t[w]);
            ratios[w].push_back(t[3] / t[w]);
        }
    }
    for (int w = 0; f.ok && w < 4; ++w) {
        f.time[w] = Median(times[w]);
        f.ratio[w] = Median(ratios[w]);
    }
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    // Other counts may be named on the command line; an archive holds at most 20,000 entries.
    std::vector<int> counts = {1000, 20000};
    if (argc > 1) {
        counts.clear();
        for (int i = 1; i < argc; ++i)
            counts.push_back(std::atoi(argv[i]));
    }
    for (int count : counts)
        if (count < 1 || count > STDVOP_MAX_ENTRIES) {
            std::printf("entry counts run from 1 to %d\n", STDVOP_MAX_ENTRIES);
            return 1;
        }
    const char* path = "bench.vop";
    std::printf("Pack archive indexing: medians of %d rounds in ms; ratio = median of stdVop_Open and stdVop_Close\n"
                "over the way before it, round by round\n",
                kRuns);
    std::printf("%6s %9s | %8s %5s | %8s %5s | %9s %5s | %8s\n", "N", "bytes", "cd walk", "ratio", "cd+hash",
                "ratio", "seek/hdr", "ratio", "stdVop");
    int failures = 0;
    for (int count : counts) {
        const fixtures::Bytes bytes = MakeArchive(count).Build();
        if (!fixtures::WriteBytes(path, bytes)) {
            std::printf("cannot write %s\n", path);
            return 1;
        }
        const TFigures f = Measure(path, count);
        if (!f.ok) {
            std::printf("%6d: a run failed (stdVop indexed %d entries)\n", count, f.entries);
            ++failures;
            continue;
        }
        std::printf("%6d %9u | %8.2f %5.2f | %8.2f %5.2f | %9.2f %5.2f | %8.2f\n", count,
                    static_cast<unsigned>(bytes.size()), f.time[0], f.ratio[0], f.time[1], f.ratio[1], f.time[2],
                    f.ratio[2], f.time[3]);
        std::fflush(stdout);
    }
    DeleteFileA(path);
    return failures ? 1 : 0;
}
