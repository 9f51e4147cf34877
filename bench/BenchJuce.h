#pragma once

#include "app/VlLookAndFeel.h"

//==============================================================================
/** JUCE's GUI for a benchmark program that draws: no application object, and the
    application's look as the default, so that text is drawn in the application's fonts.
    Everything that draws must be gone before it goes.
*/
class BenchJuce
{
public:
    BenchJuce() { juce::LookAndFeel::setDefaultLookAndFeel (VlLookAndFeel::getInstance (true)); }
    ~BenchJuce() { juce::LookAndFeel::setDefaultLookAndFeel (nullptr); }

private:
    const bool withoutApplication = [] {
        juce::JUCEApplicationBase::createInstance = +[]() -> juce::JUCEApplicationBase* { return nullptr; };
        return true;
    }();

    juce::ScopedJuceInitialiser_GUI initialiser;
};
