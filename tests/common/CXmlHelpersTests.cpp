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

    template <size_t size>
    juce::File write (const TemporaryHome& home, const char* name, const char (&text)[size])
    {
        const auto file = home.getFolder().getChildFile (name);
        file.replaceWithData (text, size - 1);
        return file;
    }
}

TEST (CXmlHelpersTests, FindsAttributesAndChildrenWhateverTheirCaseComparingNamesAsJuceDoes)
{
    const auto xml = juce::parseXML (
        R"(<Veltrino NAME="a" Level="3" id="" count="x7"><NAVIGATION/><Patches current="0"/></Veltrino>)");
    EXPECT_TRUE (CXml::hasTag (*xml, "veltrino") && CXml::hasAttribute (*xml, "name"));
    EXPECT_FALSE (CXml::hasTag (*xml, "veltrinos") || CXml::hasAttribute (*xml, "label"));
    EXPECT_EQ (CXml::getString (*xml, "name") + CXml::getString (*xml, "label", "none"), "anone");

    // Absent: the default; present but empty or no number: 0.
    EXPECT_EQ (std::vector<int> ({ CXml::getInt (*xml, "LEVEL"), CXml::getInt (*xml, "label", 42),
                                   CXml::getInt (*xml, "id", 42), CXml::getInt (*xml, "count", 42) }),
               std::vector<int> ({ 3, 42, 0, 0 }));
    ASSERT_NE (CXml::findChild (*xml, "navigation"), nullptr);
    ASSERT_NE (CXml::findChild (*xml, "patches"), nullptr);
    EXPECT_EQ (CXml::getInt (*CXml::findChild (*xml, "patches"), "current", -1), 0);
    EXPECT_EQ (CXml::findChild (*xml, "patch"), nullptr);

    const char* names[] = { "",
                            "a",
                            "A",
                            "name",
                            "NAME",
                            "Name",
                            "names",
                            "nam",
                            "na_me",
                            "n\xc3\xa4me",
                            "N\xc3\x84ME",
                            "\xc3\xa9t\xc3\xa9",
                            "\xc3\x89T\xc3\x89",
                            "\xc4\xb1"
                            "d",
                            "ID",
                            "id",
                            "stra\xc3\x9f"
                            "e",
                            "STRASSE" };

    for (const auto* a : names)
        for (const auto* b : names)
        {
            const auto x = juce::String::fromUTF8 (a), y = juce::String::fromUTF8 (b);
            EXPECT_EQ (CXml::equalsIgnoreCase (x, y), x.equalsIgnoreCase (y)) << a << " / " << b;
        }

    // An identifier shares JUCE's own copy of a name read from a file.
    const auto item = juce::parseXML (R"(<item label="x"/>)");
    EXPECT_TRUE (CXml::equalsIgnoreCase (item->getAttributeName (0), juce::Identifier ("label")));
    EXPECT_EQ (CXml::getString (*item, juce::Identifier ("LABEL")), "x");
}

TEST (CXmlHelpersTests, ReadsFilesThatAreNotUtf8AsWindows1252)
{
    TemporaryHome home;

    // Found by fuzzing: JUCE's own file reader ran past the end of the text on these bytes.
    const auto broken = CXml::parseFile (write (
        home, "broken.xml", "<preferences><tooltips visible=\"0\"/></preferen\xff\xff\xff\xff\xff\xff\xff\xff>\n"));
    ASSERT_NE (broken, nullptr);
    EXPECT_EQ (broken->getTagName(), "preferences");
    const auto latin1 = CXml::parseFile (write (home, "latin1.xml", "<recent_files>/music/Caf\xe9.vlt</recent_files>"));
    ASSERT_NE (latin1, nullptr);
    EXPECT_EQ (latin1->getAllSubText(), juce::String (juce::CharPointer_UTF8 ("/music/Caf\xc3\xa9.vlt")));
    EXPECT_EQ (CXml::parseFile (write (home, "empty.xml", "")), nullptr);
    EXPECT_EQ (CXml::parseFile (juce::File ("/nonexistent/veltrino.xml")), nullptr);
}

TEST (CXmlHelpersTests, CountsNestingAsJucesReaderNestsIt)
{
    // The fuzzer holds this for any text; here are the awkward cases. Closing marks that are no
    // closing tags must not lower the count; blanks beyond ASCII count as JUCE counts them.
    for (const auto* text : { R"(<a x="/>"><b/></a>)", R"(<a x="</a>"><b><c/></b></a>)", "<a><!-- </a> --><b/></a>",
                              "<a><![CDATA[</a>]]><b/></a>", "<a>&unknown</a>;<b/></a>", R"(<a b='&q"/>;'><c/></a>)",
                              "<a><b><c/></b></b></a>", "<a>&#x3c;b>&lt;/a><c/></a>",
                              "<a>\xc2\xa0<b/>\xe3\x80\x80<c/></a>", "<a>\xe2\x80\x83\xc2\x85<b><c/></b></a>",
                              "\xc2\xa0<a><b/></a>", "\xe3\x80\x80<a/>", "\x1c<a><b/></a>", "\x0b\x0c<a>\x1f<b/></a>" })
    {
        const auto parsed = juce::parseXML (juce::String::fromUTF8 (text));
        EXPECT_EQ (CXml::nestingDepth (juce::String::fromUTF8 (text)), parsed != nullptr ? depthOf (*parsed) : 0)
            << text;
        EXPECT_EQ (CXml::parse (juce::String::fromUTF8 (text)) != nullptr, parsed != nullptr) << text;
    }
}

TEST (CXmlHelpersTests, RefusesWhatJucesReaderWouldGoWrongOnAndNestingBeyondTheLimit)
{
    TemporaryHome home;
    write (home, "entities.dtd", R"(<!ENTITY secret "from another file">)");
    const auto file = write (home, "document.xml", R"(<!DOCTYPE a SYSTEM "entities.dtd"><a>&secret;</a>)");

    // JUCE's file reader reads files that a document type names.
    EXPECT_EQ (juce::parseXML (file)->getAllSubText(), "from another file");
    EXPECT_EQ (CXml::parseFile (file), nullptr);

    for (const auto* text : { R"(<!DOCTYPE a [<!ENTITY e "&e;&e;">]><a>&e;</a>)",    // a document type
                              "<a>&#x", R"(<a b="&#x41)", "<a> & &#x",               // read past the end
                              "<a><?pi?>text</a>", "<a> <?pi?> text</a>",            // read for ever
                              "<a>&<b><c>;</a>" })                                   // an entity read as elements
    {
        EXPECT_EQ (CXml::nestingDepth (text), -1) << text;
        EXPECT_EQ (CXml::parse (text), nullptr) << text;
    }

    const auto atLimit = CXml::parse (nested (CXml::maxNesting));
    ASSERT_NE (atLimit, nullptr);
    EXPECT_EQ (depthOf (*atLimit), CXml::maxNesting);
    EXPECT_EQ (CXml::parse (nested (CXml::maxNesting + 1)), nullptr);

    // JUCE's reader recurses once a level: this ran out of stack.
    EXPECT_EQ (CXml::parse (nested (500000)), nullptr);
    EXPECT_EQ (CXml::parse (juce::String::repeatedString ("<a>", 500000)), nullptr);
}

TEST (CXmlHelpersTests, RefusesNamesThatXmlDoesNotAllowWhichJucesReaderWouldMakeAnyway)
{
    for (const auto* text : { "<1a/>", "<-a></-a>", "<a><.b/></a>", R"(<a 1b="x"/>)", R"(<a><b c="" -d='x'/></a>)" })
    {
        EXPECT_EQ (CXml::nestingDepth (text), -1) << text;
        EXPECT_EQ (CXml::parse (text), nullptr) << text;
    }

    // A name may go on with what may not begin it.
    EXPECT_NE (CXml::parse (R"(<_a.1-b c:d="x"/>)"), nullptr);

    // An attribute without its value is never made: JUCE's reader only gives up on it.
    EXPECT_EQ (CXml::nestingDepth ("<a><b 1c/></a>"), 2);
}
