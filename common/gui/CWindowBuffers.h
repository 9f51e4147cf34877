#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** Keeps the picture that each window with a native title bar is drawn in, so that
    a menu or a list that opens over the window stays open.

    On X11, JUCE drops a window's picture after 3 s without drawing, and the first
    drawing after that (the title of a menu lit as the menu opens, a list's box as
    it drops down) hands the window's bounds to the X server again. A window manager
    answers with the window's configuration, which JUCE takes for the window dragged
    by its title bar: it closes the menu or list that has just opened, and the click
    that opened it is lost. Drawing one pixel of each such window that shows every
    second keeps its picture.

    Elsewhere than on Linux and the BSDs it does nothing. Main thread only.
*/
class CWindowBuffers final : private juce::Timer
{
public:
    CWindowBuffers();
    ~CWindowBuffers() override;

private:
    void timerCallback() override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CWindowBuffers)
};
