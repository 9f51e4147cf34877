#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The application's main window, made hidden and centred. Closing it is a quit request. */
class VlWindow : public juce::DocumentWindow
{
public:
    /** A hidden window of 800 x 500, centred on the screen. */
    VlWindow();

    /** Asks the application to quit. */
    void closeButtonPressed() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlWindow)
};
