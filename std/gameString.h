// Game strings: key/value texts loaded from string tables (.kez) into one table of records
// and a named index, looked up by key, optionally with placeholders expanded.
//
// Lookups, additions and file loads work whether or not gameString_Startup ran: the indexes
// are made on first need. A key that is not defined registers itself with its own text, so a
// lookup never returns null and its text stays valid until gameString_Shutdown.
#pragma once

enum {
    GAMESTRING_MAX_RECORDS = 4096,
    GAMESTRING_MAX_FILES = 16,
    GAMESTRING_KEY_SIZE = 32,       // 31 characters kept, lower case
    GAMESTRING_NAME_SIZE = 128,     // a file name with its extension
    GAMESTRING_LINE_SIZE = 1024,    // 1023 characters of a line, its line feed included
    GAMESTRING_TEXT_SIZE = 1024,    // 1023 characters of a formatted text
    GAMESTRING_MAX_ARGS = 16,
    GAMESTRING_ARG_SIZE = 128,      // 127 characters of an argument text
};

// Creates the indexes and loads "system", "game", "effects" and "chronicles" in that order.
int gameString_Startup();
int gameString_Shutdown();
int gameString_IsStarted();

// 1 when the table is loaded now or was before; 0 when it cannot be opened, its name does not
// fit, or the file table is full. The file is closed on every path.
int gameString_LoadFile(const char* name);
// 1, or 0 when the key is already defined, empty, or the record table is full.
int gameString_Add(const char* key, const char* value);
const char* gameString_Get(const char* key);
// Arguments of the form "%Xtext%Ytext...": an upper-case placeholder is replaced by its text,
// any other by the game string that its text names. Null arguments: as gameString_Get.
const char* gameString_Format(const char* key, const char* arguments);

int gameString_GetCount();
int gameString_GetFileCount();
// Strings read from a loaded file, or -1 when the file is not loaded.
int gameString_GetFileStrings(const char* name);
