// Stand-in for the platform header in the native fuzz build: the Windows types, constants and
// functions that the loaders' code names, and nothing more. The functions are done over the C
// library and POSIX in windows.cpp beside this file; those the loaders never reach under the
// fuzzers (library loading, message boxes, the clipboard) only fail.
#pragma once
#include <cstddef>
#include <cstdint>

typedef uint32_t DWORD;
typedef int BOOL;
typedef unsigned int UINT;
typedef void* HANDLE;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef void* HGLOBAL;
typedef intptr_t(__cdecl* FARPROC)();

enum : DWORD {
    MAX_PATH = 260,
    FILE_ATTRIBUTE_READONLY = 0x1,
    FILE_ATTRIBUTE_DIRECTORY = 0x10,
    FILE_ATTRIBUTE_NORMAL = 0x80,
    INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF,
    MOVEFILE_REPLACE_EXISTING = 0x1,
    MB_TASKMODAL = 0x2000,
    CF_TEXT = 1,
};
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    char cFileName[MAX_PATH];
    char cAlternateFileName[14];
};

extern "C" {
// Files and folders; '\' separates folders as '/' does.
HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
BOOL FindClose(HANDLE search);
BOOL CreateDirectoryA(const char* path, void* security);
BOOL RemoveDirectoryA(const char* path);
BOOL DeleteFileA(const char* path);
BOOL MoveFileExA(const char* from, const char* to, DWORD flags);
DWORD GetCurrentDirectoryA(DWORD size, char* out);

// The settings file: an INI text file read and written as the platform's profile functions do.
// What is read of it is kept until StandIn_FilesWritten says the files may have changed.
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText,
                               char* out, DWORD size, const char* path);
BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* text,
                                const char* path);
BOOL WritePrivateProfileStructA(const char* section, const char* key, const void* data, UINT size,
                                const char* path);
void StandIn_FilesWritten();

// Never reached by the fuzzers: they bind the raster table in code and show no boxes.
HMODULE LoadLibraryA(const char* name);
FARPROC GetProcAddress(HMODULE module, const char* name);
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style);
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
HANDLE GetClipboardData(UINT format);
void* GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
size_t GlobalSize(HGLOBAL memory);
}
