#pragma once

#include "engine/VlaPatch.h"

//==============================================================================
/** Selects its target patch at the release of a footswitch ("goto").

    Acts only in play and navigation mode: never while the initial states are
    played after a load, nor while the patches editor tests it.
*/
class VlaGoTo : public VlaPatch
{
public:
    /** No target. */
    VlaGoTo();

    /** Same target. */
    VlaGoTo (const VlaGoTo&);

    /** Frees the action. */
    ~VlaGoTo() override;

    /** "goto". */
    juce::String getElementName() const override;

    /** Appends the comment and "patch" rows. */
    void addProperties (VlPropertyRows& rows) const override;

    /** At a release (0) in mode 1 or 2: the engine goes to the target, recording the visit. */
    void execute (juce::uint8 value) override;

    /** A copy of this action; the caller owns it. */
    std::unique_ptr<VlAction> clone() const override;

private:
    JUCE_LEAK_DETECTOR (VlaGoTo)
};
