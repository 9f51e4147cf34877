#pragma once

#include <juce_core/juce_core.h>

/** Case-insensitive reading of XML names. JUCE compares attribute names
    case-sensitively, but our documents and preferences are read without regard
    to case, so every presence test and read goes through these.
*/
namespace CXml
{
    /** Index of the first attribute whose name equals `name` ignoring case, or -1. */
    int findAttributeIgnoreCase (const juce::XmlElement& element, juce::StringRef name);

    bool hasAttribute (const juce::XmlElement& element, juce::StringRef name);

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
