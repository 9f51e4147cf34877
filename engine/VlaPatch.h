#pragma once

#include "engine/VlAction.h"

#include <optional>

//==============================================================================
/** Base of the actions that target a patch (go to, mute).

    The target is a reference to a patch of the engine, never a stored position, so
    moving patches needs no renumbering. A patch index read from a document is held
    apart, as pending, until resolveReferences() turns it into the reference; until
    then the action has no target and does nothing.
*/
class VlaPatch : public VlAction
{
public:
    /** No target. */
    explicit VlaPatch (const juce::String& typeName);

    /** Copies the target (or the pending index). */
    VlaPatch (const VlaPatch&);

    /** Frees the action. */
    ~VlaPatch() override;

    //==============================================================================
    /** The target patch, or null. */
    VlPatch* getPatch() const noexcept { return patch; }

    /** Targets the engine's patch at that index; none when the index is out of range. */
    virtual void setPatch (juce::uint16 index);

    /** The target's position in the engine's list; 65535 without one. */
    juce::uint16 getPatchIndex() const;

    /** The patch index read from a document and not resolved yet. */
    std::optional<juce::uint16> getPendingPatchIndex() const noexcept { return pendingPatch; }

    //==============================================================================
    /** Targets the engine's patch at the pending index; false when there is none. */
    bool resolveReferences() override;

    /** True when the target is this patch. */
    bool refersToPatch (const VlPatch& other) const override;

    /** Drops the target patch when it is one of those. */
    void forgetTargets (const std::set<const VlPatch*>& patches,
                        const std::set<const VlControlCfg*>& controls) override;

    /** Adds "patch" (the target's present position, 65535 without one). */
    void saveToXml (juce::XmlElement& element) const override;

    /** Requires "patch"; holds it, moved behind the offset, as the pending index. */
    bool loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset) override;

protected:
    VlPatch* patch = nullptr;

private:
    std::optional<juce::uint16> pendingPatch;

    JUCE_LEAK_DETECTOR (VlaPatch)
};
