// A promise of the code under fuzzing that an input broke: said on
// standard error, then abort, which the fuzzer records as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(holds)                                                                    \
    do {                                                                                       \
        if (!(holds)) {                                                                        \
            std::fprintf(stderr, "%s:%d: promise broken: %s\n", __FILE__, __LINE__, #holds); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)
