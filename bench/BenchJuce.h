#pragma once

#include "BenchSummary.h"
#include "app/VlLookAndFeel.h"
#include "fixtures/JuceAssertionCheck.h"

//==============================================================================
/** JUCE's GUI for a benchmark program that draws: no application object, and the
    application's look as the default, so that text is drawn in the application's fonts.
    Everything that draws must be gone before it goes. A JUCE assertion that fails meanwhile
    makes the program's exit status 1, as a failed benchmark does.
*/
class BenchJuce
{
public:
    BenchJuce() { juce::LookAndFeel::setDefaultLookAndFeel (VlLookAndFeel::getInstance (true)); }

    // BenchSummary::finish() has given the status: an assertion from here on fails the program as it ends.
    ~BenchJuce()
    {
        assertions.allReported();
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }

private:
    JuceAssertionCheck& assertions = JuceAssertionCheck::install (
        [] (const juce::String&, int, const juce::String&) { BenchSummary::anyFailed() = true; });

    const bool withoutApplication = [] {
        juce::JUCEApplicationBase::createInstance = +[]() -> juce::JUCEApplicationBase* { return nullptr; };
        return true;
    }();

    juce::ScopedJuceInitialiser_GUI initialiser;
};
