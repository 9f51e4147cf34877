#include "VlEngineTests.h"

// The learn table.
//==============================================================================
TEST_F (VlEngineTests, LearnTableRefusesAMessageOfAnotherControlAndRestoresASavedTableExactly)
{
    EXPECT_FALSE (engine.setLearntMessage (2, 5));
    EXPECT_EQ (engine.getLearntMessage (2), NoLearntKey);
    EXPECT_TRUE (engine.setLearntMessage (5, 5));
    EXPECT_EQ (engine.getLearntMessage (5), 5);
    EXPECT_TRUE (engine.setLearntMessage (3, NoLearntKey));
    midi (noteOn (3));
    EXPECT_EQ (takeCalls(), "");
    EXPECT_FALSE (engine.setLearntMessage (11, 7));    // controller 7 belongs to pedal 12
    EXPECT_TRUE (engine.setLearntMessage (12, NoLearntKey));
    EXPECT_TRUE (engine.setLearntMessage (11, 7));
    EXPECT_EQ (engine.getLearntMessage (11), 135);
    midi (cc (7, 1));
    midi (cc (1, 1));
    EXPECT_EQ (takeCalls(), "pedal 11 1");

    // Restoring a saved table brings it back exactly. The user swapped the notes of footswitches 1 and 2 and the controllers of the pedals.
    engine.restoreLearntMessages ({ { 1, "2" },
                                    { 2, "1" },
                                    { 11, "135" },
                                    { 12, "129" },
                                    { 3, "-1000" },
                                    { 4, "abc" },
                                    { 5, "" },
                                    { 6, " 60" },
                                    { 13, "9" } });
    juce::String keys;
    for (int id = 1; id <= 12; ++id)
        keys << engine.getLearntMessage (id) << " ";
    EXPECT_EQ (keys, "2 1 -1000 4 5 60 7 8 9 10 135 129 ");
    engine.restoreLearntMessages ({ { 12, "-1000" } });
    EXPECT_EQ (engine.getLearntMessage (12), NoLearntKey);
}
