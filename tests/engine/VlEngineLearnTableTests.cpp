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

    // In a learning pass, controller 7 (pedal 12's until its turn) moves to pedal 11; only what
    // this pass learnt is refused: note 6 for footswitch 1 moves from 6, then is footswitch 1's.
    engine.startLearningPass();
    EXPECT_TRUE (engine.learnInPass (11, 7));
    EXPECT_EQ (engine.getLearntMessage (12), NoLearntKey);
    EXPECT_TRUE (engine.learnInPass (1, 6));
    EXPECT_FALSE (engine.learnInPass (2, 6));
    EXPECT_FALSE (engine.learnInPass (12, 7));
    EXPECT_EQ (juce::String (engine.getLearntMessage (1)) + " " + juce::String (engine.getLearntMessage (6)) + " "
                   + juce::String (engine.getLearntMessage (12)),
               "6 -1000 -1000");
    EXPECT_TRUE (engine.learnInPass (12, 1));
    EXPECT_EQ (engine.getLearntMessage (11), 135);
    midi (cc (7, 1));
    midi (cc (1, 1));
    EXPECT_EQ (takeCalls(), "pedal 11 1; pedal 12 1");

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
