#pragma once

#include <juce_core/juce_core.h>

/** Reading XML files safely, and reading XML names without regard to case.

    Every file we read goes through parseFile(): JUCE's own reader follows hostile
    or damaged text into reading past its end, into other files named by a
    document type, and into a recursion as deep as the elements nest.

    JUCE compares attribute names case-sensitively, but our documents and
    preferences are read without regard to case, so every presence test and
    read goes through the other helpers.
*/
namespace CXml
{
    /** The deepest element nesting that parse() accepts, the outermost element
        counting 1: far beyond our files, and shallow enough for every recursive
        walk of a tree to stay within the stack.
    */
    constexpr int maxNesting = 100;

    /** How deeply JUCE's XML reader would nest elements reading `text`, found
        without reading it; -1 when the reader would go wrong on it: a document
        type (whose entities name other files and expand without limit), an entity
        that the reader would take for elements, a character reference cut off by
        the end (read past the end), text after a processing instruction within
        an element (read for ever), or an element or attribute name that XML does
        not allow (read, but refused by JUCE's XmlElement).
    */
    int nestingDepth (const juce::String& text);

    /** The text parsed by JUCE's reader, or null when it is no XML or
        nestingDepth() refuses it or finds it deeper than maxNesting.
    */
    std::unique_ptr<juce::XmlElement> parse (const juce::String& text);

    /** The file's text read as UTF-8 (or, when it is not UTF-8, as Windows-1252)
        and then parsed by parse(); null when the file is missing or unreadable.
    */
    std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file);

    /** True when the names are equal ignoring case, as String::equalsIgnoreCase says;
        names of plain ASCII, as ours are, are compared without converting any character.
    */
    bool equalsIgnoreCase (juce::StringRef a, juce::StringRef b) noexcept;

    /** Index of the first attribute whose name equals `name` ignoring case, or -1. */
    int findAttributeIgnoreCase (const juce::XmlElement& element, juce::StringRef name);

    bool hasAttribute (const juce::XmlElement& element, juce::StringRef name);

    /** The attribute's text, or null when it is absent: one look-up where a presence
        test and a read would take two. The text is the element's own.
    */
    const juce::String* findAttribute (const juce::XmlElement& element, juce::StringRef name);

    /** The attribute's text, or `defaultValue` when it is absent. */
    juce::String getString (const juce::XmlElement& element, juce::StringRef name,
                            const juce::String& defaultValue = {});

    /** The attribute read as an integer (0 when it is not a number), or
        `defaultValue` when it is absent.
    */
    int getInt (const juce::XmlElement& element, juce::StringRef name, int defaultValue = 0);

    /** True when the element's tag equals `tag` ignoring case. */
    bool hasTag (const juce::XmlElement& element, juce::StringRef tag);

    /** The first child whose tag equals `tag` ignoring case, or null. */
    juce::XmlElement* findChild (const juce::XmlElement& element, juce::StringRef tag);
}
