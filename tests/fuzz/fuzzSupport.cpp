#include "fuzzSupport.h"

#include <sanitizer/allocator_interface.h>
#include <sanitizer/common_interface_defs.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fakeRaster.h"
#include "windows.h"
#include "mathFrame.h"
#include "renderAssert.h"
#include "renderCamera.h"
#include "renderMain.h"
#include "renderTimer.h"
#include "stdBitmap.h"
#include "stdFile.h"
#include "stdTime.h"

namespace {

// What any input may make the libraries allocate at once: a UI work bitmap of the whole 640 x
// 480 screen at four bytes a pixel, and many times what the file itself holds.
const size_t kFixedAllowance = 2u << 20;
const size_t kPerInputByte = 16;

size_t g_bound;  // 0 outside a scope

// Runs inside the allocator: no allocation, no stdio.
void Say(const char* text)
{
    ssize_t ignored = write(2, text, strlen(text));
    (void)ignored;
}

void SayNumber(size_t value)
{
    char digits[24];
    int n = sizeof digits;
    digits[--n] = 0;
    do digits[--n] = (char)('0' + value % 10); while ((value /= 10) && n > 0);
    Say(digits + n);
}

size_t g_traceSize;  // FUZZ_TRACE_SIZE: the size of allocations to show where they are made

// The bytes the program holds, counted by the hooks. (The sanitizer's own count sums bytes ever
// allocated in a word that wraps on a 32-bit target within minutes of fuzzing.)
int64_t g_heapBytes;

void MallocHook(const volatile void* p, size_t size)
{
    __atomic_add_fetch(&g_heapBytes, (int64_t)size, __ATOMIC_RELAXED);
    if (g_bound && size == g_traceSize) {
        Say("==fuzz== allocation of the traced size at ");
        SayNumber((size_t)p);
        Say("\n");
        __sanitizer_print_stack_trace();
    }
    if (!g_bound || size <= g_bound) return;
    g_bound = 0;
    Say("==fuzz== allocation of ");
    SayNumber(size);
    Say(" bytes is above the bound for this input\n");
    __sanitizer_print_stack_trace();
    abort();
}

void FreeHook(const volatile void* p)
{
    if (!p) return;
    const int64_t size = (int64_t)__sanitizer_get_allocated_size((const void*)p);
    __atomic_sub_fetch(&g_heapBytes, size, __ATOMIC_RELAXED);
}

int64_t HeapBytes()
{
    return __atomic_load_n(&g_heapBytes, __ATOMIC_RELAXED);
}

uint32_t g_now = 1000;

uint32_t Clock()
{
    return g_now;
}

fakes::FakeRaster* g_pRaster;

struct HookInstaller {
    HookInstaller()
    {
        if (const char* size = getenv("FUZZ_TRACE_SIZE")) g_traceSize = strtoul(size, nullptr, 10);
        __sanitizer_install_malloc_and_free_hooks(MallocHook, FreeHook);
    }
} g_hooks;

}  // namespace

// Some assertions are what the libraries do on a hostile file (too many key tags, say): each
// is reported once, with where it was raised, and the run goes on.
static void ReportAssertion(const char* expression, const char* file, int line)
{
    struct Place {
        const char* file;
        int line;
    };
    static Place seen[64];  // no allocation here: the input's heap check is running
    static size_t numSeen;
    for (size_t i = 0; i < numSeen; i++) {
        if (seen[i].line == line && !strcmp(seen[i].file, file)) return;
    }
    if (numSeen < sizeof seen / sizeof seen[0]) seen[numSeen++] = {file, line};
    Say("==fuzz== assertion \"");
    Say(expression);
    Say("\" failed at ");
    Say(file);
    Say(":");
    SayNumber((size_t)line);
    Say("\n");
}

namespace fuzz {

void WriteInput(const char* path, const uint8_t* data, size_t size)
{
    std::string native = path;
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    FILE* file = fopen(native.c_str(), "wb");
    if (!file || (size && fwrite(data, 1, size, file) != size) || fclose(file) != 0) {
        fprintf(stderr, "==fuzz== cannot write %s in the work folder\n", native.c_str());
        abort();
    }
    StandIn_FilesWritten();
}

void StartLibraries()
{
    if (g_pRaster) return;
    stdTime_SetClock(Clock);
    stdFile_Startup();
    stdBitmap_Startup();
    renderAssert_SetHook(ReportAssertion);
    g_pRaster = new fakes::FakeRaster;
    // Far more calls than any frame of a target makes: recording never allocates in an input.
    g_pRaster->ReserveCalls(100000);
    if (!renderMain_Startup()) {
        fprintf(stderr, "==fuzz== the render front-end does not start\n");
        abort();
    }
    renderTimer_Start(&renderTimer_viewer);
    Camera* camera = renderCamera_Create(90.0f, 0, 1.0f, 1000.0f, 1.0f);
    renderCamera_SetViewport(camera, renderViewport_Create(0, 0, 0, 639, 479));
    mathFrame frame;
    mathFrame_Identity(&frame);
    frame.m[10] = -300.0f;
    renderCamera_SetFrame(camera, &frame);
    renderCamera_Select(camera);
}

void NextFrame(uint32_t milliseconds)
{
    g_now += milliseconds;
    renderTimer_Tick(&renderTimer_viewer);
    renderMain_EndFrame(0);
    g_pRaster->ForgetCalls();
}

Scope::Scope(size_t inputSize) : heapAtStart_(HeapBytes())
{
    g_bound = kFixedAllowance + kPerInputByte * inputSize;
}

Scope::~Scope()
{
    g_bound = 0;
    int64_t heap = HeapBytes();
    if (heap == heapAtStart_) return;
    fprintf(stderr, "==fuzz== the heap held %lld bytes more after the input than before it\n",
            (long long)(heap - heapAtStart_));
    abort();
}

}  // namespace fuzz
