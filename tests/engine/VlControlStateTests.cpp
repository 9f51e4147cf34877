#include "engine/VlControlState.h"
#include "engine/VlaGoTo.h"
#include "engine/VlamNote.h"

#include <gtest/gtest.h>

namespace
{
    // Records the values it runs with into a shared log.
    struct LoggingAction : VlAction
    {
        LoggingAction (juce::StringArray& logToUse, const juce::String& nameToUse)
            : VlAction ("log"), log (logToUse), name (nameToUse) {}
        juce::String getElementName() const override { return "log"; }
        void execute (juce::uint8 value) override { log.add (name + juce::String (value)); }
        std::unique_ptr<VlAction> clone() const override { return std::make_unique<LoggingAction> (*this); }
        juce::StringArray& log;
        juce::String name;
    };
}

TEST (VlControlStateTests, RunsItsActionsInListOrder)
{
    juce::StringArray log;
    VlControlState state;
    state.addAction (std::make_unique<LoggingAction> (log, "a"));
    state.addAction (std::make_unique<LoggingAction> (log, "b"));

    state.execute (1);
    state.execute (0);
    EXPECT_EQ (log.joinIntoString (" "), "a1 b1 a0 b0");

    VlControlState empty;
    empty.execute (1);
}

TEST (VlControlStateTests, DeletesOnlyItsOwnActions)
{
    VlControlState state, other;
    auto& mine = state.addAction (std::make_unique<VlamNote>());
    auto& theirs = other.addAction (std::make_unique<VlamNote>());

    state.deleteAction (&theirs);
    EXPECT_EQ (state.getActions().size(), 1u);

    state.deleteAction (&mine);
    EXPECT_TRUE (state.getActions().empty());
}

TEST (VlControlStateTests, KnowsWhetherItSelectsAPatch)
{
    VlControlState state;
    state.addAction (std::make_unique<VlamNote>());
    EXPECT_FALSE (state.hasGoToAction());

    state.addAction (std::make_unique<VlaGoTo>());
    EXPECT_TRUE (state.hasGoToAction());
}

TEST (VlControlStateTests, ACopyHoldsClones)
{
    VlControlState source;
    source.setLabel ("on");
    source.setColor (0xff0000ff);
    auto& note = static_cast<VlamNote&> (source.addAction (std::make_unique<VlamNote>()));
    note.setNumber (40);

    VlControlState copy (source);
    EXPECT_EQ (copy.getLabel(), "on");
    EXPECT_EQ (copy.getColor(), 0xff0000ffu);
    ASSERT_EQ (copy.getActions().size(), 1u);

    static_cast<VlamNote&> (*copy.getActions().front()).setNumber (41);
    EXPECT_EQ (note.getNumber(), 40);

    copy = copy;
    EXPECT_EQ (copy.getActions().size(), 1u);
}
