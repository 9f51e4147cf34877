#include "engine/VlaSysExContinuos.h"

#include "common/CXmlHelpers.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"

namespace
{
    // The most that the value slot carries in 7-bit bytes: a greater value would play as another.
    int maximumFor (juce::uint8 datumSize) noexcept
    {
        return datumSize == 1 ? 0x7f : 0x3fff;
    }
}

VlaSysExContinuos::VlaSysExContinuos() = default;

VlaSysExContinuos::VlaSysExContinuos (const VlaSysExContinuos& other)
    : VlaSysEx (other),
      datumSize (other.datumSize),
      minValue (other.minValue),
      maxValue (other.maxValue)
{
}

VlaSysExContinuos::~VlaSysExContinuos() = default;

juce::uint8 VlaSysExContinuos::getDatumSize() const
{
    return datumSize;
}

void VlaSysExContinuos::setDatumSize (juce::uint8 size)
{
    if (size != 1 && size != 2)
        return;

    // The slot takes its new width only with a text that still parses: a sequence at the
    // byte limit has no room for a second value byte, and a slot left one byte narrow would
    // send its 0xff.
    const auto previous = datumSize;
    datumSize = size;

    if (parseSequence (getSequence()) && getValuePosition() != NoIndex)
    {
        datumSize = previous;
        return;
    }

    if (size == 1)
    {
        minValue = juce::jmin (minValue, (juce::uint16) 126);
        maxValue = juce::jmin (maxValue, (juce::uint16) 127);
    }
}

void VlaSysExContinuos::setMinValue (int value)
{
    minValue = (juce::uint16) juce::jlimit (0, maximumFor (datumSize) - 1, value);

    if (maxValue <= minValue)
        maxValue = (juce::uint16) (minValue + 1);
}

void VlaSysExContinuos::setMaxValue (int value)
{
    maxValue = (juce::uint16) juce::jlimit (1, maximumFor (datumSize), value);

    if (minValue >= maxValue)
        minValue = (juce::uint16) (maxValue - 1);
}

juce::String VlaSysExContinuos::getElementName() const
{
    return VlXml::sysex.toString();
}

void VlaSysExContinuos::saveToXml (juce::XmlElement& element) const
{
    VlaSysEx::saveToXml (element);
    element.setAttribute (VlXml::datumSize, (int) datumSize);
    element.setAttribute (VlXml::minValue, (int) minValue);
    element.setAttribute (VlXml::maxValue, (int) maxValue);
}

bool VlaSysExContinuos::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    // The size first: the base parses the sequence with it, once.
    const auto previousSize = datumSize;
    const auto size = CXml::getInt (element, VlXml::datumSize, 1);
    datumSize = (size == 1 || size == 2) ? (juce::uint8) size : 1;

    if (! VlaSysEx::loadFromXml (element, patchOffset))
    {
        datumSize = previousSize;    // the sequence was not parsed with it
        return false;
    }

    if (! hasAttributes (element, { VlXml::minValue, VlXml::maxValue }))
        return false;

    minValue = (juce::uint16) CXml::getInt (element, VlXml::minValue);
    maxValue = (juce::uint16) CXml::getInt (element, VlXml::maxValue);
    return true;
}

void VlaSysExContinuos::addProperties (VlPropertyRows& rows) const
{
    VlaSysEx::addProperties (rows);
    // The length is fixed when the rows are made: the editor rebuilds them when the size changes.
    const auto digits = datumSize == 1 ? 3 : 5;
    rows.push_back (VlPropertyRow::choice ("datum size", PropertyId::datumSize));
    rows.push_back (VlPropertyRow::text ("min value", PropertyId::sysexMinValue, digits));
    rows.push_back (VlPropertyRow::text ("max value", PropertyId::sysexMaxValue, digits));
}

void VlaSysExContinuos::execute (juce::uint8 pedalValue)
{
    const auto mapped =
        (juce::uint16) juce::jlimit (0, maximumFor (datumSize), mapPedalValue (minValue, maxValue, pedalValue));
    if (mapped == lastSent && ! resendsUnchangedValues())
        return;

    auto& data = getBytesToFill();
    const auto slot = (size_t) getValuePosition();

    if (slot + datumSize <= data.size())
    {
        if (datumSize == 1)
        {
            data[slot] = (juce::uint8) mapped;
        }
        else
        {
            data[slot] = (juce::uint8) (mapped >> 7);
            data[slot + 1] = (juce::uint8) (mapped & 0x7f);
        }
    }

    sendBytes();
    lastSent = mapped;
}

std::unique_ptr<VlAction> VlaSysExContinuos::clone() const
{
    return std::make_unique<VlaSysExContinuos> (*this);
}
