#include "common/PrefsReader.h"

#include "common/CXmlHelpers.h"

PrefsReader::PrefsReader() = default;

juce::String PrefsReader::keyFor (const juce::String& tag, const juce::String& name)
{
    return tag + "-" + name;
}

void PrefsReader::readAttribute (const juce::XmlElement& element, const juce::String& attributeName)
{
    loaded = true;
    values.set (keyFor (element.getTagName(), attributeName), CXml::getString (element, attributeName));
}

void PrefsReader::readText (const juce::XmlElement& element, const juce::String& text)
{
    loaded = true;
    values.set (keyFor (element.getTagName(), {}), text);
}

juce::String PrefsReader::getString (const juce::String& name) const
{
    return values.getValue (keyFor (section, name), {});
}

int PrefsReader::getInt (const juce::String& name) const
{
    return getString (name).getIntValue();
}

bool PrefsReader::getBool (const juce::String& name) const
{
    return getInt (name) == 1;
}
