// File-name operations on caller-supplied buffers. The only folder separator is the
// backslash; the extension is the text after the last dot of the part after the last
// backslash. Operations that lengthen a path take its buffer size and refuse when there is
// no room.
#pragma once

char* stdPath_BaseName(const char* path);
char* stdPath_GetExtension(const char* path);
int stdPath_SetExtension(char* path, int size, const char* extension);
int stdPath_DefaultExtension(char* path, int size, const char* extension);
char* stdPath_FindExtension(char* path);
char* stdPath_ClearExtension(char* path);
int stdPath_StripToName(char* path);
char* stdPath_CopyBaseName(char* destination, int size, const char* path);
char* stdPath_CopyDirectory(char* destination, int size, const char* path);
char* stdPath_Join(char* destination, int size, const char* folder, const char* name);
char* stdPath_Join3(char* destination, int size, const char* folder, const char* name1,
                    const char* name2);
