#include "resources/HelpTextTable.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <set>

using VlResources::helpTextTable;

TEST (HelpTextTableTests, HoldsNinetyOneTextsWithTheUnusedOnesEmptyAndOnlyTheSharedOnesRepeated)
{
    const std::set<int> unused { 7, 8, 9, 15, 16, 17, 18, 19, 27, 28, 29, 39, 43, 44, 45, 46, 47, 48, 49 };

    ASSERT_EQ (juce::StringArray (helpTextTable).size(), 91);
    EXPECT_EQ (helpTextTable[91], nullptr);

    for (int i = 0; i < VlResources::numHelpTexts; ++i)
        EXPECT_EQ (*helpTextTable[i] == 0, unused.count (i) == 1) << i;

    // Only the entries shared by two dialogs repeat a text, and they repeat it exactly.
    const std::map<int, int> sharedWith { { 72, 71 }, { 76, 57 }, { 77, 58 } };
    std::set<std::string> distinct;

    for (const auto& [entry, original] : sharedWith)
        EXPECT_STREQ (helpTextTable[entry], helpTextTable[original]) << entry;

    for (int i = 0; i < VlResources::numHelpTexts; ++i)
        if (*helpTextTable[i] != 0 && sharedWith.count (i) == 0)
            EXPECT_TRUE (distinct.insert (helpTextTable[i]).second) << i;
}

TEST (HelpTextTableTests, TextsArePlainAsciiAsWrittenWithTheirParagraphs)
{
    for (int i = 0; i < VlResources::numHelpTexts; ++i)
        for (const auto* c = helpTextTable[i]; *c != 0; ++c)
            EXPECT_TRUE (*c == '\n' || (*c >= ' ' && *c < 127)) << i;

    EXPECT_STREQ (helpTextTable[50], "This text identifies the patch in the main window list.");
    EXPECT_STREQ (helpTextTable[57], "This will be the minimum transmitted value.\nIncoming values will be remapped according to this setting.");
    EXPECT_TRUE (juce::String (helpTextTable[0]).contains ("current document.\n\nA Veltrino patch"));
    EXPECT_TRUE (juce::String (helpTextTable[0]).endsWith ("unique, altough this is surely advisable."));
    EXPECT_TRUE (juce::String (helpTextTable[90]).startsWith ("This is the color used to paint the 'navigation' controls.\n\n"));
}
