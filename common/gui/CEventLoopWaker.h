#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** Has JUCE's event loop handle at once every event that the X server has sent,
    see a quit asked for after a modal loop, and quit on SIGTERM and SIGHUP as it
    does on SIGINT.

    On X11, the loop hands Xlib's queue to JUCE only when the connection has more
    to read. But a call to Xlib outside JUCE's handler for the connection reads the
    events that have come meanwhile into that queue: a repaint that checks whether
    its last blit is done, a window that goes (its XSync). Such an event would wait
    for the next one from outside: a click on the board a few milliseconds after a
    message from the pedal board that the board draws would play nothing until the
    mouse moved, and a window gone from a timer would leave its pixels on the windows
    below. Every such call runs from JUCE's message queue (timers, posted messages,
    asynchronous updates, the message-manager lock that the MIDI thread takes), so a
    duplicate of the queue's descriptor is watched beside it: ready exactly when the
    queue is, and numbered above it, its callback runs right after the queue's in the
    same round (the loop calls the ready descriptors in ascending order) and hands
    Xlib's queue to JUCE. JUCE also tells its focus listeners after every window it
    removes; each time, this hands the queue over as well.

    And the loop looks for a quit only after a round that ran something, counted in
    one list that every modal loop run inside the round empties: a quit asked for
    after a box (the save question) would wait for the next event from outside.
    wakeForQuit() has a pipe of our own ready to read, which makes the next round
    count. SIGTERM (a logout, `kill`) and SIGHUP (the terminal closed) write into
    the same pipe, whose callback then quits as JUCE's loop does on SIGINT: the
    application shuts down as after Quit, without a question.

    That list of a round's callbacks is refilled by a modal loop run from one of
    them: were it to grow there, the outer round would read freed memory. The first
    round after construction holds the message queue, its duplicate and the pipe,
    ready at once, which grows it (doubling) to room for four, the X connection's
    callback included; the loop watches no other descriptor.

    Elsewhere than on Linux and the BSDs it does nothing. Main thread only; one at
    a time, created outside the loop's rounds and deleted before JUCE's message
    queue goes.
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
    void woken();

    int pipeEnds[2] = { -1, -1 };
    int queueDuplicate = -1;
    bool handingOver = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CEventLoopWaker)
};
