#pragma once
// Heap allocations made so far by the whole process, counted by this binary's replacement of the
// global operator new.

#include <cstdint>

std::uint64_t allocationCount();
