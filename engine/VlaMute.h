#pragma once

#include "engine/VlaPatch.h"

//==============================================================================
/** Mutes or unmutes one expression pedal of its target patch at the release of a
    footswitch ("mute").

    The pedal is always control 11 or 12 of the target patch: any other id is no
    pedal, so a footswitch can never mute itself (which would recurse without end).
    A pedal id read from a document is held apart, as pending, until resolveReferences().
*/
class VlaMute : public VlaPatch
{
public:
    /** No patch, no pedal, mutes. */
    VlaMute();

    /** Same targets and switch. */
    VlaMute (const VlaMute&);

    /** Frees the action. */
    ~VlaMute() override;

    //==============================================================================
    /** The target pedal control, or null. */
    VlControlCfg* getPedal() const noexcept { return pedal; }

    /** Targets the patch at that index and its first pedal (11 before 12); no pedal
        when that patch defines none.
    */
    void setPatch (juce::uint16 index) override;

    /** Targets control 11 or 12 of the target patch (none when it has no such control
        or the id is not a pedal id); nothing without a target patch.
    */
    void setPedalId (int controlId);

    /** The pedal's id in the target patch; -1 without one. */
    int getPedalId() const;

    /** 1 mutes the pedal; any other value unmutes it. */
    juce::uint8 getMuteSwitch() const noexcept { return muteSwitch; }

    /** Sets what the action does (1 mute, 0 unmute). */
    void setMuteSwitch (juce::uint8 newSwitch) noexcept { muteSwitch = newSwitch; }

    //==============================================================================
    /** Resolves the patch, then its pedal of the pending id; false when either is missing. */
    bool resolveReferences() override;

    /** True when the target pedal is this control. */
    bool refersToControl (const VlControlCfg& control) const override;

    /** Drops the patch when it is one of those, and the pedal when it is one of those
        controls or its patch was dropped.
    */
    void forgetTargets (const std::set<const VlPatch*>& patches,
                        const std::set<const VlControlCfg*>& controls) override;

    /** "mute". */
    juce::String getElementName() const override;

    /** Adds "pedal" and "switch" after the patch. */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "pedal" and "switch" after the patch. */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

    /** Appends the comment, "patch", "pedal" and "action" rows. */
    void addProperties (VlPropertyRows& rows) const override;

    /** At a release (0): mutes or unmutes the pedal. */
    void execute (juce::uint8 value) override;

    /** A copy of this action; the caller owns it. */
    std::unique_ptr<VlAction> clone() const override;

private:
    VlControlCfg* pedal = nullptr;
    std::optional<int> pendingPedal;
    juce::uint8 muteSwitch = 1;

    JUCE_LEAK_DETECTOR (VlaMute)
};
