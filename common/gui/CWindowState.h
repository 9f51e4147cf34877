#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** Brings a top-level window back as the user left it, with a window manager or
    without one, and says what to save of it.

    Made with its window, which it follows from then on. restore() places the
    window, still hidden, from a saved state; toString() is the state to save.
    A window that the window manager shows maximised is saved as such, with the
    place and size it had before, and comes back maximised at them.

    For a resizable window it also keeps the size limits meant for the window's
    own area once the window manager's frame is known: JUCE then counts the frame
    in them, and would let the window, and tell the window manager to let it, be
    that much smaller. Main thread only.
*/
class CWindowState final : private juce::ComponentListener
{
public:
    /** Follows `window`, which must outlive this and have JUCE's own constrainer. */
    explicit CWindowState (juce::ResizableWindow& window);
    ~CWindowState() override;

    /** Places the window, before it shows, where `state` says: toString()'s form or
        JUCE's getWindowStateAsString(), whose frame part counts before the window
        manager's frame is known. A window that is not resizable keeps its size and
        takes the place only. A window that would not lie wholly on a screen is moved
        onto it (CWindowPlacement::moveOnScreen). A state marked "fs" has the window
        manager maximise the window once it has framed it there.

        @returns false, and leaves the window as it is, for a state that holds no
                 usable bounds (empty, unparsable, an empty rectangle)
    */
    bool restore (const juce::String& state);

    /** The state to save: JUCE's, or, while the window manager shows the window
        maximised, CWindowPlacement::maximisedState() with the bounds it had before.
    */
    juce::String toString() const;

private:
    void componentMovedOrResized (juce::Component&, bool wasMoved, bool wasResized) override;
    void countFrameInLimits();
    bool isMaximised() const;
    void maximiseOnceFramed();

    juce::ResizableWindow& window;
    juce::Rectangle<int> normalBounds, earlierNormalBounds;
    bool frameCounted = false, maximiseWhenFramed = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CWindowState)
};
