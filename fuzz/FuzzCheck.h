#pragma once

// A property that an input broke: abort so that both libFuzzer and the replay program
// report it, with the input kept as a crash artifact.

#include <cstdio>
#include <cstdlib>

#define RVX_FUZZ_CHECK(condition)                                                             \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)
