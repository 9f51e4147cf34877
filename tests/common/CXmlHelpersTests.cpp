#include "common/CXmlHelpers.h"

#include <gtest/gtest.h>

namespace
{
    std::unique_ptr<juce::XmlElement> parse (const char* text)
    {
        auto xml = juce::parseXML (juce::String (text));
        jassert (xml != nullptr);
        return xml;
    }
}

TEST (CXmlHelpersTests, ReadsAttributesWhateverTheirCase)
{
    auto xml = parse (R"(<Patch NAME="a" Level="3" color="ff"/>)");

    EXPECT_TRUE (CXml::hasAttribute (*xml, "name"));
    EXPECT_EQ (CXml::getString (*xml, "name"), "a");
    EXPECT_EQ (CXml::getInt (*xml, "LEVEL"), 3);
    EXPECT_TRUE (CXml::hasTag (*xml, "patch"));
    EXPECT_FALSE (CXml::hasTag (*xml, "patches"));
}

TEST (CXmlHelpersTests, MissingAndNonNumericAttributes)
{
    auto xml = parse (R"(<item id="" level="x7"/>)");

    EXPECT_FALSE (CXml::hasAttribute (*xml, "label"));
    EXPECT_EQ (CXml::getString (*xml, "label", "none"), "none");
    EXPECT_EQ (CXml::getInt (*xml, "label", 42), 42);   // absent: the default
    EXPECT_EQ (CXml::getInt (*xml, "id", 42), 0);       // present but empty: 0
    EXPECT_EQ (CXml::getInt (*xml, "level", 42), 0);
}

TEST (CXmlHelpersTests, FindsChildrenWhateverTheirCase)
{
    auto xml = parse (R"(<veltrino><NAVIGATION/><Patches current="0"/></veltrino>)");

    ASSERT_NE (CXml::findChild (*xml, "navigation"), nullptr);
    ASSERT_NE (CXml::findChild (*xml, "patches"), nullptr);
    EXPECT_EQ (CXml::getInt (*CXml::findChild (*xml, "patches"), "current", -1), 0);
    EXPECT_EQ (CXml::findChild (*xml, "patch"), nullptr);
}
