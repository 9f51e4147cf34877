#pragma once

#include "engine/VlTypes.h"

#include <array>
#include <atomic>
#include <map>
#include <set>

//==============================================================================
/** Which note or controller of the pedal board plays which control: each control
    1..12 has at most one key (note n for a footswitch, 128 + controller c for a
    pedal) and each key at most one control. Starts with footswitch n on note n and
    the pedals on controllers 1 and 7.

    Threads: changed on the main thread (or, while the MIDI input dialog learns, on the
    MIDI input thread under the message-manager lock); getControlOfKey() is read on the
    MIDI input thread meanwhile, without a lock.
*/
class VlLearnTable
{
public:
    VlLearnTable();

    /** Stores the note (footswitch) or controller (pedal) number for a control;
        NoLearntKey forgets its key. False, leaving the control with no key, when the
        message belongs to another control.
    */
    bool set (int controlId, int number);

    /** The control's key (note n, or 128 + controller c), NoLearntKey when none. */
    int get (int controlId) const;

    /** Starts a learning pass: no control counts as learnt in it yet. */
    void startPass();

    /** Stores the message for a control during a learning pass, like set(), except that
        only a control learnt earlier in the pass keeps its message: false, changing
        nothing (this control keeps its key). A message that any other control holds (its
        default or an old key) moves to this control, and that control has no key until
        its turn.
    */
    bool learn (int controlId, int number);

    /** Restores a table that writeTo wrote: `saved` maps control ids 1..12 to their
        texts. A swapped table comes back exactly; a control whose value is absent or
        not a number keeps its key.
    */
    void restore (const std::map<int, juce::String>& saved);

    /** Sets "fs1".."fs10", "ep1", "ep2" on the element. */
    void writeTo (juce::XmlElement& element) const;

    /** The control id of that key 0..255, 0 for none; any thread, lock-free. */
    int getControlOfKey (int key) const noexcept { return controlOfKey[(size_t) key].load (std::memory_order_relaxed); }

private:
    //==============================================================================
    static juce::uint16 keyOf (int controlId, int number) noexcept;
    void publish();

    std::map<juce::uint16, int> controlsByKey;
    std::set<int> learntThisPass;

    // What the MIDI thread reads, kept in step with controlsByKey.
    std::array<std::atomic<int>, 256> controlOfKey {};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlLearnTable)
};
