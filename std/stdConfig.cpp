#include "stdConfig.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "stdPath.h"

namespace {

// Constant-initialised, so sections made by other static initialisers find it ready.
char g_path[MAX_PATH];
int g_bPathBuilt;

void BuildPath()
{
    if (g_bPathBuilt) return;
    char folder[MAX_PATH + 1] = "";
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) folder[0] = 0;
    stdPath_Join(g_path, sizeof g_path, folder, "palvera.ini");
    g_bPathBuilt = 1;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void CopyName(char* out, const char* name)
{
    strncpy(out, name ? name : "", 31);
    out[31] = 0;
}

}  // namespace

stdConfig_Section::stdConfig_Section(const char* sectionName)
{
    CopyName(name, sectionName);
    BuildPath();
}

void stdConfig_SetSection(stdConfig_Section* section, const char* name)
{
    CopyName(section->name, name);
}

const char* stdConfig_GetPath()
{
    BuildPath();
    return g_path;
}

int stdConfig_ReadInt(const stdConfig_Section* section, const char* key, int defaultValue)
{
    // Read as text and parsed here, so that negative values written by stdConfig_WriteInt
    // come back as they were.
    char text[64];
    GetPrivateProfileStringA(section->name, key, "", text, sizeof text, g_path);
    char* end = nullptr;
    long value = strtol(text, &end, 10);
    if (end == text) return defaultValue;
    return (int)value;
}

int stdConfig_ReadBool(const stdConfig_Section* section, const char* key, int defaultValue)
{
    return stdConfig_ReadInt(section, key, 0) != 0 ? 1 : defaultValue;
}

void stdConfig_ReadString(const stdConfig_Section* section, const char* key, char* out,
                          uint32_t size, const char* defaultText)
{
    if (!out || size == 0) return;
    GetPrivateProfileStringA(section->name, key, defaultText ? defaultText : "", out, size, g_path);
    out[size - 1] = 0;
}

// The profile structure is decoded here rather than by the platform, so that a value of any
// other size or with a wrong checksum is refused the same way everywhere.
float stdConfig_ReadFloat(const stdConfig_Section* section, const char* key, float defaultValue)
{
    char text[32];
    GetPrivateProfileStringA(section->name, key, "", text, sizeof text, g_path);
    if (strlen(text) != 2 * (sizeof(float) + 1)) return defaultValue;
    uint8_t bytes[sizeof(float) + 1];
    for (size_t i = 0; i < sizeof bytes; i++) {
        int high = HexDigit(text[2 * i]), low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) return defaultValue;
        bytes[i] = (uint8_t)(high << 4 | low);
    }
    uint8_t sum = 0;
    for (size_t i = 0; i < sizeof(float); i++) sum = (uint8_t)(sum + bytes[i]);
    if (sum != bytes[sizeof(float)]) return defaultValue;
    float value;
    memcpy(&value, bytes, sizeof value);
    return value;
}

int stdConfig_WriteInt(const stdConfig_Section* section, const char* key, int value)
{
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    return WritePrivateProfileStringA(section->name, key, text, g_path);
}

int stdConfig_WriteBool(const stdConfig_Section* section, const char* key, int value)
{
    return WritePrivateProfileStringA(section->name, key, value ? "1" : "0", g_path);
}

int stdConfig_WriteString(const stdConfig_Section* section, const char* key, const char* text)
{
    return WritePrivateProfileStringA(section->name, key, text, g_path);
}

int stdConfig_WriteFloat(const stdConfig_Section* section, const char* key, float value)
{
    return WritePrivateProfileStructA(section->name, key, &value, sizeof value, g_path);
}
