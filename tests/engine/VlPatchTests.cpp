#include "engine/VlPatch.h"

#include <gtest/gtest.h>

namespace
{
    // A control whose one action tells when it is deleted, to see what a patch frees.
    std::unique_ptr<VlControlCfg> controlWithProbe (bool& deleted)
    {
        struct Probe : VlAction
        {
            explicit Probe (bool& flag)
                : VlAction ("probe"),
                  deleted (flag)
            {
            }
            ~Probe() override { deleted = true; }
            juce::String getElementName() const override { return "probe"; }
            void execute (juce::uint8) override {}
            std::unique_ptr<VlAction> clone() const override { return std::make_unique<Probe> (deleted); }
            bool& deleted;
        };

        auto control = std::make_unique<VlControlCfg>();
        control->addNewState();
        control->getState (0)->addAction (std::make_unique<Probe> (deleted));
        return control;
    }

    juce::String idsOf (const VlPatch& patch)
    {
        juce::StringArray ids;

        for (const auto& entry : patch.getControls())
            ids.add (juce::String (entry.first));

        return ids.joinIntoString (",");
    }
}

TEST (VlPatchTests, ATakenIdKeepsItsControlAndFreesTheOneGiven)
{
    VlPatch patch;
    bool firstDeleted = false, secondDeleted = false;
    auto* first = patch.setControl (4, controlWithProbe (firstDeleted));
    EXPECT_EQ (patch.setControl (4, controlWithProbe (secondDeleted)), nullptr);
    EXPECT_TRUE (secondDeleted);
    EXPECT_FALSE (firstDeleted);
    EXPECT_EQ (patch.getControl (4), first);
    VlPatch other;
    patch.removeControl (other.setControl (4, std::make_unique<VlControlCfg>()));
    EXPECT_FALSE (firstDeleted);
    patch.removeControl (first);
    EXPECT_TRUE (firstDeleted);
}

TEST (VlPatchTests, RearrangeMovesTheSameControlToTheLowestFreeFootswitch)
{
    VlPatch patch;
    for (int id : { 1, 2, 3, 11 })
        patch.setControl (id, std::make_unique<VlControlCfg>());
    auto* moved = patch.getControl (3);
    patch.rearrange (3);
    EXPECT_EQ (idsOf (patch), "1,2,4,11");
    EXPECT_EQ (patch.getControl (4), moved);
    for (int id = 3; id <= 10; ++id)
        patch.setControl (id, std::make_unique<VlControlCfg>());
    patch.rearrange (4);
    patch.rearrange (6);
    EXPECT_EQ (idsOf (patch), "1,2,3,4,5,6,7,8,9,10,11");
    EXPECT_EQ (patch.getControl (4), moved);
}

TEST (VlPatchTests, ACopyOwnsCopiesOfTheControls)
{
    bool deleted = false;    // outlives the patches: their probes write it when freed
    VlPatch source;
    source.setControl (7, controlWithProbe (deleted));
    VlPatch copy (source);
    copy.removeControl (copy.getControl (7));
    EXPECT_TRUE (deleted);
    EXPECT_EQ (source.getControl (7)->getState (0)->getActions().size(), 1u);
}
