// The file layer: every data file is opened by name and resource type, from the base
// folders on disk or from the pack archives found in them, and comes back as a handle from
// 1 to 32 (0: not found) that the read, line, seek and close operations take.
#pragma once
#include <cstdint>
#include <cstdio>

enum {
    STDFILE_NUM_TYPES = 25,
    STDFILE_MAX_FOLDERS = 16,
    STDFILE_NUM_BASES = 3,
    STDFILE_MAX_ARCHIVES = 64,
    STDFILE_NUM_SLOTS = 32,
    STDFILE_PATH_SIZE = 128,
    STDFILE_ARCHIVE_STREAMS = 32,
};

// Resource types named by their loaders.
enum {
    STDFILE_TYPE_ANIM = 0,
    STDFILE_TYPE_MATERIAL = 1,
    STDFILE_TYPE_MODEL = 2,
    STDFILE_TYPE_UI = 4,
    STDFILE_TYPE_STRINGS = 13,
};

typedef uint32_t stdFileHandle;

int stdFile_Startup();
void stdFile_Shutdown();
int stdFile_AddFolder(const char* folder, int type);
int stdFile_GetFolderCount(int type);
const char* stdFile_GetFolder(int type, int index);
int stdFile_SetBase(int record, const char* path, int scanArchives);
int stdFile_GetArchiveCount(int record);
// Slots holding an open file or pack entry.
int stdFile_GetOpenCount();
void stdFile_SetPrimaryBase(const char* path);
void stdFile_SetSecondaryBase(const char* path, int scanArchives);

stdFileHandle stdFile_Open(const char* name, const char* mode, int type);
stdFileHandle stdFile_OpenPath(const char* name, const char* mode);
FILE* stdFile_OpenStream(const char* name, const char* mode, int type);
int stdFile_Exists(const char* name, int type);
int stdFile_Resolve(const char* name, int type, char* out);
char* stdFile_GetPath(stdFileHandle handle, char* out);
int stdFile_IsPackEntry(stdFileHandle handle);
void stdFile_Close(stdFileHandle handle);

uint32_t stdFile_Read(void* buffer, uint32_t size, uint32_t count, stdFileHandle handle);
uint32_t stdFile_Write(const void* buffer, uint32_t size, uint32_t count, stdFileHandle handle);
char* stdFile_Gets(char* buffer, int length, stdFileHandle handle);
uint16_t* stdFile_GetsWide(uint16_t* buffer, int length, stdFileHandle handle);
int stdFile_Eof(stdFileHandle handle);
long stdFile_Tell(stdFileHandle handle);
int stdFile_Seek(stdFileHandle handle, long offset, int origin);
// Bytes in the open file or pack entry, the position left where it was; -1 when unknown.
long stdFile_Length(stdFileHandle handle);
uint32_t stdFile_Size(const char* path);
int stdFile_Printf(stdFileHandle handle, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Directory searches and file and folder operations.
enum {
    STDFILE_FIND_ALL = 0,
    STDFILE_FIND_FILES = 1,
    STDFILE_FIND_DIRS = 2,
    STDFILE_FIND_EXTENSION = 3,
};

struct stdFileSearch;  // owned by whoever opened it

struct stdFileMatch {
    char name[260];
    uint32_t isDirectory;    // 0x10 for a directory, else 0
    uint32_t lastWriteTime;  // low 32 bits
};

stdFileSearch* stdFile_FindOpen(const char* folder, int mode, const char* extension);
int stdFile_FindNext(stdFileSearch* search, stdFileMatch* match);
void stdFile_FindClose(stdFileSearch* search);
void stdFile_FindReset(stdFileSearch* search);
const char* stdFile_FindPattern(const stdFileSearch* search);
int stdFile_FindFirstMatch(const char* folder, int mode, const char* extension,
                           stdFileMatch* match);
int stdFile_CountMatches(const char* folder, int mode, const char* extension);
int stdFile_PathExists(const char* path);
int stdFile_CanOpen(const char* path);
int stdFile_CreateDir(const char* path);
int stdFile_RemoveDir(const char* path);
int stdFile_Delete(const char* path);
int stdFile_DeleteTree(const char* folder);
int stdFile_FindInPath(char* result, int size, const char* fileName, const char* folders);
