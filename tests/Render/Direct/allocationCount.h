// Counts the allocations made through operator new while a count is open: the test program
// replaces operator new with one that counts (allocationCount.cpp).
#pragma once

class AllocationCount {
public:
    AllocationCount();
    ~AllocationCount();
    AllocationCount(const AllocationCount&) = delete;
    AllocationCount& operator=(const AllocationCount&) = delete;
    // Allocations since the count was opened.
    int Count() const;
};
