#include "stdPath.h"

#include <cstring>

namespace {

// The dot that starts the extension, or null.
char* LastDot(const char* path)
{
    return strrchr(stdPath_BaseName(path), '.');
}

int AppendExtension(char* path, int size, const char* extension)
{
    size_t length = strlen(path);
    if (size < 1 || length + 1 + strlen(extension) + 1 > (size_t)size) return 0;
    path[length] = '.';
    strcpy(path + length + 1, extension);
    return 1;
}

void AppendPart(char* destination, int size, const char* name)
{
    int length = (int)strlen(destination);
    if (length > 0 && destination[length - 1] != '\\' && length < size - 1) {
        destination[length++] = '\\';
        destination[length] = 0;
    }
    int room = size - length - 1;
    if (room <= 0 || !name) return;
    strncat(destination, name, (size_t)room);
}

}  // namespace

char* stdPath_BaseName(const char* path)
{
    const char* slash = strrchr(path, '\\');
    return (char*)(slash ? slash + 1 : path);
}

char* stdPath_GetExtension(const char* path)
{
    char* dot = LastDot(path);
    return dot ? dot + 1 : nullptr;
}

int stdPath_SetExtension(char* path, int size, const char* extension)
{
    if (LastDot(path)) return 0;
    return AppendExtension(path, size, extension);
}

int stdPath_DefaultExtension(char* path, int size, const char* extension)
{
    char* dot = LastDot(path);
    size_t stem = dot ? (size_t)(dot - path) : strlen(path);
    if (size < 1 || stem + 1 + strlen(extension) + 1 > (size_t)size) return 0;
    path[stem] = 0;
    return AppendExtension(path, size, extension);
}

int stdPath_MakeFileName(char* path, int size, const char* name, const char* extension, int how)
{
    if (size < 1) return 0;
    path[0] = 0;
    if (!name || strlen(name) >= (size_t)size) return 0;
    strcpy(path, name);
    if (how == STDPATH_REPLACE_EXTENSION) stdPath_FindExtension(path);
    else if (LastDot(path)) return 1;
    return AppendExtension(path, size, extension);
}

char* stdPath_FindExtension(char* path)
{
    char* dot = LastDot(path);
    if (!dot) return nullptr;
    *dot = 0;
    return dot + 1;
}

char* stdPath_ClearExtension(char* path)
{
    char* dot = LastDot(path);
    if (!dot) return nullptr;
    dot[1] = 0;
    return dot + 1;
}

int stdPath_StripToName(char* path)
{
    char* start = path;
    if (char* colon = strrchr(start, ':')) start = colon + 1;
    if (char* slash = strrchr(start, '\\')) start = slash + 1;
    if (char* dot = strrchr(start, '.')) *dot = 0;
    int moved = (int)strlen(start) + 1;
    memmove(path, start, (size_t)moved);
    return moved;
}

char* stdPath_CopyBaseName(char* destination, int size, const char* path)
{
    if (size < 1) return destination;
    strncpy(destination, stdPath_BaseName(path), (size_t)size - 1);
    destination[size - 1] = 0;
    return destination;
}

char* stdPath_CopyDirectory(char* destination, int size, const char* path)
{
    if (size < 1) return nullptr;
    strncpy(destination, path, (size_t)size - 1);
    destination[size - 1] = 0;
    char* slash = strrchr(destination, '\\');
    if (!slash) return nullptr;
    *slash = 0;
    return slash;
}

char* stdPath_Join(char* destination, int size, const char* folder, const char* name)
{
    if (size < 1) return destination;
    strncpy(destination, folder ? folder : "", (size_t)size - 1);
    destination[size - 1] = 0;
    AppendPart(destination, size, name);
    return destination;
}

char* stdPath_Join3(char* destination, int size, const char* folder, const char* name1,
                    const char* name2)
{
    stdPath_Join(destination, size, folder, name1);
    if (size >= 1) AppendPart(destination, size, name2);
    return destination;
}
