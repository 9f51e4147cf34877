#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Keeps a window restored from a saved position where the user can see it. */
namespace CWindowPlacement
{
    /** Where a window of these bounds shows wholly on one of the usable areas.

        Bounds that lie wholly on the areas (on one, or across two side by side) come back
        unchanged. Otherwise they move,
        at their size, onto the area they overlap most (the nearest one when they overlap
        none): per axis wholly inside it where they fit, else with their top or left edge
        on its edge. No areas: unchanged. Pure; any thread.
    */
    juce::Rectangle<int> placeOnScreen (juce::Rectangle<int> bounds, const juce::Array<juce::Rectangle<int>>& areas);

    /** Moves the window, just restored from `savedState`, as placeOnScreen() says over the
        displays' user areas, its native frame included: the one its peer knows, or before
        it shows the one that the state saved. Never resizes it; a full-screen window is
        left alone. Main thread.
    */
    void moveOnScreen (juce::ResizableWindow& window, const juce::String& savedState);

    /** The state to save for a window that the window manager shows maximised: `state`
        (JUCE's, of the window as it shows) marked "fs", as JUCE marks a full-screen one,
        with `normalBounds`, those it had before, for its own: the place and size it goes
        back to. Empty normal bounds keep the state's. Pure; any thread.
    */
    juce::String maximisedState (const juce::String& state, juce::Rectangle<int> normalBounds);
}
