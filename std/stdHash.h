// Named hash tables: separately chained buckets, keyed by text (compared without regard to
// the case of A to Z over the first 128 characters) or by a 32-bit integer. A table stores
// pointers only; it never copies or frees keys or values.
#pragma once
#include <cstdint>

struct stdHashEntry {
    stdHashEntry* next;
    stdHashEntry* prev;
    const char* key;     // null for an integer entry
    uint32_t intKey;
    void* value;
};

struct stdHash {
    char name[32];
    uint32_t count;
    uint32_t bucketCount;
    stdHashEntry** buckets;
};

stdHash* stdHash_Create(int requested, const char* name);
void stdHash_Free(stdHash* hash);
int stdHash_Add(stdHash* hash, const char* key, void* value);
int stdHash_AddInt(stdHash* hash, uint32_t key, void* value);
void* stdHash_Find(stdHash* hash, const char* key);
void* stdHash_FindInt(stdHash* hash, uint32_t key);
int stdHash_Remove(stdHash* hash, const char* key);
int stdHash_RemoveInt(stdHash* hash, uint32_t key);
