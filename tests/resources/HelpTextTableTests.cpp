#include "resources/HelpTextTable.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <set>

using VlResources::helpTextTable;

TEST (HelpTextTableTests, HoldsNinetyOneTextsWithTheUnusedOnesEmptyAndOnlyTheSharedOnesRepeated)
{
    const std::set<int> unused { 7, 8, 9, 15, 16, 17, 18, 19, 27, 28, 29, 39, 43, 44, 45, 46, 47, 48, 49 };
    ASSERT_EQ (juce::StringArray (helpTextTable).size(), 91);

    for (int i = 0; i < VlResources::numHelpTexts; ++i)
    {
        EXPECT_EQ (*helpTextTable[i] == 0, unused.count (i) == 1) << i;

        for (const auto* c = helpTextTable[i]; *c != 0; ++c)
            EXPECT_TRUE (*c == '\n' || (*c >= ' ' && *c < 127)) << i;    // plain ASCII with its paragraphs
    }

    // Only the entries shared by two dialogs repeat a text, and they repeat it exactly.
    const std::map<int, int> sharedWith { { 72, 71 }, { 76, 57 }, { 77, 58 } };
    std::set<std::string> distinct;

    for (const auto& [entry, original] : sharedWith)
        EXPECT_STREQ (helpTextTable[entry], helpTextTable[original]) << entry;

    for (int i = 0; i < VlResources::numHelpTexts; ++i)
        if (*helpTextTable[i] != 0 && sharedWith.count (i) == 0)
            EXPECT_TRUE (distinct.insert (helpTextTable[i]).second) << i;
}
