#include "stdHash.h"

#include <cstdlib>
#include <cstring>

namespace {

const int kPrimes[32] = {23,  53,  79,  101, 151, 211, 251, 307, 353,  401,  457,
                         503, 557, 601, 653, 701, 751, 809, 853, 907,  953,  1009,
                         1103, 1201, 1301, 1409, 1511, 1601, 1709, 1801, 1901, 1999};

const int kKeyLength = 128;  // characters that take part in a comparison

int IsPrime(uint32_t n)
{
    for (uint32_t d = 2; d + 2 <= n; d++) {
        if (n % d == 0) return 0;
        if (d > n / d) break;  // no divisor above the square root without one below it
    }
    return 1;
}

uint32_t BucketCount(int requested)
{
    for (int prime : kPrimes) {
        if (prime > requested) return (uint32_t)prime;
    }
    if (requested == 1999) return 1999;
    uint32_t n = (uint32_t)requested;
    while (!IsPrime(n)) n++;
    return n;
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

uint32_t HashText(const char* key)
{
    uint32_t h = 0;
    for (uint32_t i = 1; i < kKeyLength && key[i - 1]; i++) {
        h += (uint32_t)(int32_t)(signed char)Lower(key[i - 1]) * i;
    }
    return h;
}

int KeysEqual(const char* a, const char* b)
{
    for (int i = 0; i < kKeyLength; i++) {
        if (Lower(a[i]) != Lower(b[i])) return 0;
        if (!a[i]) return 1;
    }
    return 1;
}

stdHashEntry* FindText(stdHash* hash, const char* key, uint32_t* bucket)
{
    *bucket = HashText(key) % hash->bucketCount;
    for (stdHashEntry* e = hash->buckets[*bucket]; e; e = e->next) {
        if (e->key && KeysEqual(e->key, key)) return e;
    }
    return nullptr;
}

stdHashEntry* FindInteger(stdHash* hash, uint32_t key, uint32_t* bucket)
{
    *bucket = key % hash->bucketCount;
    for (stdHashEntry* e = hash->buckets[*bucket]; e; e = e->next) {
        if (!e->key && e->intKey == key) return e;
    }
    return nullptr;
}

int Link(stdHash* hash, uint32_t bucket, const char* key, uint32_t intKey, void* value)
{
    stdHashEntry* e = (stdHashEntry*)malloc(sizeof(stdHashEntry));
    if (!e) return 0;
    e->key = key;
    e->intKey = intKey;
    e->value = value;
    e->prev = nullptr;
    e->next = hash->buckets[bucket];
    if (e->next) e->next->prev = e;
    hash->buckets[bucket] = e;
    hash->count++;
    return 1;
}

int Unlink(stdHash* hash, uint32_t bucket, stdHashEntry* e)
{
    if (!e) return 0;
    if (e->prev) e->prev->next = e->next;
    else hash->buckets[bucket] = e->next;
    if (e->next) e->next->prev = e->prev;
    free(e);
    hash->count--;
    return 1;
}

}  // namespace

stdHash* stdHash_Create(int requested, const char* name)
{
    stdHash* hash = (stdHash*)calloc(1, sizeof(stdHash));
    if (!hash) return nullptr;
    hash->bucketCount = BucketCount(requested);
    hash->buckets = (stdHashEntry**)calloc(hash->bucketCount, sizeof(stdHashEntry*));
    if (!hash->buckets) {
        free(hash);
        return nullptr;
    }
    if (name) strncpy(hash->name, name, sizeof hash->name - 1);
    return hash;
}

void stdHash_Free(stdHash* hash)
{
    if (!hash) return;
    for (uint32_t b = 0; b < hash->bucketCount; b++) {
        stdHashEntry* e = hash->buckets[b];
        while (e) {
            stdHashEntry* next = e->next;
            free(e);
            e = next;
        }
    }
    free(hash->buckets);
    free(hash);
}

int stdHash_Add(stdHash* hash, const char* key, void* value)
{
    if (!hash || !key) return 0;
    uint32_t bucket;
    if (FindText(hash, key, &bucket)) return 0;
    return Link(hash, bucket, key, 0, value);
}

int stdHash_AddInt(stdHash* hash, uint32_t key, void* value)
{
    if (!hash) return 0;
    uint32_t bucket;
    if (FindInteger(hash, key, &bucket)) return 0;
    return Link(hash, bucket, nullptr, key, value);
}

void* stdHash_Find(stdHash* hash, const char* key)
{
    if (!hash || !key) return nullptr;
    uint32_t bucket;
    stdHashEntry* e = FindText(hash, key, &bucket);
    return e ? e->value : nullptr;
}

void* stdHash_FindInt(stdHash* hash, uint32_t key)
{
    if (!hash) return nullptr;
    uint32_t bucket;
    stdHashEntry* e = FindInteger(hash, key, &bucket);
    return e ? e->value : nullptr;
}

int stdHash_Remove(stdHash* hash, const char* key)
{
    if (!hash || !key) return 0;
    uint32_t bucket;
    stdHashEntry* e = FindText(hash, key, &bucket);
    return Unlink(hash, bucket, e);
}

int stdHash_RemoveInt(stdHash* hash, uint32_t key)
{
    if (!hash) return 0;
    uint32_t bucket;
    stdHashEntry* e = FindInteger(hash, key, &bucket);
    return Unlink(hash, bucket, e);
}
