#pragma once

#include "engine/VlAction.h"

#include <vector>

//==============================================================================
/** One state of a control: a label and a colour for the pedal board, and the
    ordered actions that run together when the control is used while this state is
    current. Owns its actions.
*/
class VlControlState
{
public:
    /** Empty label, white, no actions. */
    VlControlState();

    /** A state holding clones of the other's actions. */
    VlControlState (const VlControlState& other);

    /** Replaces label, colour and actions by those of the other (clones of its actions). */
    VlControlState& operator= (const VlControlState& other);

    /** Deletes every action. */
    ~VlControlState();

    //==============================================================================
    /** The caption shown while the state is current. */
    const juce::String& getLabel() const noexcept { return label; }

    /** Changes the caption. */
    void setLabel (const juce::String& newLabel) { label = newLabel; }

    /** The state's ARGB colour. */
    juce::uint32 getColor() const noexcept { return color; }

    /** Changes the state's colour. */
    void setColor (juce::uint32 newColor) noexcept { color = newColor; }

    //==============================================================================
    /** The actions, in the order they run and are written. */
    const std::vector<std::unique_ptr<VlAction>>& getActions() const noexcept { return actions; }

    /** Appends an action (ownership passes) and returns it. */
    VlAction& addAction (std::unique_ptr<VlAction> action);

    /** Deletes the action when this state holds it; otherwise nothing. */
    void deleteAction (const VlAction* action);

    /** Deletes every action. */
    void deleteAllActions();

    /** Exchanges the actions at positions a and b (the editor moves an action up or down
        by one with it); nothing when either is outside the list.
    */
    void moveAction (int a, int b);

    /** True when one of the actions selects a patch (VlaGoTo). */
    bool hasGoToAction() const;

    /** Runs every action in list order with the value: 1 press, 0 release, 0..127 pedal. */
    void execute (juce::uint8 value);

    //==============================================================================
    /** A new "state" element with "label", "color" and one child per action; the caller owns it. */
    std::unique_ptr<juce::XmlElement> createXml() const;

    /** Reads "label" and "color" (both required: false before either is taken), then
        appends an action for every child whose tag names one for this kind of control
        (VlAction::createForTag); other children are skipped. False, with the failed
        action kept, when an action cannot read its element.
        @param patchOffset  added to every patch index read (a merge behind other patches)
    */
    bool loadFromXml (bool footswitch, const juce::XmlElement& element, juce::uint16 patchOffset);

private:
    juce::String label;
    juce::uint32 color = 0xffffffff;
    std::vector<std::unique_ptr<VlAction>> actions;

    JUCE_LEAK_DETECTOR (VlControlState)
};
