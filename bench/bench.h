// What every benchmark shares: a clock, the median of a set of timings, and rounds that
// alternate the bare baseline with the code it is compared with, so that a change in the
// machine's load falls on both alike.
#pragma once
#include <windows.h>

#include <algorithm>
#include <vector>

inline double bench_Seconds()
{
    static const double ticksPerSecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return (double)frequency.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / ticksPerSecond;
}

inline double bench_Median(std::vector<double> values)
{
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Medians in seconds of one call of each.
struct benchPair {
    double bare;
    double subject;
    double Ratio() const { return bare > 0.0 ? subject / bare : 0.0; }
};

// One untimed call of each to warm caches up, then `rounds` rounds of bare then subject, each
// call timed on its own.
template <class Bare, class Subject>
benchPair bench_Compare(int rounds, Bare&& bare, Subject&& subject)
{
    bare();
    subject();
    std::vector<double> bareTimes, subjectTimes;
    for (int round = 0; round < rounds; round++) {
        double start = bench_Seconds();
        bare();
        bareTimes.push_back(bench_Seconds() - start);
        start = bench_Seconds();
        subject();
        subjectTimes.push_back(bench_Seconds() - start);
    }
    return {bench_Median(bareTimes), bench_Median(subjectTimes)};
}
