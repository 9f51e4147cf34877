#include "engine/VlaSysEx.h"

#include "common/CXmlHelpers.h"
#include "engine/VlEngine.h"
#include "engine/VlTypes.h"
#include "engine/VlXmlVocabulary.h"

#include <string>

namespace
{
    // A slot that execute() fills; every data byte is at most 0x7f.
    constexpr juce::uint8 reserved = 0xff;

    // Positions are 16-bit and 0xffff means "none", so a sequence can have at most this many bytes.
    constexpr size_t maxBytes = 65534;

    // Tokens are separated by blanks, tabs, carriage returns and line feeds.
    bool isSeparator (juce::juce_wchar c) noexcept
    {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    }

    // The value of an ASCII hexadecimal digit, -1 for any other character.
    int hexDigit (juce::juce_wchar c) noexcept
    {
        if (c >= '0' && c <= '9')
            return (int) (c - '0');
        if (c >= 'a' && c <= 'f')
            return (int) (c - 'a' + 10);
        if (c >= 'A' && c <= 'F')
            return (int) (c - 'A' + 10);
        return -1;
    }
}

VlaSysEx::VlaSysEx()
    : VlAction (VlNames::midiSysex)
{
}

VlaSysEx::VlaSysEx (const VlaSysEx&) = default;

VlaSysEx::~VlaSysEx() = default;

bool VlaSysEx::isHexByteToken (const juce::String& token)
{
    const auto length = token.length();
    return (length == 1 || length == 2) && hexDigit (token[0]) >= 0 && (length == 1 || hexDigit (token[1]) >= 0);
}

bool VlaSysEx::parseSequence (const juce::String& text)
{
    if (text.isEmpty())
        return true;

    std::vector<juce::uint8> parsed;
    auto value = NoIndex, start = NoIndex, checksum = NoIndex;
    const auto datumSize = getDatumSize();

    // Walked in place, token by token: documents hold many sequences, and a String for every
    // token made reading them slow.
    for (auto p = text.getCharPointer(); ! p.isEmpty();)
    {
        if (isSeparator (*p))
        {
            ++p;
            continue;
        }

        const auto first = *p;
        juce::juce_wchar second = 0;
        int length = 0;

        for (; ! p.isEmpty() && ! isSeparator (*p); ++p)
            if (++length == 2)
                second = *p;

        if (length == 1 && first == '*' && datumSize != 0)
        {
            if (value != NoIndex)
                return true;

            value = (juce::uint16) parsed.size();
            parsed.insert (parsed.end(), datumSize, reserved);
        }
        else if (length == 1 && first == '$')
        {
            if (start != NoIndex)
                return true;

            start = (juce::uint16) parsed.size();
        }
        else if (length == 1 && first == '=')
        {
            if (checksum != NoIndex)
                return true;

            checksum = (juce::uint16) parsed.size();
            parsed.push_back (reserved);
        }
        else if ((length == 1 || length == 2) && hexDigit (first) >= 0 && (length == 1 || hexDigit (second) >= 0))
        {
            const auto byte = length == 1 ? hexDigit (first) : hexDigit (first) * 16 + hexDigit (second);

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

    std::string normal;
    normal.reserve (3 * bytes.size() + 3);

    for (size_t i = 0; i < bytes.size(); ++i)
    {
        const auto first = i == 0;

        if (i == checksumStart)
            normal += first ? "$ " : " $ ";

        if (i == valuePos)
        {
            normal += first ? "*" : " *";
        }
        else if (i == checksumPos)
        {
            normal += first ? "=" : " =";
        }
        else if (bytes[i] != reserved)
        {
            if (! first)
                normal += ' ';

            normal += "0123456789abcdef"[bytes[i] >> 4];
            normal += "0123456789abcdef"[bytes[i] & 15];
        }
    }

    sequence = juce::String::fromUTF8 (normal.data(), (int) normal.size());
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
    if (! VlAction::loadFromXml (element, patchOffset))
        return false;

    const auto* deviceText = CXml::findAttribute (element, VlXml::device);
    const auto* sequenceText = deviceText != nullptr ? CXml::findAttribute (element, VlXml::sequence) : nullptr;

    if (sequenceText == nullptr)
        return false;

    device = *deviceText;
    loadSequence (*sequenceText);
    return true;
}

void VlaSysEx::addProperties (VlPropertyRows& rows) const
{
    VlAction::addProperties (rows);
    rows.push_back (VlPropertyRow::choice ("device", PropertyId::sysexDevice));
    rows.push_back (VlPropertyRow::text ("sequence", PropertyId::sysexSequence, 1024, 150));
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
    const auto message =
        juce::MidiMessage::createSysExMessage (bytes.empty() ? &none : bytes.data(), (int) bytes.size());

    if (auto* engine = getEngine())
        engine->sendMidiMessage (device, message);
}
