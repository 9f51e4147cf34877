#include <gtest/gtest.h>

// The runners of the layers without a display link no GUI module: what starts JUCE lies in juce_events.
#include <juce_events/juce_events.h>

int main (int argc, char** argv)
{
    // No JUCEApplication here: this also stops the constructor assertion when a
    // test builds an application object of its own.
    juce::JUCEApplicationBase::createInstance = +[]() -> juce::JUCEApplicationBase* { return nullptr; };

    // Every component must be gone before this goes.
    juce::ScopedJuceInitialiser_GUI juce;

    ::testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}
