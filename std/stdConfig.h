// Typed access to the settings file palvera.ini in the folder that was current when the
// first section object was made. Integers and booleans are decimal text, floats the four
// bytes of the value as a profile structure.
#pragma once
#include <cstdint>

struct stdConfig_Section {
    char name[32];
    explicit stdConfig_Section(const char* sectionName = "");
};

void stdConfig_SetSection(stdConfig_Section* section, const char* name);
const char* stdConfig_GetPath();
int stdConfig_ReadInt(const stdConfig_Section* section, const char* key, int defaultValue);
int stdConfig_ReadBool(const stdConfig_Section* section, const char* key, int defaultValue);
void stdConfig_ReadString(const stdConfig_Section* section, const char* key, char* out,
                          uint32_t size, const char* defaultText);
float stdConfig_ReadFloat(const stdConfig_Section* section, const char* key, float defaultValue);
int stdConfig_WriteInt(const stdConfig_Section* section, const char* key, int value);
int stdConfig_WriteBool(const stdConfig_Section* section, const char* key, int value);
int stdConfig_WriteString(const stdConfig_Section* section, const char* key, const char* text);
int stdConfig_WriteFloat(const stdConfig_Section* section, const char* key, float value);
