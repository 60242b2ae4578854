// Pack archives (.vop) through the file layer: the layer started in a folder that holds the
// archive (its scan indexes it), then every entry opened by name and read by every operation:
// whole reads, lines, wide lines, seeks from each origin, and two streams of one entry read in
// turn.
#include <string>
#include <vector>

#include "fuzzSupport.h"
#include "stdFile.h"
#include "stdVop.h"

namespace {

const char kFile[] = "fuzz.vop";
const int kMaxEntries = 64;

void ReadEverything(const char* name)
{
    stdFileHandle a = stdFile_Open(name, "rb", STDFILE_TYPE_ANIM);
    if (!a) return;
    char buffer[64];
    uint16_t wide[16];
    while (stdFile_Read(buffer, 7, 1, a) && !stdFile_Eof(a)) stdFile_Tell(a);
    stdFile_Seek(a, 0, 0);
    while (stdFile_Gets(buffer, 16, a)) stdFile_Tell(a);
    const long seeks[][2] = {{-3, 1}, {-5, 2}, {1, 0}, {0, 2}, {3, 7}};
    for (const auto& seek : seeks) {
        stdFile_Seek(a, seek[0], (int)seek[1]);
        stdFile_GetsWide(wide, 8, a);
        stdFile_Read(buffer, 2, 5, a);
        stdFile_Eof(a);
    }
    stdFile_Seek(a, 0, 0);
    stdFileHandle b = stdFile_Open(name, "rb", STDFILE_TYPE_ANIM);
    for (int turn = 0; b && turn < 8; turn++) {
        stdFile_Read(buffer, 1, 5, turn % 2 ? a : b);
        stdFile_Gets(buffer, 9, turn % 2 ? b : a);
    }
    stdFile_Close(b);
    stdFile_Close(a);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteInput(kFile, data, size);
    fuzz::Scope scope(size);
    stdFile_Startup();
    // The entries' names, from an archive record of the target's own.
    std::vector<std::string> names;
    if (stdVop* vop = stdVop_Open(kFile, 1)) {
        for (uint32_t i = 0; i < vop->numEntries && i < kMaxEntries; i++) names.push_back(vop->pEntries[i].name);
        stdVop_Close(vop);
    }
    char path[STDFILE_PATH_SIZE];
    for (const std::string& name : names) {
        ReadEverything(name.c_str());
        stdFile_Resolve(name.c_str(), STDFILE_TYPE_ANIM, path);
    }
    stdFile_Shutdown();
    return 0;
}
