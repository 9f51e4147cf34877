#pragma once

#include "common/gui/CLookAndFeel.h"

//==============================================================================
/** Takes the arrow buttons off a viewport's scroll bars, which keep the rest of
    their look: the patch list and the editor's lists scroll by dragging or the
    wheel only.

    A member of the list that owns the viewport; it gives the scroll bars their
    look back before it goes. Main thread only.
*/
class VlArrowlessScrollBars
{
public:
    explicit VlArrowlessScrollBars (juce::Viewport& viewport);
    ~VlArrowlessScrollBars();

private:
    // JUCE 7 asks the look-and-feel whether a scroll bar has arrow buttons.
    struct Look final : public CLookAndFeel
    {
        bool areScrollbarButtonsVisible() override { return false; }
    };

    juce::Viewport& viewport;
    Look look;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlArrowlessScrollBars)
};
