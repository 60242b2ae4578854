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

// How stdPath_MakeFileName treats an extension the name already has.
enum { STDPATH_KEEP_EXTENSION = 0, STDPATH_REPLACE_EXTENSION = 1 };
// The file name of a resource: name copied into path (size bytes), with extension added when the
// name has none, or put in place of its own with STDPATH_REPLACE_EXTENSION. 0 when the name
// does not fit (path is then empty) or the extension does not (path holds the bare name).
int stdPath_MakeFileName(char* path, int size, const char* name, const char* extension, int how);
char* stdPath_ClearExtension(char* path);
int stdPath_StripToName(char* path);
char* stdPath_CopyBaseName(char* destination, int size, const char* path);
char* stdPath_CopyDirectory(char* destination, int size, const char* path);
char* stdPath_Join(char* destination, int size, const char* folder, const char* name);
char* stdPath_Join3(char* destination, int size, const char* folder, const char* name1,
                    const char* name2);
