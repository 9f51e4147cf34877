#include "fixtures/JuceAssertionCheck.h"

#include <gtest/gtest.h>

// The runners of the layers without a display link no GUI module: what starts JUCE lies in juce_events.
#include <juce_events/juce_events.h>

int main (int argc, char** argv)
{
    // A failed jassert fails the test during which it fired, on whichever thread; one that fires
    // while JUCE starts or stops, or as the program ends, fails the program.
    auto& assertions =
        JuceAssertionCheck::install ([] (const juce::String& file, int line, const juce::String& message) {
            ADD_FAILURE_AT (file.toRawUTF8(), line) << message;
        });

    // No JUCEApplication here: this also stops the constructor assertion when a
    // test builds an application object of its own.
    juce::JUCEApplicationBase::createInstance = +[]() -> juce::JUCEApplicationBase* { return nullptr; };

    // Every component must be gone before this goes.
    juce::ScopedJuceInitialiser_GUI juce;

    ::testing::InitGoogleTest (&argc, argv);
    const auto whileStarting = assertions.getNumAssertions();
    const auto status = RUN_ALL_TESTS();
    assertions.allReported();
    return whileStarting > 0 ? 1 : status;
}
