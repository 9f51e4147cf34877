#include "engine/VlEngine.h"

#include "engine/VlXmlVocabulary.h"

// The learn table: which note or controller of the pedal board plays which control.
namespace
{
    bool isInteger (const juce::String& text)
    {
        const auto trimmed = text.trim();
        const auto digits = trimmed.startsWithChar ('-') || trimmed.startsWithChar ('+') ? trimmed.substring (1)
                                                                                        : trimmed;
        return digits.isNotEmpty() && digits.containsOnly ("0123456789");
    }
}

//==============================================================================
bool VlEngine::setLearntMessage (int controlId, int number)
{
    constexpr auto none = (juce::uint16) NoLearntKey;
    auto key = (juce::uint16) number;

    if (key != none && isPedalId (controlId))
        key = (juce::uint16) (number + 128);

    for (auto it = learntMessages.begin(); it != learntMessages.end(); ++it)
    {
        if (it->second == controlId)
        {
            learntMessages.erase (it);
            break;
        }
    }

    const auto stored = key == none || learntMessages.emplace (key, controlId).second;
    updateLearntKeys();
    return stored;
}

int VlEngine::getLearntMessage (int controlId) const
{
    for (const auto& [key, id] : learntMessages)
        if (id == controlId)
            return (juce::int16) key;

    return NoLearntKey;
}

void VlEngine::restoreLearntMessages (const std::map<int, juce::String>& saved)
{
    std::map<int, int> values;

    for (const auto& [controlId, text] : saved)
        if (controlId >= 1 && controlId <= SecondPedalId && isInteger (text))
            values[controlId] = text.getIntValue();

    // Clear first: a note that moved between two footswitches is still held by the
    // other one when its new owner is stored.
    for (const auto& entry : values)
        setLearntMessage (entry.first, NoLearntKey);

    for (const auto& [controlId, value] : values)
        setLearntMessage (controlId, isPedalId (controlId) ? value - 128 : value);
}

void VlEngine::saveMidiInToXml (juce::XmlElement& element) const
{
    element.setAttribute (VlXml::device, midiInDevice);
    element.setAttribute (VlXml::channel, getMidiChannel());

    for (int id = 1; id <= SecondPedalId; ++id)
        element.setAttribute (VlXml::learntKeyAttribute (id), getLearntMessage (id));
}

void VlEngine::updateLearntKeys()
{
    std::array<int, 256> ids {};

    for (const auto& [key, id] : learntMessages)
        if (key < ids.size())
            ids[key] = id;

    // Entry by entry, never emptied first: the MIDI thread reads them meanwhile.
    for (size_t key = 0; key < ids.size(); ++key)
        learntKeys[key].store (ids[key], std::memory_order_relaxed);
}
