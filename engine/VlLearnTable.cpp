#include "engine/VlLearnTable.h"

#include "engine/VlXmlVocabulary.h"

namespace
{
    bool isInteger (const juce::String& text)
    {
        const auto trimmed = text.trim();
        const auto digits =
            trimmed.startsWithChar ('-') || trimmed.startsWithChar ('+') ? trimmed.substring (1) : trimmed;
        return digits.isNotEmpty() && digits.containsOnly ("0123456789");
    }
}

//==============================================================================
VlLearnTable::VlLearnTable()
{
    for (int id = 1; id <= 10; ++id)
        set (id, id);

    set (FirstPedalId, 1);
    set (SecondPedalId, 7);
}

juce::uint16 VlLearnTable::keyOf (int controlId, int number) noexcept
{
    const auto key = (juce::uint16) number;
    return key != (juce::uint16) NoLearntKey && isPedalId (controlId) ? (juce::uint16) (number + 128) : key;
}

bool VlLearnTable::set (int controlId, int number)
{
    const auto key = keyOf (controlId, number);

    for (auto it = controlsByKey.begin(); it != controlsByKey.end(); ++it)
    {
        if (it->second == controlId)
        {
            controlsByKey.erase (it);
            break;
        }
    }

    const auto stored = key == (juce::uint16) NoLearntKey || controlsByKey.emplace (key, controlId).second;
    publish();
    return stored;
}

int VlLearnTable::get (int controlId) const
{
    for (const auto& [key, id] : controlsByKey)
        if (id == controlId)
            return (juce::int16) key;

    return NoLearntKey;
}

void VlLearnTable::startPass()
{
    learntThisPass.clear();
}

bool VlLearnTable::learn (int controlId, int number)
{
    if (const auto holder = controlsByKey.find (keyOf (controlId, number));
        holder != controlsByKey.end() && holder->second != controlId)
    {
        // Refused: a control is changed only by a message learnt for it, so this one keeps
        // what it had, as the control learnt earlier in the pass does.
        if (learntThisPass.count (holder->second) != 0)
            return false;

        // A board programmed differently from the defaults sends, for one control, what
        // another control still to be learnt holds: that one gives it up.
        controlsByKey.erase (holder);
    }

    set (controlId, number);
    learntThisPass.insert (controlId);
    return true;
}

void VlLearnTable::restore (const std::map<int, juce::String>& saved)
{
    std::map<int, int> values;

    for (const auto& [controlId, text] : saved)
        if (controlId >= 1 && controlId <= SecondPedalId && isInteger (text))
            values[controlId] = text.getIntValue();

    // Clear first: a note that moved between two footswitches is still held by the
    // other one when its new owner is stored.
    for (const auto& entry : values)
        set (entry.first, NoLearntKey);

    for (const auto& [controlId, value] : values)
        set (controlId, isPedalId (controlId) ? value - 128 : value);
}

void VlLearnTable::writeTo (juce::XmlElement& element) const
{
    for (int id = 1; id <= SecondPedalId; ++id)
        element.setAttribute (VlXml::learntKeyAttribute (id), get (id));
}

void VlLearnTable::publish()
{
    std::array<int, 256> ids {};

    for (const auto& [key, id] : controlsByKey)
        if (key < ids.size())
            ids[key] = id;

    // Entry by entry, never emptied first: the MIDI thread reads them meanwhile.
    for (size_t key = 0; key < ids.size(); ++key)
        controlOfKey[key].store (ids[key], std::memory_order_relaxed);
}
