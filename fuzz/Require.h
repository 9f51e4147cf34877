#pragma once

#include "fixtures/JuceAssertionCheck.h"

#include <cstdlib>

/** Stops the fuzzer when a property fails to hold: libFuzzer reports the crash and keeps the input. */
inline void require (bool condition)
{
    if (! condition)
        std::abort();
}

/** A JUCE assertion stops the fuzzer too: some input made us call JUCE in a state it does not support. */
inline JuceAssertionCheck& juceAssertionsStopTheFuzzer =
    JuceAssertionCheck::install ([] (const juce::String&, int, const juce::String&) { std::abort(); });
