#include "common/CXmlHelpers.h"
#include "fixtures/TemporaryHome.h"
#include "fixtures/XmlTrees.h"

#include <gtest/gtest.h>

namespace
{
    juce::String nested (int depth)
    {
        return juce::String::repeatedString ("<a>", depth) + juce::String::repeatedString ("</a>", depth);
    }

    juce::File write (const TemporaryHome& home, const char* name, const void* data, size_t size)
    {
        const auto file = home.getFolder().getChildFile (name);
        file.replaceWithData (data, size);
        return file;
    }
}

TEST (CXmlHelpersTests, FindsAttributesAndChildrenWhateverTheirCase)
{
    const auto xml = juce::parseXML (R"(<Veltrino NAME="a" Level="3" id="" count="x7"><NAVIGATION/><Patches current="0"/></Veltrino>)");

    EXPECT_TRUE (CXml::hasTag (*xml, "veltrino"));
    EXPECT_FALSE (CXml::hasTag (*xml, "veltrinos"));
    EXPECT_TRUE (CXml::hasAttribute (*xml, "name"));
    EXPECT_EQ (CXml::getString (*xml, "name"), "a");
    EXPECT_EQ (CXml::getInt (*xml, "LEVEL"), 3);

    EXPECT_FALSE (CXml::hasAttribute (*xml, "label"));
    EXPECT_EQ (CXml::getString (*xml, "label", "none"), "none");
    EXPECT_EQ (CXml::getInt (*xml, "label", 42), 42);   // absent: the default
    EXPECT_EQ (CXml::getInt (*xml, "id", 42), 0);       // present but empty: 0
    EXPECT_EQ (CXml::getInt (*xml, "count", 42), 0);

    ASSERT_NE (CXml::findChild (*xml, "navigation"), nullptr);
    ASSERT_NE (CXml::findChild (*xml, "patches"), nullptr);
    EXPECT_EQ (CXml::getInt (*CXml::findChild (*xml, "patches"), "current", -1), 0);
    EXPECT_EQ (CXml::findChild (*xml, "patch"), nullptr);
}

TEST (CXmlHelpersTests, ReadsFilesThatAreNotUtf8AsWindows1252)
{
    TemporaryHome home;

    // Found by fuzzing: JUCE's own file reader ran past the end of the text on these bytes.
    const char broken[] = "<preferences><tooltips visible=\"0\"/></preferen\xff\xff\xff\xff\xff\xff\xff\xff>\n";
    const auto brokenRoot = CXml::parseFile (write (home, "broken.xml", broken, sizeof (broken) - 1));
    ASSERT_NE (brokenRoot, nullptr);
    EXPECT_EQ (brokenRoot->getTagName(), "preferences");

    const char latin1[] = "<recent_files>/music/Caf\xe9.vlt</recent_files>";
    const auto latin1Root = CXml::parseFile (write (home, "latin1.xml", latin1, sizeof (latin1) - 1));
    ASSERT_NE (latin1Root, nullptr);
    EXPECT_EQ (latin1Root->getAllSubText(), juce::String (juce::CharPointer_UTF8 ("/music/Caf\xc3\xa9.vlt")));

    EXPECT_EQ (CXml::parseFile (write (home, "empty.xml", "", 0)), nullptr);
    EXPECT_EQ (CXml::parseFile (juce::File ("/nonexistent/veltrino.xml")), nullptr);
}

TEST (CXmlHelpersTests, ReadsNestingUpToTheLimitAndRefusesDeeper)
{
    const auto atLimit = CXml::parse (nested (CXml::maxNesting));
    ASSERT_NE (atLimit, nullptr);
    EXPECT_EQ (depthOf (*atLimit), CXml::maxNesting);

    EXPECT_EQ (CXml::parse (nested (CXml::maxNesting + 1)), nullptr);

    // JUCE's reader recurses once a level: this ran out of stack.
    EXPECT_EQ (CXml::parse (nested (500000)), nullptr);
    EXPECT_EQ (CXml::parse (juce::String::repeatedString ("<a>", 500000)), nullptr);
}

TEST (CXmlHelpersTests, CountsNestingAsJucesReaderNestsIt)
{
    // Closing marks that are no closing tags must not lower the count.
    for (const auto* text : { "", "no xml", "<a/>", R"(<?xml version="1.0"?><a><b/></a>)",
                              R"(<a x="/>"><b/></a>)",
                              R"(<a x="</a>"><b><c/></b></a>)",
                              "<a><!-- </a> --><b/></a>",
                              "<a><![CDATA[</a>]]><b/></a>",
                              "<a>&unknown</a>;<b/></a>",
                              R"(<a b='&q"/>;'><c/></a>)",
                              "<a><b><c/></b></b></a>",
                              "<a>&#x3c;b>&lt;/a><c/></a>" })
    {
        const auto parsed = juce::parseXML (juce::String (text));
        EXPECT_EQ (CXml::nestingDepth (text), parsed != nullptr ? depthOf (*parsed) : 0) << text;
        EXPECT_EQ (CXml::parse (text) != nullptr, parsed != nullptr) << text;
    }
}

TEST (CXmlHelpersTests, SkipsBlanksBeyondAsciiAsJucesReaderDoes)
{
    // The scan tells common characters apart itself: the others must still count as JUCE counts them.
    for (const auto* text : { "<a>\xc2\xa0<b/>\xe3\x80\x80<c/></a>", "<a>\xe2\x80\x83\xc2\x85<b><c/></b></a>",
                              "\xc2\xa0<a><b/></a>", "\xe3\x80\x80<a/>", "\x1c<a><b/></a>", "\x0b\x0c<a>\x1f<b/></a>" })
    {
        const auto parsed = juce::parseXML (juce::String::fromUTF8 (text));
        EXPECT_EQ (CXml::nestingDepth (juce::String::fromUTF8 (text)), parsed != nullptr ? depthOf (*parsed) : 0) << text;
    }
}

TEST (CXmlHelpersTests, ComparesNamesIgnoringCaseAsJuceDoes)
{
    const char* names[] = { "", "a", "A", "name", "NAME", "Name", "names", "nam", "na_me", "n\xc3\xa4me", "N\xc3\x84ME",
                            "\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89", "\xc4\xb1" "d", "ID", "id", "stra\xc3\x9f" "e", "STRASSE" };

    for (const auto* a : names)
        for (const auto* b : names)
        {
            const auto x = juce::String::fromUTF8 (a), y = juce::String::fromUTF8 (b);
            EXPECT_EQ (CXml::equalsIgnoreCase (x, y), x.equalsIgnoreCase (y)) << a << " / " << b;
        }

    // An identifier shares JUCE's own copy of a name read from a file.
    const auto xml = juce::parseXML (R"(<item label="x"/>)");
    EXPECT_TRUE (CXml::equalsIgnoreCase (xml->getAttributeName (0), juce::Identifier ("label")));
    EXPECT_EQ (CXml::getString (*xml, juce::Identifier ("LABEL")), "x");
}

TEST (CXmlHelpersTests, RefusesWhatJucesReaderWouldGoWrongOn)
{
    TemporaryHome home;
    const char entities[] = R"(<!ENTITY secret "from another file">)";
    write (home, "entities.dtd", entities, sizeof (entities) - 1);
    const char document[] = R"(<!DOCTYPE a SYSTEM "entities.dtd"><a>&secret;</a>)";
    const auto file = write (home, "document.xml", document, sizeof (document) - 1);

    // JUCE's file reader reads files that a document type names.
    EXPECT_EQ (juce::parseXML (file)->getAllSubText(), "from another file");
    EXPECT_EQ (CXml::parseFile (file), nullptr);

    for (const auto* text : { R"(<!DOCTYPE a [<!ENTITY e "&e;&e;">]><a>&e;</a>)",  // a document type
                              "<a>&#x", R"(<a b="&#x41)", "<a> & &#x",            // read past the end
                              "<a><?pi?>text</a>", "<a> <?pi?> text</a>",         // read for ever
                              "<a>&<b><c>;</a>" })                                // an entity read as elements
    {
        EXPECT_EQ (CXml::nestingDepth (text), -1) << text;
        EXPECT_EQ (CXml::parse (text), nullptr) << text;
    }
}
