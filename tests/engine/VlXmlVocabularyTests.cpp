#include "engine/VlXmlVocabulary.h"

#include <gtest/gtest.h>

TEST (VlXmlVocabularyTests, LearntKeyAttributesNameEveryControl)
{
    EXPECT_EQ (VlXml::learntKeyAttribute (1), "fs1");
    EXPECT_EQ (VlXml::learntKeyAttribute (10), "fs10");
    EXPECT_EQ (VlXml::learntKeyAttribute (11), "ep1");
    EXPECT_EQ (VlXml::learntKeyAttribute (12), "ep2");
    EXPECT_EQ (VlXml::learntKeyAttribute (0), "");
    EXPECT_EQ (VlXml::learntKeyAttribute (13), "");
}

TEST (VlXmlVocabularyTests, NavigationSymbolsInFunctionOrder)
{
    juce::String all;

    for (int function = 0; function <= 7; ++function)
        all << VlNames::navigationSymbol (function);

    EXPECT_EQ (all, "*^<>-+");
}
