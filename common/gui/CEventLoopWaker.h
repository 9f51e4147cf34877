#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** Has JUCE's event loop handle at once what it has taken in already, after each
    window of the application has gone, rather than at the next event from outside
    (the mouse moving), and see a quit asked for after a modal loop.

    On X11, JUCE destroys a window with an XSync, which reads every event that has
    come so far (the exposures of the windows it uncovered among them) into Xlib's
    queue, and the loop hands that queue to JUCE only when the connection has more
    to read: a window that goes from a timer or a posted message (the start picture,
    a box of a command chosen from a menu) would leave its pixels on the windows
    below. JUCE tells its focus listeners after every window it removes; each time,
    this hands Xlib's queue to JUCE.

    And the loop looks for a quit only after a round that ran something, counted in
    one list that every modal loop run inside the round empties: a quit asked for
    after a box (the save question) would wait for the next event from outside.
    wakeForQuit() has a pipe of our own ready to read, which makes the next round
    count. The pipe is watched only from then on: a modal loop run from one of the
    descriptors ready at once refills that list, and a third descriptor ready beside
    the other two would have it grow under the outer loop's feet.

    Elsewhere than on Linux and the BSDs it does nothing. Main thread only.
*/
class CEventLoopWaker final : private juce::FocusChangeListener
{
public:
    CEventLoopWaker();
    ~CEventLoopWaker() override;

    /** Call after JUCE's quit(). */
    void wakeForQuit();

private:
    void globalFocusChanged (juce::Component*) override;

    int pipeEnds[2] = { -1, -1 };
    bool handingOver = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CEventLoopWaker)
};
