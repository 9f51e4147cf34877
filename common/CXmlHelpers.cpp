#include "common/CXmlHelpers.h"

namespace CXml
{
    int findAttributeIgnoreCase (const juce::XmlElement& element, juce::StringRef name)
    {
        for (int i = 0; i < element.getNumAttributes(); ++i)
            if (element.getAttributeName (i).equalsIgnoreCase (name))
                return i;

        return -1;
    }

    bool hasAttribute (const juce::XmlElement& element, juce::StringRef name)
    {
        return findAttributeIgnoreCase (element, name) >= 0;
    }

    juce::String getString (const juce::XmlElement& element, juce::StringRef name,
                            const juce::String& defaultValue)
    {
        const auto index = findAttributeIgnoreCase (element, name);
        return index >= 0 ? element.getAttributeValue (index) : defaultValue;
    }

    int getInt (const juce::XmlElement& element, juce::StringRef name, int defaultValue)
    {
        const auto index = findAttributeIgnoreCase (element, name);
        return index >= 0 ? element.getAttributeValue (index).getIntValue() : defaultValue;
    }

    bool hasTag (const juce::XmlElement& element, juce::StringRef tag)
    {
        // Not XmlElement::hasTagName: it asserts when only the case differs.
        return element.getTagName().equalsIgnoreCase (tag);
    }

    juce::XmlElement* findChild (const juce::XmlElement& element, juce::StringRef tag)
    {
        for (auto* child : element.getChildIterator())
            if (hasTag (*child, tag))
                return child;

        return nullptr;
    }
}
