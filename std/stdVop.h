// Pack archives (.vop): ZIP files whose entries are stored uncompressed. The local headers
// are indexed once; entries are read straight out of the archive file through streams.
#pragma once
#include <cstdint>
#include <cstdio>

struct stdHash;

enum {
    STDVOP_NAME_SIZE = 128,
    STDVOP_MAX_ENTRIES = 20000,
    STDVOP_READ_BLOCK = 64 * 1024,  // the local headers are read in blocks of this size
};

struct stdVopEntry {
    uint32_t offset;  // of the entry's data in the archive
    uint32_t size;
    char name[STDVOP_NAME_SIZE];  // lower case, '\' as separator
};

struct stdVop;

struct stdVopStream {
    uint32_t inUse;
    stdVop* pVop;
    stdVopEntry* pEntry;
    uint32_t position;  // bytes from the entry's start
    uint8_t bEnd;
};

struct stdVop {
    char path[128];
    FILE* pFile;
    stdVopEntry* pEntries;
    uint32_t numEntries;
    stdHash* pHash;
    uint32_t numStreams;
    stdVopStream* pStreams;
    stdVopStream* pLastStream;  // the stream that moved the file position last
    uint32_t fileSize;
    uint32_t bClosePending;     // closed while streams were open: freed with the last one
};

stdVop* stdVop_Open(const char* path, uint32_t streamCount);
int stdVop_Close(stdVop* vop);
stdVopStream* stdVop_OpenFile(stdVop* vop, const char* name);
void stdVop_CloseFile(stdVopStream* stream);
uint32_t stdVop_Read(void* buffer, uint32_t size, uint32_t count, stdVopStream* stream);
char* stdVop_Gets(char* buffer, int length, stdVopStream* stream);
uint16_t* stdVop_GetsWide(uint16_t* buffer, int length, stdVopStream* stream);
int stdVop_Seek(stdVopStream* stream, long offset, int origin);
uint32_t stdVop_Tell(const stdVopStream* stream);
int stdVop_Eof(const stdVopStream* stream);

// Reads one line of 16-bit characters from a file, at most length - 1 of them, and ends it
// with 0; returns the characters read.
int stdVop_ReadWideLine(uint16_t* buffer, int length, FILE* file);
