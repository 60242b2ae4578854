#include "stdVop.h"

#include <cstdlib>
#include <cstring>

#include "stdHash.h"
#include "stdString.h"

namespace {

const uint32_t kLocalSignature = 0x04034B50;
const uint32_t kHeaderSize = 30;
const uint16_t kFlagEncrypted = 0x1;
const uint16_t kFlagDataDescriptor = 0x8;

uint16_t U16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return (uint32_t)(p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24); }

// The local headers are read in blocks and walked in memory. A seek and a read for each header
// would cost a whole buffer fill of the runtime per entry, since every seek empties its buffer.
const uint32_t kBlockSize = STDVOP_READ_BLOCK;
// Where a header lies a block or more beyond the bytes in hand, the entries are large: a block
// read there would bring mostly data, so a smaller one fetches that header.
const uint32_t kSparseReadSize = 4 * 1024;
static_assert(kHeaderSize + STDVOP_NAME_SIZE <= kSparseReadSize, "a header and its name fit one read");

struct HeaderBlock {
    FILE* pFile;
    uint32_t fileSize;
    uint64_t start;   // file offset of bytes[0]
    uint32_t length;  // bytes of the file in hand
    uint8_t bytes[kBlockSize];
};

HeaderBlock g_headerBlock;  // the walk's work buffer; an archive is indexed within one call

// The file's bytes [at, at + n), read into the block when they are not in hand; null when the
// file does not hold them all.
const uint8_t* BlockBytes(HeaderBlock* b, uint64_t at, uint32_t n)
{
    if (n > kBlockSize || at + n > b->fileSize) return nullptr;
    uint64_t end = b->start + b->length;
    if (at >= b->start && at + n <= end) return b->bytes + (at - b->start);
    uint32_t want = at >= end + kBlockSize ? kSparseReadSize : kBlockSize;
    if (want < n) want = n;
    if (want > b->fileSize - at) want = (uint32_t)(b->fileSize - at);
    b->length = 0;
    if (fseek(b->pFile, (long)at, SEEK_SET) != 0) return nullptr;
    size_t got = fread(b->bytes, 1, want, b->pFile);
    b->start = at;
    b->length = (uint32_t)got;
    return got >= n ? b->bytes : nullptr;
}

// Walks the local headers from offset 0 and hands every usable entry to `visit` (header
// offset, name length, data offset, size) until it answers 0. Only stored, unencrypted entries
// whose sizes agree and whose names and data lie within the file are usable; a header or data
// that runs past the end of the file ends the walk.
template <class Visit> void WalkHeaders(stdVop* vop, Visit visit)
{
    HeaderBlock* block = &g_headerBlock;
    block->pFile = vop->pFile;
    block->fileSize = vop->fileSize;
    block->start = 0;
    block->length = 0;
    uint64_t p = 0;
    for (uint32_t walked = 0; walked < STDVOP_MAX_ENTRIES; walked++) {
        const uint8_t* h = BlockBytes(block, p, kHeaderSize);
        if (!h || U32(h) != kLocalSignature) break;
        uint16_t flags = U16(h + 6);
        uint16_t method = U16(h + 8);
        uint32_t compressed = U32(h + 18);
        uint32_t uncompressed = U32(h + 22);
        uint16_t nameLength = U16(h + 26);
        uint16_t extraLength = U16(h + 28);
        uint64_t dataOffset = p + kHeaderSize + nameLength + extraLength;
        uint64_t dataEnd = dataOffset + compressed;
        if (dataEnd > vop->fileSize) break;

        int usable = method == 0 && compressed == uncompressed &&
                     !(flags & (kFlagEncrypted | kFlagDataDescriptor)) &&
                     nameLength < STDVOP_NAME_SIZE;
        if (usable && !visit(p, nameLength, (uint32_t)dataOffset, compressed)) break;
        p = dataEnd;
    }
}

// Indexes the archive's entries into a table allocated once: a first walk counts them and a
// second fills the table. Walking the headers again in blocks costs less than a table grown
// entry by entry, which is copied at every growth.
int IndexEntries(stdVop* vop)
{
    uint32_t count = 0;
    WalkHeaders(vop, [&](uint64_t, uint16_t, uint32_t, uint32_t) {
        count++;
        return 1;
    });
    if (count == 0) return 1;
    stdVopEntry* entries = (stdVopEntry*)calloc(count, sizeof(stdVopEntry));
    if (!entries) return 0;
    uint32_t filled = 0;
    WalkHeaders(vop, [&](uint64_t header, uint16_t nameLength, uint32_t offset, uint32_t size) {
        const uint8_t* named = BlockBytes(&g_headerBlock, header, kHeaderSize + nameLength);
        if (!named) return 0;
        stdVopEntry* e = &entries[filled++];
        memcpy(e->name, named + kHeaderSize, nameLength);
        for (char* c = e->name; *c; c++) {
            if (*c == '/') *c = '\\';
        }
        stdString_ToLower(e->name);
        e->offset = offset;
        e->size = size;
        return filled < count ? 1 : 0;  // the file may have changed since the count
    });
    vop->pEntries = entries;
    vop->numEntries = filled;
    return 1;
}

void FreeVop(stdVop* vop)
{
    stdHash_Free(vop->pHash);
    free(vop->pEntries);
    free(vop->pStreams);
    if (vop->pFile) fclose(vop->pFile);
    free(vop);
}

int StreamsInUse(const stdVop* vop)
{
    for (uint32_t i = 0; i < vop->numStreams; i++) {
        if (vop->pStreams[i].inUse) return 1;
    }
    return 0;
}

// Puts the archive file at the stream's position unless this stream moved it last.
int Position(stdVopStream* stream)
{
    stdVop* vop = stream->pVop;
    if (vop->pLastStream == stream) return 1;
    vop->pLastStream = nullptr;
    uint64_t at = (uint64_t)stream->pEntry->offset + stream->position;
    if (fseek(vop->pFile, (long)at, SEEK_SET) != 0) return 0;
    vop->pLastStream = stream;
    return 1;
}

uint32_t Remaining(const stdVopStream* stream)
{
    uint32_t size = stream->pEntry->size;
    return stream->position < size ? size - stream->position : 0;
}

}  // namespace

stdVop* stdVop_Open(const char* path, uint32_t streamCount)
{
    if (!path) return nullptr;
    FILE* file = fopen(path, "rb");
    if (!file) return nullptr;
    stdVop* vop = (stdVop*)calloc(1, sizeof(stdVop));
    stdVopStream* streams = (stdVopStream*)calloc(streamCount ? streamCount : 1, sizeof(stdVopStream));
    if (!vop || !streams) {
        free(vop);
        free(streams);
        fclose(file);
        return nullptr;
    }
    strncpy(vop->path, path, sizeof vop->path - 1);
    vop->pFile = file;
    vop->pStreams = streams;
    vop->numStreams = streamCount;

    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0) size = ftell(file);
    if (size < 0) {
        FreeVop(vop);
        return nullptr;
    }
    vop->fileSize = (uint32_t)size;

    vop->pHash = stdHash_Create(1024, "stdVop");
    if (!vop->pHash || !IndexEntries(vop)) {
        FreeVop(vop);
        return nullptr;
    }
    for (uint32_t i = 0; i < vop->numEntries; i++) {
        stdHash_Add(vop->pHash, vop->pEntries[i].name, &vop->pEntries[i]);
    }
    return vop;
}

int stdVop_Close(stdVop* vop)
{
    if (!vop) return 0;
    if (StreamsInUse(vop)) {
        // Open handles still read from it: it goes when the last of them is closed.
        vop->bClosePending = 1;
        return 0;
    }
    FreeVop(vop);
    return 1;
}

stdVopStream* stdVop_OpenFile(stdVop* vop, const char* name)
{
    if (!vop || !name || vop->bClosePending) return nullptr;
    char key[STDVOP_NAME_SIZE];
    if (strlen(name) >= sizeof key) return nullptr;  // no indexed entry has such a name
    strcpy(key, name);
    stdString_ToLower(key);
    stdVopEntry* entry = (stdVopEntry*)stdHash_Find(vop->pHash, key);
    if (!entry) return nullptr;
    for (uint32_t i = 0; i < vop->numStreams; i++) {
        stdVopStream* s = &vop->pStreams[i];
        if (s->inUse) continue;
        s->inUse = 1;
        s->pVop = vop;
        s->pEntry = entry;
        s->position = 0;
        s->bEnd = 0;
        return s;
    }
    return nullptr;
}

void stdVop_CloseFile(stdVopStream* stream)
{
    if (!stream || !stream->inUse) return;
    stdVop* vop = stream->pVop;
    stream->inUse = 0;
    if (vop->pLastStream == stream) vop->pLastStream = nullptr;
    if (vop->bClosePending && !StreamsInUse(vop)) FreeVop(vop);
}

uint32_t stdVop_Read(void* buffer, uint32_t size, uint32_t count, stdVopStream* stream)
{
    if (!stream || !stream->inUse || !buffer || size == 0 || count == 0) return 0;
    uint32_t remaining = Remaining(stream);
    if (remaining == 0) {
        stream->bEnd = 1;
        return 0;
    }
    if (!Position(stream)) return 0;
    uint32_t elements = remaining / size < count ? remaining / size : count;
    if ((uint64_t)count * size > remaining) stream->bEnd = 1;  // the read reaches the end
    size_t got = fread(buffer, size, elements, stream->pVop->pFile);
    if (got != elements) stream->pVop->pLastStream = nullptr;
    stream->position += (uint32_t)got * size;
    return (uint32_t)got;
}

char* stdVop_Gets(char* buffer, int length, stdVopStream* stream)
{
    if (!stream || !stream->inUse || !buffer || length < 2) return nullptr;
    uint32_t remaining = Remaining(stream);
    if (remaining == 0) {
        stream->bEnd = 1;
        return nullptr;
    }
    if (!Position(stream)) return nullptr;
    int limit = remaining < (uint32_t)length - 1 ? (int)remaining + 1 : length;
    FILE* file = stream->pVop->pFile;
    if (!fgets(buffer, limit, file)) {
        stream->pVop->pLastStream = nullptr;
        return nullptr;
    }
    // The bytes taken, not strlen: a NUL inside the entry would otherwise lose the place.
    long at = ftell(file);
    uint32_t start = stream->pEntry->offset;
    stream->position = at >= (long)start ? (uint32_t)at - start : stream->pEntry->size;
    if (stream->position >= stream->pEntry->size && !strchr(buffer, '\n')) stream->bEnd = 1;
    return buffer;
}

int stdVop_ReadWideLine(uint16_t* buffer, int length, FILE* file)
{
    if (!buffer || length < 2 || !file) return 0;
    int n = 0;
    while (n < length - 1) {
        uint8_t pair[2];
        if (fread(pair, 1, 2, file) != 2) break;
        buffer[n++] = (uint16_t)(pair[0] | pair[1] << 8);
        if (buffer[n - 1] == '\n') break;
    }
    buffer[n] = 0;
    return n;
}

uint16_t* stdVop_GetsWide(uint16_t* buffer, int length, stdVopStream* stream)
{
    if (!stream || !stream->inUse || !buffer || length < 2) return nullptr;
    uint32_t remaining = Remaining(stream);
    if (remaining < 2) {
        stream->bEnd = 1;
        return nullptr;
    }
    if (!Position(stream)) return nullptr;
    int limit = remaining / 2 < (uint32_t)length - 1 ? (int)(remaining / 2) + 1 : length;
    int n = stdVop_ReadWideLine(buffer, limit, stream->pVop->pFile);
    if (n == 0) {
        stream->pVop->pLastStream = nullptr;
        return nullptr;
    }
    stream->position += 2 * (uint32_t)n;
    if (Remaining(stream) < 2 && buffer[n - 1] != '\n') stream->bEnd = 1;
    return buffer;
}

int stdVop_Seek(stdVopStream* stream, long offset, int origin)
{
    if (!stream || !stream->inUse) return 0;
    int64_t base;
    switch (origin) {
    case 0: base = 0; break;
    case 1: base = stream->position; break;
    case 2: base = stream->pEntry->size; break;
    default: return 0;
    }
    int64_t target = base + offset;
    if (target < 0 || target > 0xFFFFFFFFll) return 0;
    stream->position = (uint32_t)target;
    if (stream->pVop->pLastStream == stream) stream->pVop->pLastStream = nullptr;
    stream->bEnd = stream->position >= stream->pEntry->size;
    return 1;
}

uint32_t stdVop_Tell(const stdVopStream* stream)
{
    return stream ? stream->position : 0;
}

int stdVop_Eof(const stdVopStream* stream)
{
    return stream ? stream->bEnd : 1;
}
