#include "engine/VlControlState.h"
#include "engine/VlamNote.h"

#include <gtest/gtest.h>

TEST (VlControlStateTests, MovingAnActionExchangesTwoPlacesWithinTheList)
{
    VlControlState state;
    std::vector<const VlAction*> added;
    for (int i = 0; i < 3; ++i)
        added.push_back (&state.addAction (std::make_unique<VlamNote>()));
    const auto order = [&state, &added] {
        juce::String text;
        for (const auto& action : state.getActions())
            text << (int) (std::find (added.begin(), added.end(), action.get()) - added.begin());
        return text;
    };
    state.moveAction (0, 1);
    EXPECT_EQ (order(), "102");
    state.moveAction (2, 1);
    EXPECT_EQ (order(), "120");

    // A place outside the list changes nothing.
    for (auto [a, b] : { std::pair (2, 3), std::pair (-1, 0), std::pair (3, 3) })
        state.moveAction (a, b);
    EXPECT_EQ (order(), "120");
}
