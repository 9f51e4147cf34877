#include "common/PrefsReader.h"

#include <gtest/gtest.h>

TEST (PrefsReaderTests, KeysJoinTagAndNameAndCompareWithoutCase)
{
    PrefsReader prefs;
    prefs.section = "tooltips";
    EXPECT_FALSE (prefs.isLoaded());
    EXPECT_EQ (prefs.getString ("visible"), "");
    EXPECT_EQ (prefs.getInt ("visible"), 0);

    prefs.readAttribute (*juce::parseXML (R"(<Main_Window STATE="12 34 640 480"/>)"), "state");
    prefs.readAttribute (*juce::parseXML (R"(<midi_in channel="3"/>)"), "channel");
    prefs.readAttribute (*juce::parseXML (R"(<MIDI_IN CHANNEL="5"/>)"), "Channel");   // replaces
    prefs.readAttribute (*juce::parseXML ("<tooltips/>"), "visible");                 // absent: empty
    prefs.readText (*juce::parseXML ("<recent_files/>"), "/a.vlt\n/b.vlt");

    EXPECT_TRUE (prefs.isLoaded());
    prefs.section = "MAIN_window";
    EXPECT_EQ (prefs.getString ("State"), "12 34 640 480");
    prefs.section = "midi_in";
    EXPECT_EQ (prefs.getInt ("channel"), 5);
    prefs.section = "tooltips";
    EXPECT_EQ (prefs.getString ("visible"), "");
    prefs.section = "recent_files";
    EXPECT_EQ (prefs.getString ({}), "/a.vlt\n/b.vlt");
}

TEST (PrefsReaderTests, NumbersAreTheLeadingIntegerAndOnlyOneIsTrue)
{
    PrefsReader prefs;
    const auto element = juce::parseXML (R"(<t a="1" b="2" c="x" d="12abc" e="-7"/>)");

    for (const auto* name : { "a", "b", "c", "d", "e" })
        prefs.readAttribute (*element, name);

    prefs.section = "t";
    EXPECT_TRUE (prefs.getBool ("a"));
    EXPECT_FALSE (prefs.getBool ("b"));
    EXPECT_FALSE (prefs.getBool ("c"));
    EXPECT_EQ (prefs.getInt ("c"), 0);
    EXPECT_EQ (prefs.getInt ("d"), 12);
    EXPECT_EQ (prefs.getInt ("e"), -7);
}
