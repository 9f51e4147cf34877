#pragma once

#include <cstdlib>

/** Stops the fuzzer when a property fails to hold: libFuzzer reports the crash and keeps the input. */
inline void require (bool condition)
{
    if (! condition)
        std::abort();
}
