#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The application's main window. Closing it is a quit request. */
class VlWindow : public juce::DocumentWindow
{
public:
    VlWindow();

    void closeButtonPressed() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlWindow)
};
