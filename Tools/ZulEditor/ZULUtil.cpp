#include "ZULUtil.h"
#include <cstring>

const uint8_t kZULMagic[4] = {'Z', 'U', 'L', 0x10};

int CheckZULHeader(const std::string& path, int versionTest)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return -3;
    TZULHeader header;
    const bool read = ZULReadHeader(f, header);
    std::fclose(f);
    if (!read)
        return -3;
    if (std::memcmp(header.magic, kZULMagic, 4) != 0)
        return -2;
    if (versionTest != -1 && header.version != ZUL_VERSION)
        return -1;
    return 0;
}

bool ZULReadHeader(FILE* f, TZULHeader& header)
{
    return std::fread(&header, sizeof header, 1, f) == 1;
}

bool ZULWriteHeader(FILE* f, const TZULHeader& header)
{
    return std::fwrite(&header, sizeof header, 1, f) == 1;
}

bool ZULReadDirEntry(FILE* f, TZULDirEntry& entry)
{
    return std::fread(&entry, sizeof entry, 1, f) == 1;
}

bool ZULWriteDirEntry(FILE* f, const TZULDirEntry& entry)
{
    return std::fwrite(&entry, sizeof entry, 1, f) == 1;
}

bool ZULReadInt(FILE* f, int32_t& value)
{
    return std::fread(&value, sizeof value, 1, f) == 1;
}

bool ZULWriteInt(FILE* f, int32_t value)
{
    return std::fwrite(&value, sizeof value, 1, f) == 1;
}

bool ZULReadTagRecord(FILE* f, TZULTagRecord& record)
{
    return std::fread(&record.id, sizeof record.id, 1, f) == 1 &&
           std::fread(record.value, sizeof record.value, 1, f) == 1;
}
