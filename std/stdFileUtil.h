// Directory searches and file and folder operations.
#pragma once
#include <cstdint>

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
