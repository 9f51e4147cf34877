#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** Has JUCE's event loop handle at once what it has taken in already, after each
    window of the application has gone, rather than at the next event from outside
    (the mouse moving).

    On X11, JUCE destroys a window with an XSync, which reads every event that has
    come so far (the exposures of the windows it uncovered among them) into Xlib's
    queue, and the loop hands that queue to JUCE only when the connection has more
    to read: a window that goes from a timer or a posted message (the start picture,
    a box of a command chosen from a menu) would leave its pixels on the windows
    below. And after a modal loop run inside a posted message, the loop loses count
    of what it ran and sleeps again; a quit asked for there would wait, since once
    told to quit the loop takes no message that could wake it. Every modal loop
    belongs to a window, which goes when the loop is over.

    JUCE tells its focus listeners after every window it removes; each time, this
    hands Xlib's queue to JUCE, and once a quit is on its way it wakes the loop
    through a pipe of its own. The pipe is watched only from then on: JUCE's loop
    keeps the callbacks of the descriptors ready at once in one list that a modal
    loop run from one of them refills, and a third descriptor ready beside the other
    two would have it grow under the outer loop's feet. Elsewhere than on X11 it
    does nothing. Main thread only.
*/
class CEventLoopWaker final : private juce::FocusChangeListener
{
public:
    CEventLoopWaker();
    ~CEventLoopWaker() override;

private:
    void globalFocusChanged (juce::Component*) override;
    void wakeTheLoop();

    int pipeEnds[2] = { -1, -1 };
    bool handingOver = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CEventLoopWaker)
};
