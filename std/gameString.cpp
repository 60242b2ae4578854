#include "gameString.h"

#include <cstdlib>
#include <cstring>

#include "stdFile.h"
#include "stdHash.h"
#include "stdPath.h"
#include "stdString.h"

namespace {

struct StringRecord {
    char key[GAMESTRING_KEY_SIZE];
    char* pValue;
};

struct FileRecord {
    char name[GAMESTRING_KEY_SIZE];
    int numStrings;
};

struct Argument {
    char code;
    char text[GAMESTRING_ARG_SIZE];
};

StringRecord g_records[GAMESTRING_MAX_RECORDS];
int g_numRecords;
FileRecord g_files[GAMESTRING_MAX_FILES];
int g_numFiles;
stdHash* g_pStrings;  // record key -> value
stdHash* g_pFiles;    // file name -> its FileRecord
int g_bStartup;

Argument g_args[GAMESTRING_MAX_ARGS];
int g_numArgs;
char g_work[GAMESTRING_TEXT_SIZE];
char g_result[GAMESTRING_TEXT_SIZE];

const char kBlank[] = " ";
const char* const kStartupTables[] = {"system", "game", "effects", "chronicles"};

int IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

void CopyLowerKey(char* out, const char* key)
{
    strncpy(out, key, GAMESTRING_KEY_SIZE - 1);
    out[GAMESTRING_KEY_SIZE - 1] = 0;
    stdString_ToLower(out);
}

// The indexes are made on first need, so that lookups work in a program that never started
// the module.
int EnsureIndexes()
{
    if (!g_pStrings) g_pStrings = stdHash_Create(4096, "gameString - Strings");
    if (!g_pFiles) g_pFiles = stdHash_Create(24, "gameString - Files");
    return g_pStrings && g_pFiles;
}

// Takes the next record for key -> value and enters it in the index, replacing an earlier
// definition when asked to. The value is copied.
const char* Define(const char* key, const char* value, int replace)
{
    if (!EnsureIndexes() || g_numRecords >= GAMESTRING_MAX_RECORDS) return nullptr;
    StringRecord* record = &g_records[g_numRecords];
    CopyLowerKey(record->key, key);
    if (!record->key[0]) return nullptr;
    int defined = stdHash_Find(g_pStrings, record->key) != nullptr;
    if (defined && !replace) return nullptr;
    record->pValue = stdString_Duplicate(value);
    if (!record->pValue) return nullptr;
    if (defined) stdHash_Remove(g_pStrings, record->key);
    if (!stdHash_Add(g_pStrings, record->key, record->pValue)) {
        free(record->pValue);
        record->pValue = nullptr;
        return nullptr;
    }
    g_numRecords++;
    return record->pValue;
}

// Reads one line of at most GAMESTRING_LINE_SIZE - 1 characters; the rest of a longer line is
// read and thrown away up to and including its line feed. A marker in the last byte tells
// whether the buffer was filled, so that a NUL inside a line cannot pass for a long line.
char* ReadLine(char* line, stdFileHandle file)
{
    line[GAMESTRING_LINE_SIZE - 1] = 1;
    if (!stdFile_Gets(line, GAMESTRING_LINE_SIZE, file)) return nullptr;
    int filled = line[GAMESTRING_LINE_SIZE - 1] == 0 && line[GAMESTRING_LINE_SIZE - 2] != '\n';
    while (filled) {
        char rest[GAMESTRING_LINE_SIZE];
        rest[GAMESTRING_LINE_SIZE - 1] = 1;
        if (!stdFile_Gets(rest, GAMESTRING_LINE_SIZE, file)) break;
        filled = rest[GAMESTRING_LINE_SIZE - 1] == 0 && rest[GAMESTRING_LINE_SIZE - 2] != '\n';
    }
    return line;
}

// Splits a line into its key and value; 0 for a comment, a blank line or a line that holds a
// key only. The value runs to the line feed (a carriage return before it is dropped, since
// pack entries are read without text-mode translation).
int SplitLine(char* line, char** key, char** value)
{
    char* p = line;
    while (*p && IsBlank(*p) && *p != '\r' && *p != '\n') p++;
    if (!*p || *p == '\r' || *p == '\n' || *p == '#' || (p[0] == '/' && p[1] == '/')) return 0;
    *key = p;
    while (*p && !IsBlank(*p)) p++;
    if (!*p) return 0;
    *p++ = 0;
    while (*p && IsBlank(*p) && *p != '\n') p++;
    *value = p;
    char* end = strchr(p, '\n');
    if (!end) end = p + strlen(p);
    if (end > p && end[-1] == '\r') end--;
    *end = 0;
    return **value != 0;
}

FileRecord* FindFile(const char* name)
{
    char key[GAMESTRING_KEY_SIZE];
    CopyLowerKey(key, name);
    return g_pFiles ? (FileRecord*)stdHash_Find(g_pFiles, key) : nullptr;
}

const Argument* FindArgument(char code)
{
    for (int i = 0; i < g_numArgs; i++) {
        if (g_args[i].code == code) return &g_args[i];
    }
    return nullptr;
}

// Fills the argument table from "%Xtext%Ytext...": the text of each runs to the next '%'.
void ParseArguments(const char* arguments)
{
    g_numArgs = 0;
    const char* p = strchr(arguments, '%');
    while (p && p[1] && g_numArgs < GAMESTRING_MAX_ARGS) {
        Argument* arg = &g_args[g_numArgs++];
        arg->code = p[1];
        const char* text = p + 2;
        const char* next = strchr(text, '%');
        size_t length = next ? (size_t)(next - text) : strlen(text);
        if (length > GAMESTRING_ARG_SIZE - 1) length = GAMESTRING_ARG_SIZE - 1;
        memcpy(arg->text, text, length);
        arg->text[length] = 0;
        p = next;
    }
}

}  // namespace

int gameString_Startup()
{
    if (!EnsureIndexes()) return 0;
    g_bStartup = 1;
    for (const char* table : kStartupTables) gameString_LoadFile(table);
    return 1;
}

int gameString_Shutdown()
{
    for (int i = 0; i < g_numRecords; i++) {
        free(g_records[i].pValue);
        g_records[i].pValue = nullptr;
    }
    g_numRecords = 0;
    g_numFiles = 0;
    stdHash_Free(g_pStrings);
    stdHash_Free(g_pFiles);
    g_pStrings = nullptr;
    g_pFiles = nullptr;
    g_bStartup = 0;
    return 1;
}

int gameString_IsStarted()
{
    return g_bStartup;
}

int gameString_LoadFile(const char* name)
{
    if (!name || !*name || !EnsureIndexes()) return 0;
    if (FindFile(name)) return 1;
    if (g_numFiles >= GAMESTRING_MAX_FILES) return 0;
    // A name that cannot take its extension whole would open another file: refuse it.
    char path[GAMESTRING_NAME_SIZE];
    if (!stdPath_MakeFileName(path, sizeof path, name, "kez", STDPATH_KEEP_EXTENSION)) return 0;
    stdFileHandle file = stdFile_Open(path, "rt", STDFILE_TYPE_STRINGS);
    if (!file) return 0;

    FileRecord* record = &g_files[g_numFiles];
    record->numStrings = 0;
    char line[GAMESTRING_LINE_SIZE];
    while (ReadLine(line, file)) {
        char* key;
        char* value;
        if (SplitLine(line, &key, &value) && Define(key, value, 1)) record->numStrings++;
    }
    stdFile_Close(file);

    CopyLowerKey(record->name, name);
    if (!stdHash_Add(g_pFiles, record->name, record)) return 0;
    g_numFiles++;
    return 1;
}

int gameString_Add(const char* key, const char* value)
{
    if (!key || !value) return 0;
    return Define(key, value, 0) != nullptr;
}

const char* gameString_Get(const char* key)
{
    if (!key) return kBlank;
    char lower[GAMESTRING_KEY_SIZE];
    CopyLowerKey(lower, key);
    if (g_pStrings) {
        if (const char* value = (const char*)stdHash_Find(g_pStrings, lower)) return value;
    }
    // An undefined key stands for itself, as passed, from now on.
    const char* value = Define(key, key, 0);
    return value ? value : kBlank;
}

const char* gameString_Format(const char* key, const char* arguments)
{
    if (!arguments) return gameString_Get(key);
    ParseArguments(arguments);
    strncpy(g_work, gameString_Get(key), sizeof g_work - 1);
    g_work[sizeof g_work - 1] = 0;

    size_t length = 0;
    const size_t room = sizeof g_result - 1;
    for (const char* p = g_work; *p && length < room; p++) {
        if (*p != '%') {
            g_result[length++] = *p;
            continue;
        }
        if (!p[1]) break;
        const Argument* arg = FindArgument(*++p);
        if (!arg) continue;
        const char* text = (*p >= 'A' && *p <= 'Z') ? arg->text : gameString_Get(arg->text);
        size_t n = strlen(text);
        if (n > room - length) n = room - length;
        memcpy(g_result + length, text, n);
        length += n;
    }
    g_result[length] = 0;
    return g_result;
}

int gameString_GetCount()
{
    return g_numRecords;
}

int gameString_GetFileCount()
{
    return g_numFiles;
}

int gameString_GetFileStrings(const char* name)
{
    const FileRecord* record = name ? FindFile(name) : nullptr;
    return record ? record->numStrings : -1;
}
