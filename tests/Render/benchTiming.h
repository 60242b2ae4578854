// Timing of the benchmarks run by hand: a clock in seconds, and the baseline they compare a
// loader with, reading a file's bytes raw through the file layer into a fresh block.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "stdFile.h"

inline double bench_Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

// Seconds per raw read of size bytes of the named file of a resource type; ends the program
// when the file cannot be read.
inline double bench_TimeRawRead(const char* name, size_t size, int type, int repeats)
{
    const double start = bench_Seconds();
    for (int i = 0; i < repeats; i++) {
        // A fresh block each time, as a loader needs one.
        uint8_t* buffer = (uint8_t*)malloc(size);
        stdFileHandle file = stdFile_Open(name, "rb", type);
        if (!buffer || !file || stdFile_Read(buffer, 1, (uint32_t)size, file) != size) {
            fprintf(stderr, "raw read of %s failed\n", name);
            exit(1);
        }
        stdFile_Close(file);
        free(buffer);
    }
    return (bench_Seconds() - start) / repeats;
}
