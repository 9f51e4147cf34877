#include "engine/VlaSysEx.h"

#include "common/CXmlHelpers.h"
#include "engine/VlEngine.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"

namespace
{
    // A slot that execute() fills; every data byte is at most 0x7f.
    constexpr juce::uint8 reserved = 0xff;

    // Positions are 16-bit and 0xffff means "none", so a sequence can have at most this many bytes.
    constexpr size_t maxBytes = 65534;
}

VlaSysEx::VlaSysEx()
    : VlAction (VlNames::midiSysex)
{
}

VlaSysEx::VlaSysEx (const VlaSysEx&) = default;

VlaSysEx::~VlaSysEx() = default;

bool VlaSysEx::isHexByteToken (const juce::String& token)
{
    return (token.length() == 1 || token.length() == 2) && token.containsOnly ("0123456789abcdefABCDEF");
}

bool VlaSysEx::parseSequence (const juce::String& text)
{
    if (text.isEmpty())
        return true;

    juce::StringArray tokens;
    tokens.addTokens (text, " \t\r\n", {});

    std::vector<juce::uint8> parsed;
    auto value = NoIndex, start = NoIndex, checksum = NoIndex;
    const auto datumSize = getDatumSize();

    for (const auto& token : tokens)
    {
        if (token == "*" && datumSize != 0)
        {
            if (value != NoIndex)
                return true;

            value = (juce::uint16) parsed.size();
            parsed.insert (parsed.end(), datumSize, reserved);
        }
        else if (token == "$")
        {
            if (start != NoIndex)
                return true;

            start = (juce::uint16) parsed.size();
        }
        else if (token == "=")
        {
            if (checksum != NoIndex)
                return true;

            checksum = (juce::uint16) parsed.size();
            parsed.push_back (reserved);
        }
        else if (isHexByteToken (token))
        {
            const auto byte = token.getHexValue32();

            if (byte > 0x7f)
                return true;

            parsed.push_back ((juce::uint8) byte);
        }
        else
        {
            continue;
        }

        if (parsed.size() > maxBytes)
            return true;
    }

    bytes = std::move (parsed);
    valuePos = value;
    checksumStart = start;
    checksumPos = checksum;

    juce::String normal;

    for (size_t i = 0; i < bytes.size(); ++i)
    {
        const auto first = i == 0;

        if (i == checksumStart)
            normal << (first ? "$ " : " $ ");

        if (i == valuePos)
            normal << (first ? "*" : " *");
        else if (i == checksumPos)
            normal << (first ? "=" : " =");
        else if (bytes[i] != reserved)
            normal << (first ? "" : " ") << juce::String::toHexString (bytes[i]).paddedLeft ('0', 2);
    }

    sequence = normal;
    return false;
}

juce::uint8 VlaSysEx::computeChecksum() const
{
    int sum = 0;

    if (checksumStart < checksumPos)
        for (size_t i = checksumStart; i < checksumPos && i < bytes.size(); ++i)
            sum += bytes[i];

    return (juce::uint8) ((128 - sum % 128) % 128);
}

void VlaSysEx::saveToXml (juce::XmlElement& element) const
{
    VlAction::saveToXml (element);
    element.setAttribute (VlXml::device, device);
    element.setAttribute (VlXml::sequence, sequence);
}

bool VlaSysEx::loadFromXml (const juce::XmlElement& element, juce::uint16 patchOffset)
{
    if (! VlAction::loadFromXml (element, patchOffset)
        || ! hasAttributes (element, { VlXml::device, VlXml::sequence }))
        return false;

    device = CXml::getString (element, VlXml::device);
    loadSequence (CXml::getString (element, VlXml::sequence));
    return true;
}

void VlaSysEx::loadSequence (const juce::String& text)
{
    if (parseSequence (text))
    {
        // Refused: keep the text so that saving does not destroy what the file held.
        sequence = text;
        bytes.clear();
        valuePos = checksumStart = checksumPos = NoIndex;
    }
}

void VlaSysEx::sendBytes()
{
    // Also without a checksum start: the byte is written as computed (0), never left
    // at 0xff, which inside a system-exclusive message is a System Reset.
    if (checksumPos < bytes.size())
        bytes[checksumPos] = computeChecksum();

    static const juce::uint8 none = 0;
    const auto message = juce::MidiMessage::createSysExMessage (bytes.empty() ? &none : bytes.data(),
                                                                (int) bytes.size());

    if (auto* engine = getEngine())
        engine->sendMidiMessage (device, message);
}
