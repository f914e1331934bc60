// Shared by the fuzz targets: a property that must hold for every input.
#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property aborts, which libFuzzer records as a crash with the input
// that caused it, and which fails the corpus test in the ordinary build.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
