#pragma once

#include "engine/VlControlState.h"

#include <optional>

class VlPatch;

//==============================================================================
/** The definition of one control of a patch: a footswitch (id 1..10) or an
    expression pedal (11, 12).

    A control is either plain, owning its states, or a link to a control of another
    patch, whose appearance and behaviour it then takes: what is shown or played
    comes from the end of the link chain; what edits or saves the definition acts on
    the control itself. The chain is walked with a bound, so a cyclic chain read from
    a file acts as a link without target. A link without target shows its own label,
    target and colour and has no states to show or play, even if it was given some.

    A link read from a document holds the patch index and control id apart, as
    pending, until resolveLink() turns them into references.
*/
class VlControlCfg
{
public:
    /** Empty label and target, white, no states, not linked. */
    VlControlCfg();

    /** A copy (see operator=). */
    VlControlCfg (const VlControlCfg& other);

    /** Copies the definition and copies of the states; a copied link links to the same
        control. Current value and muted flag start afresh.
    */
    VlControlCfg& operator= (const VlControlCfg& other);

    /** Deletes every state. */
    ~VlControlCfg();

    //==============================================================================
    /** @name Shown and played: read at the end of the link chain. */
    /** The caption. */
    const juce::String& getLabel() const noexcept;

    /** The free text naming what the control drives. */
    const juce::String& getTarget() const noexcept;

    /** The ARGB colour. */
    juce::uint32 getColor() const noexcept;

    /** True when the control runs no actions. */
    bool isMuted() const noexcept;

    /** The last value applied: 1 press / 0 release, or 0..127 for a pedal. */
    juce::uint8 getCurrentValue() const noexcept;

    /** The number of states. */
    int getStateCount() const noexcept;

    /** The state at that index, or null. */
    VlControlState* getState (int index) const noexcept;

    /** The state the next use runs, or null. */
    VlControlState* getCurrentState() const noexcept;

    /** The index of the current state. */
    juce::uint8 getCurrentStateIndex() const noexcept;

    /** Makes that state current; ignored when the index is out of range. */
    void setCurrentState (juce::uint8 index) noexcept;

    /** The control at the end of the link chain: this one when it is not a link, when
        its link has no target, or when the chain does not end (a cycle).
    */
    const VlControlCfg& getEnd() const noexcept;

    /** The control at the end of the link chain. */
    VlControlCfg& getEnd() noexcept;

    //==============================================================================
    /** @name The definition itself. */
    /** The control's own caption (a link's own, not its target's). */
    const juce::String& getOwnLabel() const noexcept { return label; }

    /** Changes the own caption. */
    void setLabel (const juce::String& newLabel) { label = newLabel; }

    /** The control's own target text. */
    const juce::String& getOwnTarget() const noexcept { return target; }

    /** Changes the own target text. */
    void setTarget (const juce::String& newTarget) { target = newTarget; }

    /** The control's own colour. */
    juce::uint32 getOwnColor() const noexcept { return color; }

    /** Changes the own colour. */
    void setColor (juce::uint32 newColor) noexcept { color = newColor; }

    /** The state made current by playInitState() after a load. */
    juce::uint8 getInitState() const noexcept { return initState; }

    /** Changes the initial state. */
    void setInitState (juce::uint8 index) noexcept { initState = index; }

    /** The pedal value played by sendInitValue() after a load. */
    juce::uint8 getInitValue() const noexcept { return initValue; }

    /** Changes the initial value. */
    void setInitValue (juce::uint8 value) noexcept { initValue = value; }

    /** The control's own states (empty for a link). */
    const std::vector<std::unique_ptr<VlControlState>>& getStates() const noexcept { return states; }

    /** Appends a new default state and makes state 0 current. */
    void addNewState();

    /** Appends the state (ownership passes); returns its index. */
    int addState (std::unique_ptr<VlControlState> state);

    /** Deletes the state, unless it is the last one or not held here. The initial state
        stays the same state; when it is the one deleted, the first state becomes initial.
    */
    void deleteState (const VlControlState* state);

    /** Deletes every state; the current state index is unchanged, the initial state is
        the first.
    */
    void deleteAllStates();

    /** Exchanges the states at a and b (both must be in range); the current index is unchanged. */
    void moveState (int a, int b);

    /** The state's index, -1 when not held here. */
    int indexOfState (const VlControlState* state) const noexcept;

    //==============================================================================
    /** @name Playing. */
    /** A footswitch press (1) or release (0), or a pedal value: runs the current state
        of the chain's end unless it is muted, stores the value, and on a release of a
        footswitch with several states steps to the next state and has the board redraw
        that footswitch.
    */
    void trigger (int controlId, juce::uint8 value);

    /** Mutes or unmutes the chain's end: runs its current state with 0 (mute) or its
        current value (unmute) and redraws the pedals. Nothing when the flag does not
        change, except in mode 5.
    */
    void setMuted (bool shouldBeMuted);

    /** Plain controls only: runs state 0 with the initial value (at most 127). */
    void sendInitValue();

    /** Plain controls only, with two or more states: plays a press and release of the
        state before the initial one, leaving the initial state current.
    */
    void playInitState();

    //==============================================================================
    /** @name Links. */
    /** True when the control is a link. */
    bool isLinked() const noexcept { return linked; }

    /** Makes the control a link (to the first linkable control of another patch,
        dropping its states, so that the first state is initial) or a plain control (with
        one new state), unmuted.
    */
    void setLinked (bool shouldBeLinked);

    /** The linked patch, or null. */
    VlPatch* getLinkPatch() const noexcept { return linkPatch; }

    /** The linked control, or null. */
    VlControlCfg* getLinkControl() const noexcept { return linkControl; }

    /** Links only: links to the engine's patch at that index and its first linkable
        control of this control's kind.
    */
    void setLinkPatch (juce::uint16 patchIndex);

    /** Links only: links to the control with that id in the linked patch. */
    void setLinkControl (int controlId);

    /** 0 when not linked; else the linked patch's position, 65535 when it has none. */
    juce::uint16 getLinkPatchIndex() const;

    /** -1 when not linked or without a linked patch; else the linked control's id there. */
    int getLinkControlId() const;

    /** For the document reader: sets the flag as read (states untouched) and holds the
        patch index and control id read until resolveLink().
    */
    void setPendingLink (bool isLinked, juce::uint16 patchIndex, int controlId) noexcept;

    /** True while a link read from a document is not resolved yet. */
    bool hasPendingLink() const noexcept { return pendingLinkPatch.has_value(); }

    /** Turns the pending link into references. True for a plain control; for a link,
        true only when it has a target and its chain ends.
    */
    bool resolveLink();

    /** Forgets the link's references (the link stays a link, without target). */
    void clearLinkTarget() noexcept;

    /** Before these patches and controls are deleted: a link to one of them loses that
        target (staying a link), and so does every action of the own states.
    */
    void forgetTargets (const std::set<const VlPatch*>& patches, const std::set<const VlControlCfg*>& controls);

    //==============================================================================
    /** @name The document. */
    /** Adds "label", "target", "color", "init_state", "init_value", "linked",
        "link_patch" and "link_control" to the element (on which the patch has set
        "id") and, unless the control is a link, one "state" child per state.
    */
    void saveToXml (juce::XmlElement& item) const;

    /** Reads those eight attributes (all required: false before any is taken) into a
        new control, holding the link as pending with its patch index moved behind
        `patchOffset`, then reads every "state" child and, unless the control is a link,
        appends it. False when a state cannot be read (the states read so far stay).
    */
    bool loadFromXml (bool footswitch, const juce::XmlElement& item, juce::uint16 patchOffset);

private:
    //==============================================================================
    juce::String label, target;
    juce::uint32 color = 0xffffffff;
    std::vector<std::unique_ptr<VlControlState>> states;
    juce::uint8 currentState = 0, initState = 0, initValue = 0, currentValue = 0;
    bool muted = false, muting = false, linked = false;
    VlPatch* linkPatch = nullptr;
    VlControlCfg* linkControl = nullptr;
    std::optional<juce::uint16> pendingLinkPatch;
    int pendingLinkControl = -1;

    int getOwnId() const;
    const std::vector<std::unique_ptr<VlControlState>>& getPlayedStates() const noexcept;

    JUCE_LEAK_DETECTOR (VlControlCfg)
};
