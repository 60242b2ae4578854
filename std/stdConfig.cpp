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

float stdConfig_ReadFloat(const stdConfig_Section* section, const char* key, float defaultValue)
{
    float value;
    if (!GetPrivateProfileStructA(section->name, key, &value, sizeof value, g_path))
        return defaultValue;
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
