#pragma once
// A broken promise of the module, found by a fuzz target: said on standard error, then the run
// stops so that libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

inline void fuzzCheck(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", promise);
        std::abort();
    }
}
