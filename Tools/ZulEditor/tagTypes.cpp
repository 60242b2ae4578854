#include "tagTypes.h"
#include "IniFile.h"
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
struct TypeName {
    const char* name;
    TDataType type;
};
const TypeName kTypes[] = {
    {"SINT", dtSINT},         {"UINT", dtUINT},         {"FLAGS", dtFLAGS},
    {"ENUM", dtENUM},         {"FLOAT", dtFLOAT},       {"UFLOAT", dtUFLOAT},
    {"VECTOR", dtVECTOR},     {"RGB", dtRGB},           {"STRING", dtSTRING},
    {"FILENAME", dtFILENAME}, {"FILENAMENOEXT", dtFILENAMENOEXT},
    {"STRINGLIST", dtSTRINGLIST}, {"TEMPLATE", dtTEMPLATE},
};

uint32_t GetU32(const TTagBytes& v, int at)
{
    return static_cast<uint32_t>(v[at]) | static_cast<uint32_t>(v[at + 1]) << 8 |
           static_cast<uint32_t>(v[at + 2]) << 16 | static_cast<uint32_t>(v[at + 3]) << 24;
}

void PutU32(TTagBytes& v, int at, uint32_t x)
{
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
    v[at + 2] = static_cast<uint8_t>(x >> 16);
    v[at + 3] = static_cast<uint8_t>(x >> 24);
}

float GetFloat(const TTagBytes& v, int at)
{
    const uint32_t bits = GetU32(v, at);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void PutFloat(TTagBytes& v, int at, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    PutU32(v, at, bits);
}

// A colour component cut to its whole part; out-of-range and NaN values stay in int range.
int WholePart(float f)
{
    if (std::isnan(f))
        return 0;
    if (f >= 2147483647.0f)
        return INT_MAX;
    if (f <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(f);
}

float ReadFloat(const char*& p)
{
    float f = 0.0f;
    int used = 0;
    if (std::sscanf(p, "%f%n", &f, &used) == 1)
        p += used;
    else
        p += std::strlen(p);  // nothing more can be read
    return f;
}
}  // namespace

TDataType DataTypeFromName(const std::string& name)
{
    for (const TypeName& t : kTypes)
        if (name == t.name)
            return t.type;
    return dtUnknown;
}

bool IsTextType(TDataType type)
{
    return type >= dtSTRING;
}

uint32_t ReadLeadingInt(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    uint32_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        value = value * 10u + static_cast<uint32_t>(text[i++] - '0');
    return negative ? 0u - value : value;
}

bool ReadWholeInt(const std::string& text, int32_t& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

std::string TagBytesText(const TTagBytes& value)
{
    size_t n = 0;
    while (n < value.size() && value[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(value.data()), n);
}

TTagBytes TagBytesFromText(const std::string& text)
{
    TTagBytes v{};
    const size_t n = text.size() < 31 ? text.size() : 31;
    std::memcpy(v.data(), text.data(), n);
    return v;
}

std::string FormatTagValue(const std::string& dataType, const TTagBytes& value,
                           const TIniFile* dataFile, const std::string& ref)
{
    char buffer[512];
    const TDataType type = DataTypeFromName(dataType);
    switch (type) {
    case dtSINT:
        std::snprintf(buffer, sizeof buffer, "%d", static_cast<int32_t>(GetU32(value, 0)));
        return buffer;
    case dtUINT:
        std::snprintf(buffer, sizeof buffer, "%u", GetU32(value, 0));
        return buffer;
    case dtFLAGS:
        std::snprintf(buffer, sizeof buffer, "%u  [0x%x]", GetU32(value, 0), GetU32(value, 0));
        return buffer;
    case dtENUM: {
        const uint32_t index = GetU32(value, 0);
        std::snprintf(buffer, sizeof buffer, "%u", index);
        std::string shown = buffer;
        if (dataFile && !ref.empty()) {
            TStringList entries;
            dataFile->ReadSectionValues(ref, entries);
            if (static_cast<uint32_t>(entries.Count()) > index)
                shown += "  [" + dataFile->ReadString(ref, std::to_string(index), "") + "]";
        }
        return shown;
    }
    case dtFLOAT:
    case dtUFLOAT:
        std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(GetFloat(value, 0)));
        return buffer;
    case dtVECTOR:
        std::snprintf(buffer, sizeof buffer, "%f %f %f", static_cast<double>(GetFloat(value, 0)),
                      static_cast<double>(GetFloat(value, 4)), static_cast<double>(GetFloat(value, 8)));
        return buffer;
    case dtRGB:
        std::snprintf(buffer, sizeof buffer, "%d %d %d", WholePart(GetFloat(value, 0)),
                      WholePart(GetFloat(value, 4)), WholePart(GetFloat(value, 8)));
        return buffer;
    case dtUnknown:
        return "";
    default:
        return TagBytesText(value);
    }
}

bool ParseTagValue(const std::string& dataType, const std::string& text, TTagBytes& value)
{
    const TDataType type = DataTypeFromName(dataType);
    if (type == dtUnknown)
        return false;
    TTagBytes v{};
    const char* p = text.c_str();
    switch (type) {
    case dtSINT:
    case dtUINT:
    case dtFLAGS:
    case dtENUM:
        PutU32(v, 0, ReadLeadingInt(text));
        break;
    case dtFLOAT:
    case dtUFLOAT:
        PutFloat(v, 0, ReadFloat(p));
        break;
    case dtVECTOR:
    case dtRGB:
        for (int i = 0; i < 3; ++i)
            PutFloat(v, 4 * i, ReadFloat(p));
        break;
    default:
        v = TagBytesFromText(text);
        break;
    }
    value = v;
    return true;
}

TTagBytes TagValueForSave(const std::string& dataType, const std::string& text,
                          const TTagBytes& original, bool edited)
{
    TTagBytes value = original;
    if (edited)
        ParseTagValue(dataType, text, value);
    return value;
}
