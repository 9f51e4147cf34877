#include "engine/VlPatch.h"

#include <gtest/gtest.h>

namespace
{
    // An action that tells when it is deleted, to see what a patch frees.
    struct DeletionProbe : VlAction
    {
        explicit DeletionProbe (bool& flag) : VlAction ("probe"), deleted (flag) {}
        ~DeletionProbe() override { deleted = true; }
        juce::String getElementName() const override { return "probe"; }
        void execute (juce::uint8) override {}
        std::unique_ptr<VlAction> clone() const override { return std::make_unique<DeletionProbe> (deleted); }
        bool& deleted;
    };

    std::unique_ptr<VlControlCfg> controlWithProbe (bool& deleted)
    {
        auto control = std::make_unique<VlControlCfg>();
        control->addNewState();
        control->getState (0)->addAction (std::make_unique<DeletionProbe> (deleted));
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

TEST (VlPatchTests, ANewPatchIsAnEmptyUntitledOne)
{
    VlPatch patch;

    EXPECT_EQ (patch.getName(), "Untitled");
    EXPECT_EQ (patch.getLevel(), 0);
    EXPECT_EQ (patch.getColor(), 0xffe3e3e3u);
    EXPECT_EQ (patch.getComment(), "");
    EXPECT_EQ (patch.getNumControls(), 0);
}

TEST (VlPatchTests, ControlsAreKeptInIdOrderAndCountedByKind)
{
    VlPatch patch;
    patch.setControl (12, std::make_unique<VlControlCfg>());
    auto* three = patch.setControl (3, std::make_unique<VlControlCfg>());
    patch.setControl (1, std::make_unique<VlControlCfg>());

    EXPECT_EQ (patch.countControlsOfKind (5), 2);
    EXPECT_EQ (patch.countControlsOfKind (11), 1);
    EXPECT_EQ (patch.countControlsOfKind (0), 3);

    int id = 0;
    EXPECT_EQ (patch.getControlAt (2, id), patch.getControl (12));
    EXPECT_EQ (id, 12);
    EXPECT_EQ (patch.getControlAt (3, id), nullptr);
    EXPECT_EQ (id, 12);

    EXPECT_EQ (patch.indexOfControl (three), 1);
    EXPECT_EQ (patch.getIdOfControl (three), 3);

    VlControlCfg stranger;
    EXPECT_EQ (patch.indexOfControl (&stranger), -1);
    EXPECT_EQ (patch.getIdOfControl (&stranger), -1);
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

    EXPECT_EQ (patch.setControl (5, nullptr), nullptr);
    EXPECT_EQ (idsOf (patch), "4");
}

TEST (VlPatchTests, RemovesOnlyItsOwnControls)
{
    VlPatch patch, other;
    bool deleted = false;
    auto* mine = patch.setControl (2, controlWithProbe (deleted));
    auto* theirs = other.setControl (2, std::make_unique<VlControlCfg>());

    patch.removeControl (theirs);
    EXPECT_EQ (patch.getNumControls(), 1);

    patch.removeControl (mine);
    EXPECT_EQ (patch.getNumControls(), 0);
    EXPECT_TRUE (deleted);
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

    patch.rearrange (3);
    EXPECT_EQ (idsOf (patch), "1,2,4,11");

    for (int id = 3; id <= 10; ++id)
        patch.setControl (id, std::make_unique<VlControlCfg>());

    patch.rearrange (10);
    EXPECT_EQ (patch.getNumControls(), 11);
}

TEST (VlPatchTests, ACopyOwnsCopiesOfTheControls)
{
    VlPatch source;
    source.setName ("Verse");
    source.setLevel (3);
    bool deleted = false;
    source.setControl (7, controlWithProbe (deleted));

    VlPatch copy (source);
    EXPECT_EQ (copy.getName(), "Verse");
    EXPECT_EQ (copy.getLevel(), 3);
    EXPECT_NE (copy.getControl (7), source.getControl (7));

    deleted = false;
    copy.removeControl (copy.getControl (7));
    EXPECT_TRUE (deleted);
    EXPECT_NE (source.getControl (7), nullptr);
}
