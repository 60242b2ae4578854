#include "stdFileUtil.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

struct stdFileSearch {
    HANDLE hFind;          // null before the first match and after a reset
    WIN32_FIND_DATAA data; // cFileName holds the pattern until the first search
    char pattern[MAX_PATH];
    int mode;
    int bDone;             // the system search has no entry left
};

namespace {

int Fits(int written, size_t size)
{
    return written >= 0 && (size_t)written < size;
}

int BuildPattern(char* out, size_t size, const char* folder, int mode, const char* extension)
{
    if (!folder || !*folder) folder = ".";
    if (mode < 0 || mode > STDFILE_FIND_EXTENSION) return Fits(snprintf(out, size, "%s", folder), size);
    if (mode != STDFILE_FIND_EXTENSION) return Fits(snprintf(out, size, "%s\\*.*", folder), size);
    if (!extension) extension = "";
    if (strchr(extension, '.')) return Fits(snprintf(out, size, "%s\\%s", folder, extension), size);
    return Fits(snprintf(out, size, "%s\\*.%s", folder, extension), size);
}

int Wanted(int mode, DWORD attributes)
{
    int isDir = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (mode == STDFILE_FIND_FILES) return !isDir;
    if (mode == STDFILE_FIND_DIRS) return isDir;
    return 1;
}

}  // namespace

stdFileSearch* stdFile_FindOpen(const char* folder, int mode, const char* extension)
{
    stdFileSearch* search = (stdFileSearch*)calloc(1, sizeof(stdFileSearch));
    if (!search) return nullptr;
    if (!BuildPattern(search->pattern, sizeof search->pattern, folder, mode, extension)) {
        free(search);  // a pattern that does not fit would search somewhere else
        return nullptr;
    }
    memcpy(search->data.cFileName, search->pattern, sizeof search->data.cFileName);
    search->mode = mode;
    return search;
}

int stdFile_FindNext(stdFileSearch* search, stdFileMatch* match)
{
    if (!search || !match) return 0;
    for (;;) {
        if (search->bDone) return 0;
        if (!search->hFind) {
            HANDLE h = FindFirstFileA(search->pattern, &search->data);
            if (h == INVALID_HANDLE_VALUE) {
                search->bDone = 1;
                return 0;
            }
            search->hFind = h;
        } else if (!FindNextFileA(search->hFind, &search->data)) {
            search->bDone = 1;
            return 0;
        }
        if (!Wanted(search->mode, search->data.dwFileAttributes)) continue;
        memcpy(match->name, search->data.cFileName, sizeof match->name);
        match->name[sizeof match->name - 1] = 0;
        match->isDirectory = search->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        match->lastWriteTime = search->data.ftLastWriteTime.dwLowDateTime;
        return 1;
    }
}

void stdFile_FindReset(stdFileSearch* search)
{
    if (!search) return;
    if (search->hFind) FindClose(search->hFind);
    search->hFind = nullptr;
    search->bDone = 0;
}

void stdFile_FindClose(stdFileSearch* search)
{
    if (!search) return;
    stdFile_FindReset(search);
    free(search);
}

const char* stdFile_FindPattern(const stdFileSearch* search)
{
    return search ? search->pattern : nullptr;
}

int stdFile_FindFirstMatch(const char* folder, int mode, const char* extension,
                           stdFileMatch* match)
{
    stdFileSearch* search = stdFile_FindOpen(folder, mode, extension);
    int found = stdFile_FindNext(search, match);
    stdFile_FindClose(search);
    return found;
}

int stdFile_CountMatches(const char* folder, int mode, const char* extension)
{
    stdFileSearch* search = stdFile_FindOpen(folder, mode, extension);
    stdFileMatch match;
    int count = 0;
    while (stdFile_FindNext(search, &match)) count++;
    stdFile_FindClose(search);
    return count;
}

int stdFile_PathExists(const char* path)
{
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(path, &data);
    if (h == INVALID_HANDLE_VALUE) return 0;
    FindClose(h);
    return 1;
}

int stdFile_CanOpen(const char* path)
{
    FILE* f = fopen(path, "rb");
    if (!f) return 0;
    fclose(f);
    return 1;
}

int stdFile_CreateDir(const char* path)
{
    return CreateDirectoryA(path, nullptr);
}

int stdFile_RemoveDir(const char* path)
{
    return RemoveDirectoryA(path);
}

int stdFile_Delete(const char* path)
{
    return DeleteFileA(path);
}

int stdFile_DeleteTree(const char* folder)
{
    char pattern[MAX_PATH];
    if (!Fits(snprintf(pattern, sizeof pattern, "%s\\*.*", folder), sizeof pattern)) return 0;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern, &data);
    if (h == INVALID_HANDLE_VALUE) return 0;
    int ok = 1;
    do {
        const char* name = data.cFileName;
        if (!strcmp(name, ".") || !strcmp(name, "..")) continue;
        char path[MAX_PATH];
        if (!Fits(snprintf(path, sizeof path, "%s\\%s", folder, name), sizeof path)) {
            ok = 0;
            break;
        }
        // Only a plain folder is walked into; anything else, a read-only folder too, is
        // deleted as a file.
        if (data.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) ok = stdFile_DeleteTree(path);
        else ok = DeleteFileA(path) != 0;
    } while (ok && FindNextFileA(h, &data));
    FindClose(h);
    if (!ok) return 0;
    return RemoveDirectoryA(folder) != 0;
}

int stdFile_FindInPath(char* result, int size, const char* fileName, const char* folders)
{
    if (!fileName || !folders) return 0;
    const char* p = folders;
    while (*p) {
        while (*p == ';' || *p == ' ' || *p == '\t') p++;
        if (!*p) break;
        size_t length = strcspn(p, ";");
        char folder[128];
        size_t copied = length < sizeof folder - 1 ? length : sizeof folder - 1;
        memcpy(folder, p, copied);
        folder[copied] = 0;
        p += length;
        if (!copied) continue;
        const char* separator = folder[copied - 1] == '\\' ? "" : "\\";
        char path[128];
        if (!Fits(snprintf(path, sizeof path, "%s%s%s", folder, separator, fileName), sizeof path))
            continue;
        if (stdFile_CanOpen(path)) {
            if (result && size > 0) {
                strncpy(result, path, (size_t)size - 1);
                result[size - 1] = 0;
            }
            return 1;
        }
    }
    return 0;
}
