// Common ground of the native fuzz targets. Each target writes its input where the loader looks
// for it (in the work folder that scripts/fuzz.sh starts it in) and runs the loader inside a
// Scope, which makes these findings of what the sanitizers do not see:
// - an allocation larger than a bound derived from the input's size (a header must never make a
//   loader allocate what the file cannot hold);
// - a heap that holds more or less after the input than before it: whatever a loader made of
//   the file, the target released it and shut the modules down, so nothing may be left (the
//   sanitizers' own leak check cannot run under the i386 emulator).
// Failed assertions of the libraries are reported once for each place that raises them (some
// are what the libraries do on a hostile file). FUZZ_TRACE_SIZE=N in the environment shows where
// each allocation of N bytes inside a scope is made, to find what a heap difference is.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fuzz {

// Writes the bytes to the file path (folders separated by '\' or '/').
void WriteInput(const char* path, const uint8_t* data, size_t size);

class Scope {
public:
    explicit Scope(size_t inputSize);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    int64_t heapAtStart_;
};

// Starts, once, the file layer, the std bitmap cache and the render front-end on the tests'
// recording raster table, with the frame clock on a clock that only NextFrame moves and a
// camera 300 units from the origin looking at it.
void StartLibraries();
// One frame as the libraries see it: the clock moves on, the frame ends, and the raster table
// forgets the calls it recorded.
void NextFrame(uint32_t milliseconds);

}  // namespace fuzz
