// The stand-in platform functions of the native fuzz build (declared in windows.h beside this
// file), done over the C library and POSIX.
#include "windows.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

namespace {

// The platform takes '\' as a folder separator; the product's paths use it throughout.
std::string Native(const char* path)
{
    std::string out = path ? path : "";
    for (char& c : out) {
        if (c == '\\') c = '/';
    }
    return out;
}

struct Search {
    DIR* dir;
    std::string folder;
    std::string pattern;
};

// "*.*" matches every name, as it does on the platform; letter case never counts.
bool Matches(const std::string& pattern, const char* name)
{
    if (pattern == "*.*" || pattern == "*") return true;
    return fnmatch(pattern.c_str(), name, FNM_CASEFOLD) == 0;
}

BOOL Next(Search* search, WIN32_FIND_DATAA* data)
{
    while (dirent* entry = readdir(search->dir)) {
        if (!Matches(search->pattern, entry->d_name)) continue;
        struct stat info;
        std::string path = search->folder + "/" + entry->d_name;
        if (stat(path.c_str(), &info) != 0) continue;
        memset(data, 0, sizeof *data);
        data->dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        if (!(info.st_mode & S_IWUSR)) data->dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
        data->ftLastWriteTime.dwLowDateTime = (DWORD)info.st_mtime;
        snprintf(data->cFileName, sizeof data->cFileName, "%s", entry->d_name);
        return 1;
    }
    return 0;
}

// The settings file as it was when its first key was read since the last StandIn_FilesWritten:
// the settings read dozens of keys an input, and reading the file once for all of them is what
// makes the target fast. A static buffer, so that the heap check of an input sees nothing.
struct ProfileText {
    bool read;
    bool present;
    char path[MAX_PATH];
    size_t size;
    char bytes[1 << 20];  // far more than any input
};
ProfileText g_profile;

const ProfileText* ReadProfile(const char* path)
{
    if (g_profile.read && !strcmp(g_profile.path, path)) return g_profile.present ? &g_profile : nullptr;
    g_profile.read = snprintf(g_profile.path, sizeof g_profile.path, "%s", path) < (int)sizeof g_profile.path;
    g_profile.size = 0;
    FILE* file = fopen(Native(path).c_str(), "rb");
    g_profile.present = file != nullptr;
    if (!file) return nullptr;
    g_profile.size = fread(g_profile.bytes, 1, sizeof g_profile.bytes, file);
    fclose(file);
    return &g_profile;
}

// The value of key in section of an INI text, as the platform reads it: names compared without
// regard to case, blanks round names and values dropped, one pair of enclosing quotes taken off.
bool FindProfileValue(const char* path, const char* section, const char* key, std::string* value)
{
    const ProfileText* profile = ReadProfile(path);
    if (!profile) return false;
    auto trim = [](std::string s) {
        size_t from = s.find_first_not_of(" \t\r\n");
        size_t to = s.find_last_not_of(" \t\r\n");
        return from == std::string::npos ? std::string() : s.substr(from, to - from + 1);
    };
    bool inSection = false;
    const char* at = profile->bytes;
    const char* const end = profile->bytes + profile->size;
    while (at < end) {
        const char* lineEnd = (const char*)memchr(at, '\n', (size_t)(end - at));
        if (!lineEnd) lineEnd = end;
        std::string text = trim(std::string(at, lineEnd));
        at = lineEnd + 1;
        if (!text.empty() && text[0] == '[') {
            size_t close = text.find(']');
            std::string name = trim(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = strcasecmp(name.c_str(), section) == 0;
            continue;
        }
        size_t equals = text.find('=');
        if (!inSection || equals == std::string::npos) continue;
        if (strcasecmp(trim(text.substr(0, equals)).c_str(), key) != 0) continue;
        *value = trim(text.substr(equals + 1));
        if (value->size() >= 2 && (*value)[0] == (*value)[value->size() - 1] &&
            ((*value)[0] == '"' || (*value)[0] == '\''))
            *value = value->substr(1, value->size() - 2);
        return true;
    }
    return false;
}

// The platform's file system finds a name in any letter case. The files the work folder holds
// when the program starts (a game folder's) are indexed by their lower-case paths then, so
// that a lookup allocates nothing and reads no folder; the inputs a target writes are opened by
// the names the loaders ask for.
class CaselessIndex {
public:
    CaselessIndex() { Walk(".", ""); std::sort(entries_.begin(), entries_.end()); }

    // The path of an indexed file whose folders and name match these without regard to case,
    // or null.
    const char* Find(const std::string& path) const
    {
        char key[1024];
        size_t n = 0;
        for (size_t i = path.compare(0, 2, "./") == 0 ? 2 : 0; i < path.size() && n + 1 < sizeof key; i++)
            key[n++] = (char)tolower((unsigned char)path[i]);
        key[n] = 0;
        auto at = std::lower_bound(entries_.begin(), entries_.end(), key,
                                   [](const Entry& e, const char* k) { return e.lower < k; });
        return at != entries_.end() && at->lower == key ? at->real.c_str() : nullptr;
    }

private:
    struct Entry {
        std::string lower, real;
        bool operator<(const Entry& other) const { return lower < other.lower; }
    };

    void Walk(const std::string& folder, const std::string& prefix)
    {
        DIR* dir = opendir(folder.c_str());
        if (!dir) return;
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string real = prefix + name, lower = real;
            for (char& c : lower) c = (char)tolower((unsigned char)c);
            entries_.push_back({lower, real});
            struct stat info;
            if (stat((folder + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                Walk(folder + "/" + name, real + "/");
        }
        closedir(dir);
    }

    std::vector<Entry> entries_;
};

const CaselessIndex g_caseless;

}  // namespace

// The C library of the platform takes '\' in paths and finds files in any letter case: every
// fopen of the fuzz build's own objects comes here (the link wraps fopen).
extern "C" FILE* __real_fopen(const char* path, const char* mode);
extern "C" FILE* __wrap_fopen(const char* path, const char* mode)
{
    if (!path || !*path) return __real_fopen(path, mode);
    std::string native = Native(path);
    FILE* file = __real_fopen(native.c_str(), mode);
    if (file || errno != ENOENT) return file;
    const char* caseless = g_caseless.Find(native);
    return caseless ? __real_fopen(caseless, mode) : nullptr;
}

extern "C" {

HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data)
{
    std::string path = Native(pattern);
    size_t slash = path.rfind('/');
    Search* search = new Search;
    search->folder = slash == std::string::npos ? "." : path.substr(0, slash);
    search->pattern = slash == std::string::npos ? path : path.substr(slash + 1);
    if (search->folder.empty()) search->folder = "/";
    search->dir = opendir(search->folder.c_str());
    if (search->dir && Next(search, data)) return search;
    if (search->dir) closedir(search->dir);
    delete search;
    return INVALID_HANDLE_VALUE;
}

BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data)
{
    return search && search != INVALID_HANDLE_VALUE && Next((Search*)search, data);
}

BOOL FindClose(HANDLE handle)
{
    if (!handle || handle == INVALID_HANDLE_VALUE) return 0;
    Search* search = (Search*)handle;
    closedir(search->dir);
    delete search;
    return 1;
}

BOOL CreateDirectoryA(const char* path, void*)
{
    return mkdir(Native(path).c_str(), 0777) == 0;
}

BOOL RemoveDirectoryA(const char* path)
{
    return rmdir(Native(path).c_str()) == 0;
}

BOOL DeleteFileA(const char* path)
{
    return unlink(Native(path).c_str()) == 0;
}

BOOL MoveFileExA(const char* from, const char* to, DWORD)
{
    return rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

DWORD GetCurrentDirectoryA(DWORD size, char* out)
{
    char folder[4096];
    if (!getcwd(folder, sizeof folder)) return 0;
    DWORD length = (DWORD)strlen(folder);
    if (!out || size <= length) return length + 1;
    memcpy(out, folder, length + 1);
    return length;
}

void StandIn_FilesWritten()
{
    g_profile.read = false;
}

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText,
                               char* out, DWORD size, const char* path)
{
    if (!out || size == 0) return 0;
    std::string value;
    if (!section || !key || !FindProfileValue(path, section, key, &value))
        value = defaultText ? defaultText : "";
    size_t length = value.size() < size - 1 ? value.size() : size - 1;
    memcpy(out, value.data(), length);
    out[length] = 0;
    return (DWORD)length;
}

// The fuzzers only read settings: a write fails, as a write to a read-only file does.
BOOL WritePrivateProfileStringA(const char*, const char*, const char*, const char*)
{
    return 0;
}

BOOL WritePrivateProfileStructA(const char*, const char*, const void*, UINT, const char*)
{
    return 0;
}

HMODULE LoadLibraryA(const char*)
{
    return nullptr;
}

FARPROC GetProcAddress(HMODULE, const char*)
{
    return nullptr;
}

int MessageBoxA(HWND, const char* text, const char* caption, UINT)
{
    fprintf(stderr, "message box \"%s\": %s\n", caption ? caption : "", text ? text : "");
    return 1;
}

BOOL OpenClipboard(HWND)
{
    return 0;
}

BOOL CloseClipboard()
{
    return 0;
}

HANDLE GetClipboardData(UINT)
{
    return nullptr;
}

void* GlobalLock(HGLOBAL)
{
    return nullptr;
}

BOOL GlobalUnlock(HGLOBAL)
{
    return 0;
}

size_t GlobalSize(HGLOBAL)
{
    return 0;
}

DWORD timeGetTime()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (DWORD)((uint64_t)now.tv_sec * 1000 + (uint64_t)now.tv_nsec / 1000000);
}

}  // extern "C"
