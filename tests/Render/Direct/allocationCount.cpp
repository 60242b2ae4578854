#include "allocationCount.h"
#include <cstdlib>
#include <new>

namespace {

bool bCounting;
int numAllocations;

}  // namespace

// The runtime's operator delete frees with free(), so it serves this one too.
void* operator new(std::size_t size)
{
    if (bCounting) numAllocations++;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

AllocationCount::AllocationCount()
{
    numAllocations = 0;
    bCounting = true;
}

AllocationCount::~AllocationCount()
{
    bCounting = false;
}

int AllocationCount::Count() const
{
    return numAllocations;
}
