#pragma once

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <cstdlib>

/** Set-up of a fuzzer that writes every input to a file and reads it back through
    the application's own paths.
*/
inline void prepareFileFuzzing()
{
    // The application object is ours, as in the test runners.
    juce::JUCEApplicationBase::createInstance = +[]() -> juce::JUCEApplicationBase* { return nullptr; };

    // Every input is written and synced to disk: on a RAM disk that costs nothing.
    if (juce::File ("/dev/shm").isDirectory())
        setenv ("TMPDIR", "/dev/shm", 1);
}
