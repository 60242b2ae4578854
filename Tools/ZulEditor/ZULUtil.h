// Template file (.zul) records and fixed-size reads and writes on an open stream.
// All integers are 32-bit little-endian, like the x86 targets we build for; the records below
// are the exact bytes of the file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

const int ZUL_VERSION = 1;
const int ZUL_NAME_SIZE = 32;          // name field; at most 31 characters and a NUL
const int ZUL_MAX_NAME = 31;
const int ZUL_MAX_TAGS = 128;          // tag records the writer takes per template
extern const uint8_t kZULMagic[4];     // "ZUL" 0x10

struct TZULHeader {
    uint8_t magic[4];
    int32_t version;
    int32_t count;
};
static_assert(sizeof(TZULHeader) == 12, "file header is 12 bytes");
static_assert(offsetof(TZULHeader, version) == 4 && offsetof(TZULHeader, count) == 8, "header layout");

struct TZULDirEntry {
    char name[ZUL_NAME_SIZE];
    int32_t offset;
};
static_assert(sizeof(TZULDirEntry) == 36, "directory entry is 36 bytes");
static_assert(offsetof(TZULDirEntry, offset) == 32, "directory entry layout");

struct TZULTagRecord {
    uint32_t id;
    uint8_t value[32];
};
static_assert(sizeof(TZULTagRecord) == 36, "tag record is 36 bytes");
static_assert(offsetof(TZULTagRecord, value) == 4, "tag record layout");

// Where the pieces of a file lie, from the record sizes above. The directory entry i follows the
// header, so ZULEntryAt(count) is where the directory ends and the first body begins.
inline int64_t ZULEntryAt(int64_t i)
{
    return static_cast<int64_t>(sizeof(TZULHeader)) + static_cast<int64_t>(sizeof(TZULDirEntry)) * i;
}

// A body is numTags, the records, descLength and the description. In a body that starts at
// `body`, the tag record i follows the tag count; the description's length follows the last
// record, and its text that length.
inline int64_t ZULTagAt(int64_t body, int64_t i)
{
    return body + static_cast<int64_t>(sizeof(int32_t)) + static_cast<int64_t>(sizeof(TZULTagRecord)) * i;
}
inline int64_t ZULDescLengthAt(int64_t body, int64_t numTags)
{
    return ZULTagAt(body, numTags);
}
inline int64_t ZULDescriptionAt(int64_t body, int64_t numTags)
{
    return ZULDescLengthAt(body, numTags) + static_cast<int64_t>(sizeof(int32_t));
}
inline int64_t ZULBodySize(int64_t numTags, int64_t descLength)
{
    return ZULDescriptionAt(0, numTags) + descLength;
}

// 0 good header, -1 version other than 1 (versionTest -1 skips that test), -2 bad magic,
// -3 the file cannot be opened or holds fewer than 12 bytes.
int CheckZULHeader(const std::string& path, int versionTest);

// One read or write call of one item each; true when the whole item went through.
bool ZULReadHeader(FILE* f, TZULHeader& header);
bool ZULWriteHeader(FILE* f, const TZULHeader& header);
bool ZULReadDirEntry(FILE* f, TZULDirEntry& entry);
bool ZULWriteDirEntry(FILE* f, const TZULDirEntry& entry);
bool ZULReadInt(FILE* f, int32_t& value);
bool ZULWriteInt(FILE* f, int32_t value);
bool ZULReadTagRecord(FILE* f, TZULTagRecord& record);
