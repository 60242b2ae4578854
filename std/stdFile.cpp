#include "stdFile.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "stdString.h"
#include "stdVop.h"

namespace {

struct FolderList {
    uint32_t count;
    char* names[STDFILE_MAX_FOLDERS];
};

struct BaseRecord {
    char path[STDFILE_PATH_SIZE];
    uint32_t numArchives;
    stdVop* apArchives[STDFILE_MAX_ARCHIVES];
};

struct FileSlot {
    uint32_t inUse;
    char path[STDFILE_PATH_SIZE];
    uint8_t isFile;
    uint8_t bPathCut;  // the path did not fit and was cut
    FILE* pFile;
    stdVopStream* pStream;
};

FolderList g_folders[STDFILE_NUM_TYPES];
BaseRecord g_bases[STDFILE_NUM_BASES];
FileSlot g_slots[STDFILE_NUM_SLOTS];
char g_secondaryPath[STDFILE_PATH_SIZE];
int g_bStartup;

const char* const kTypeFolders[STDFILE_NUM_TYPES][10] = {
    {"3D\\Anims"},
    {"Ui\\Materials", "Ui\\Icons", "Materials", "Materials\\Prague", "Materials\\Vienna",
     "Materials\\London", "Materials\\New_York", "Materials\\General", "3D\\Materials"},
    {"3D\\Models"},
    {"Levels"},
    {"Ui", "Ui\\Materials", "Ui\\Icons"},
    {},
    {"3D\\Motions"},
    {"Misc\\Templates"},
    {"Scenes"},
    {"Misc"},
    {"Chronicles"},
    {"Sounds", "Sounds\\Objects", "Sounds\\Actors", "Sounds\\Voice", "Sounds\\Environment",
     "Sounds\\Gameplay", "Misc\\Foley"},
    {"Conversations"},
    {"Misc", "Strings"},
    {"Misc", "Strings"},
    {"Misc"},
    {"Misc\\AI"},
    {"Misc\\Explosions"},
    {"Quests"},
    {"Stores"},
    {"Chronicles"},
    {"Strings"},
    {"Crypt"},
    {"Video"},
    {"Sounds\\Dialog", "Sounds\\StereoAmbient", "Sounds\\Music"},
};

int Fits(int written, size_t size)
{
    return written >= 0 && (size_t)written < size;
}

void CopyPath(char* out, const char* path)
{
    strncpy(out, path, STDFILE_PATH_SIZE - 1);
    out[STDFILE_PATH_SIZE - 1] = 0;
}

FileSlot* SlotOf(stdFileHandle handle)
{
    if (handle < 1 || handle > STDFILE_NUM_SLOTS) return nullptr;
    FileSlot* slot = &g_slots[handle - 1];
    return slot->inUse ? slot : nullptr;
}

void CloseArchives(BaseRecord* base)
{
    for (uint32_t i = 0; i < base->numArchives; i++) stdVop_Close(base->apArchives[i]);
    base->numArchives = 0;
}

void FreeFolders()
{
    for (FolderList& list : g_folders) {
        for (uint32_t i = 0; i < list.count; i++) free(list.names[i]);
        list.count = 0;
    }
}

void CloseSlot(FileSlot* slot)
{
    if (slot->isFile) fclose(slot->pFile);
    else stdVop_CloseFile(slot->pStream);
    memset(slot, 0, sizeof *slot);
}

}  // namespace

int stdFile_Startup()
{
    if (g_bStartup) stdFile_Shutdown();
    memset(g_folders, 0, sizeof g_folders);
    for (int type = 0; type < STDFILE_NUM_TYPES; type++) {
        for (const char* folder : kTypeFolders[type]) {
            if (folder) stdFile_AddFolder(folder, type);
        }
    }
    memset(g_bases, 0, sizeof g_bases);
    memset(g_slots, 0, sizeof g_slots);
    g_bStartup = 1;
    stdFile_SetBase(1, ".", 1);
    return 1;
}

void stdFile_Shutdown()
{
    // Handles first, so that no archive is left waiting for a stream.
    for (FileSlot& slot : g_slots) {
        if (slot.inUse) CloseSlot(&slot);
    }
    for (BaseRecord& base : g_bases) CloseArchives(&base);
    FreeFolders();
    g_bStartup = 0;
}

int stdFile_AddFolder(const char* folder, int type)
{
    if (!folder || type < 0 || type >= STDFILE_NUM_TYPES) return 0;
    FolderList& list = g_folders[type];
    if (list.count >= STDFILE_MAX_FOLDERS) return 0;
    char* copy = stdString_Duplicate(folder);
    if (!copy) return 0;
    list.names[list.count++] = copy;
    return 1;
}

int stdFile_GetFolderCount(int type)
{
    return (type >= 0 && type < STDFILE_NUM_TYPES) ? (int)g_folders[type].count : 0;
}

const char* stdFile_GetFolder(int type, int index)
{
    if (index < 0 || index >= stdFile_GetFolderCount(type)) return nullptr;
    return g_folders[type].names[index];
}

int stdFile_SetBase(int record, const char* path, int scanArchives)
{
    if (record < 0 || record >= STDFILE_NUM_BASES || !path) return 0;
    BaseRecord* base = &g_bases[record];
    CloseArchives(base);
    CopyPath(base->path, path);
    if (!scanArchives) return 1;
    stdFileSearch* search = stdFile_FindOpen(base->path, STDFILE_FIND_EXTENSION, "vop");
    stdFileMatch match;
    while (base->numArchives < STDFILE_MAX_ARCHIVES && stdFile_FindNext(search, &match)) {
        if (match.name[0] == '.' || match.isDirectory) continue;
        char archivePath[260];
        if (!Fits(snprintf(archivePath, sizeof archivePath, "%s\\%s", base->path, match.name),
                  sizeof archivePath))
            continue;
        stdVop* vop = stdVop_Open(archivePath, STDFILE_ARCHIVE_STREAMS);
        if (vop) base->apArchives[base->numArchives++] = vop;
    }
    stdFile_FindClose(search);
    return 1;
}

int stdFile_GetArchiveCount(int record)
{
    return (record >= 0 && record < STDFILE_NUM_BASES) ? (int)g_bases[record].numArchives : 0;
}

int stdFile_GetOpenCount()
{
    int count = 0;
    for (const FileSlot& slot : g_slots) count += slot.inUse != 0;
    return count;
}

void stdFile_SetPrimaryBase(const char* path)
{
    CloseArchives(&g_bases[0]);
    g_bases[0].path[0] = 0;
    if (path && *path) stdFile_SetBase(0, path, 1);
}

void stdFile_SetSecondaryBase(const char* path, int scanArchives)
{
    CloseArchives(&g_bases[2]);
    g_bases[2].path[0] = 0;
    if (!path || !*path) return;
    CopyPath(g_secondaryPath, path);
    stdFile_SetBase(2, g_secondaryPath, scanArchives);
}

stdFileHandle stdFile_OpenPath(const char* name, const char* mode)
{
    if (!name || !*name || !mode) return 0;
    int index = 0;
    while (index < STDFILE_NUM_SLOTS && g_slots[index].inUse) index++;
    if (index == STDFILE_NUM_SLOTS) return 0;
    FileSlot* slot = &g_slots[index];

    FILE* file = fopen(name, mode);
    const char* foundPath = name;
    // A file to write is made at the path given, never in a base folder or an archive.
    int reading = !strpbrk(mode, "wa+");
    char joined[260];
    stdVopStream* stream = nullptr;
    for (int b = 0; !file && reading && b < STDFILE_NUM_BASES; b++) {
        BaseRecord* base = &g_bases[b];
        if (!base->path[0]) continue;
        if (strcmp(base->path, ".") != 0) {
            if (Fits(snprintf(joined, sizeof joined, "%s\\%s", base->path, name), sizeof joined)) {
                file = fopen(joined, mode);
                if (file) foundPath = joined;
            }
        }
        for (uint32_t a = 0; !file && a < base->numArchives; a++) {
            stream = stdVop_OpenFile(base->apArchives[a], name);
            if (stream) break;
        }
        if (stream) break;
    }
    if (!file && !stream) return 0;

    slot->inUse = 1;
    slot->isFile = file != nullptr;
    slot->pFile = file;
    slot->pStream = stream;
    slot->bPathCut = strlen(foundPath) >= STDFILE_PATH_SIZE;
    CopyPath(slot->path, foundPath);
    return (stdFileHandle)index + 1;
}

stdFileHandle stdFile_Open(const char* name, const char* mode, int type)
{
    if (!name || !*name) return 0;
    stdFileHandle handle = stdFile_OpenPath(name, mode);
    if (handle || type < 0 || type >= STDFILE_NUM_TYPES) return handle;
    for (uint32_t i = 0; i < g_folders[type].count; i++) {
        char path[260];
        if (!Fits(snprintf(path, sizeof path, "%s%c%s", g_folders[type].names[i], '\\', name),
                  sizeof path))
            continue;
        handle = stdFile_OpenPath(path, mode);
        if (handle) return handle;
    }
    return 0;
}

FILE* stdFile_OpenStream(const char* name, const char* mode, int type)
{
    if (!name || !*name || !mode) return nullptr;
    FILE* file = fopen(name, mode);
    if (file || type < 0 || type >= STDFILE_NUM_TYPES) return file;
    for (uint32_t i = 0; i < g_folders[type].count; i++) {
        char path[260];
        if (!Fits(snprintf(path, sizeof path, "%s\\%s", g_folders[type].names[i], name), sizeof path))
            continue;
        file = fopen(path, mode);
        if (file) return file;
    }
    return nullptr;
}

int stdFile_Exists(const char* name, int type)
{
    stdFileHandle handle = stdFile_Open(name, "rb", type);
    if (!handle) return 0;
    stdFile_Close(handle);
    return 1;
}

int stdFile_Resolve(const char* name, int type, char* out)
{
    stdFileHandle handle = stdFile_Open(name, "rb", type);
    if (!handle) return 0;
    FileSlot* slot = SlotOf(handle);
    // A path cut to the slot's size would name another file: refuse it.
    int fits = !slot->bPathCut;
    if (out) CopyPath(out, fits ? slot->path : "");
    stdFile_Close(handle);
    return fits;
}

char* stdFile_GetPath(stdFileHandle handle, char* out)
{
    FileSlot* slot = SlotOf(handle);
    if (out) CopyPath(out, slot ? slot->path : "");
    return out;
}

int stdFile_IsPackEntry(stdFileHandle handle)
{
    FileSlot* slot = SlotOf(handle);
    return slot && !slot->isFile;
}

void stdFile_Close(stdFileHandle handle)
{
    FileSlot* slot = SlotOf(handle);
    if (slot) CloseSlot(slot);
}

uint32_t stdFile_Read(void* buffer, uint32_t size, uint32_t count, stdFileHandle handle)
{
    FileSlot* slot = SlotOf(handle);
    if (!slot || !buffer || size == 0 || count == 0) return 0;
    if (!slot->isFile) return stdVop_Read(buffer, size, count, slot->pStream);
    return (uint32_t)fread(buffer, size, count, slot->pFile);
}

uint32_t stdFile_Write(const void* buffer, uint32_t size, uint32_t count, stdFileHandle handle)
{
    FileSlot* slot = SlotOf(handle);
    if (!slot || !slot->isFile || !buffer || size == 0 || count == 0) return 0;
    return (uint32_t)fwrite(buffer, size, count, slot->pFile);
}

char* stdFile_Gets(char* buffer, int length, stdFileHandle handle)
{
    FileSlot* slot = SlotOf(handle);
    if (!slot || !buffer || length < 1) return nullptr;
    if (!slot->isFile) return stdVop_Gets(buffer, length, slot->pStream);
    return fgets(buffer, length, slot->pFile);
}

uint16_t* stdFile_GetsWide(uint16_t* buffer, int length, stdFileHandle handle)
{
    FileSlot* slot = SlotOf(handle);
    if (!slot) return nullptr;
    if (!slot->isFile) return stdVop_GetsWide(buffer, length, slot->pStream);
    return stdVop_ReadWideLine(buffer, length, slot->pFile) ? buffer : nullptr;
}

int stdFile_Eof(stdFileHandle handle)
{
    FileSlot* slot = SlotOf(handle);
    if (!slot) return 1;
    return slot->isFile ? feof(slot->pFile) : stdVop_Eof(slot->pStream);
}

long stdFile_Tell(stdFileHandle handle)
{
    FileSlot* slot = SlotOf(handle);
    if (!slot) return -1;
    return slot->isFile ? ftell(slot->pFile) : (long)stdVop_Tell(slot->pStream);
}

// 0 on success and -1 on failure for both kinds of file, as the standard seek answers.
int stdFile_Seek(stdFileHandle handle, long offset, int origin)
{
    FileSlot* slot = SlotOf(handle);
    if (!slot) return -1;
    if (slot->isFile) return fseek(slot->pFile, offset, origin);
    return stdVop_Seek(slot->pStream, offset, origin) ? 0 : -1;
}

long stdFile_Length(stdFileHandle handle)
{
    const long here = stdFile_Tell(handle);
    if (here < 0 || stdFile_Seek(handle, 0, SEEK_END) != 0) return -1;
    const long end = stdFile_Tell(handle);
    if (stdFile_Seek(handle, here, SEEK_SET) != 0) return -1;
    return end;
}

uint32_t stdFile_Size(const char* path)
{
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file) return 0;
    long size = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : 0;
    fclose(file);
    return size > 0 ? (uint32_t)size : 0;
}

int stdFile_Printf(stdFileHandle handle, const char* format, ...)
{
    FileSlot* slot = SlotOf(handle);
    if (!slot || !slot->isFile) return 0;
    static char text[2048];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    text[sizeof text - 1] = 0;
    fwrite(text, 1, strlen(text), slot->pFile);
    return 0;
}

// Directory searches and file and folder operations.

struct stdFileSearch {
    HANDLE hFind;          // null before the first match and after a reset
    WIN32_FIND_DATAA data; // cFileName holds the pattern until the first search
    char pattern[MAX_PATH];
    int mode;
    int bDone;             // the system search has no entry left
};

namespace {

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
