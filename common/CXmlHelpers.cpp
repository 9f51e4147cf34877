#include "common/CXmlHelpers.h"

#include <array>
#include <cstring>
#include <string_view>

namespace
{
    using CharPointer = juce::String::CharPointerType;

    constexpr bool isAsciiIdentifierChar (juce::juce_wchar c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
               || c == ':' || c == '.';
    }

    // Looked up rather than compared: every character of every name goes through it.
    constexpr auto asciiIdentifierChars = [] {
        std::array<bool, 128> table {};

        for (juce::juce_wchar c = 0; c < 128; ++c)
            table[(size_t) c] = isAsciiIdentifierChar (c);

        return table;
    }();

    // A name character, as JUCE's XML reader tells it.
    bool isIdentifierChar (juce::juce_wchar c)
    {
        if (c >= 0 && c < 128)
            return asciiIdentifierChars[(size_t) c];

        return c >= 160 && juce::CharacterFunctions::isLetterOrDigit (c);
    }

    // The character at `b` and the one after it, as CharPointer reads and steps them. ASCII
    // bytes, almost all of a document, are taken as they are without decoding.
    juce::juce_wchar charAt (char* b) noexcept
    {
        const auto byte = (unsigned char) *b;
        return byte < 0x80 ? (juce::juce_wchar) byte : *CharPointer (b);
    }

    char* nextChar (char* b) noexcept
    {
        if ((unsigned char) *b < 0x80)
            return b + 1;

        auto p = CharPointer (b);
        return (++p).getAddress();
    }

    CharPointer endOfToken (CharPointer p)
    {
        auto* b = p.getAddress();

        while (isIdentifierChar (charAt (b)))
            b = nextChar (b);

        return CharPointer (b);
    }

    // True when juce::XmlElement takes the name that the reader cut out of the text: the reader
    // cuts wider names than XML allows (a digit, '-' or '.' first, some letters), and an element or
    // attribute with such a name is a misuse of XmlElement that JUCE asserts on.
    bool isValidName (CharPointer start, CharPointer end)
    {
        for (auto* b = start.getAddress(); b != end.getAddress(); ++b)
            if ((unsigned char) *b >= 0x80)
                return juce::XmlElement::isValidXmlName (juce::String (start, end));

        // Every ASCII character of a name may follow the first; only letters, '_' and ':' begin one.
        const auto first = *start;
        return (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') || first == '_' || first == ':';
    }

    // Where CharPointer::indexOf() finds `c`, or null: it stops at a zero byte only.
    char* findChar (char* b, juce::juce_wchar c) noexcept
    {
        for (; *b != 0; b = nextChar (b))
            if (charAt (b) == c)
                return b;

        return nullptr;
    }

    // Walks the text step for step as juce::XmlDocument reads it (its members of the same names),
    // but counts the elements it would open instead of recursing into them, and notes what it
    // would go wrong on. Once the reader runs out of text it opens no more elements and reads no
    // more entities, but for the rest of the text it was in: the walk stops there.
    class NestingScan
    {
    public:
        explicit NestingScan (const juce::String& text)
            : input (text.getCharPointer())
        {
        }

        int run()
        {
            skipNextWhiteSpace();    // the header is a processing instruction: skipped alike

            int open = 0, deepest = 0;

            for (auto step = readNextElement();; step = readChildStep())
            {
                if (step == Step::leaf || step == Step::open)
                    deepest = std::max (deepest, open + 1);

                if (step == Step::open)
                    ++open;
                else if (step == Step::close || step == Step::none)
                    --open;

                if (open <= 0 || outOfData || refused)
                    break;
            }

            return refused ? -1 : deepest;
        }

    private:
        enum class Step
        {
            none,
            leaf,
            open,
            close,
            next
        };

        // A start tag: Step::open when the element's children follow, Step::leaf when they do not
        // (an empty element, or a malformed tag the reader gives up on), Step::none for no element.
        Step readNextElement()
        {
            skipNextWhiteSpace();

            if (outOfData || *input != '<')
                return Step::none;

            ++input;
            auto end = endOfToken (input);

            if (end == input)
            {
                skipNextWhiteSpace();
                end = endOfToken (input);

                if (end == input)
                    return Step::none;
            }

            if (! isValidName (input, end))
            {
                refused = true;
                return Step::none;
            }

            for (input = end;;)
            {
                skipNextWhiteSpace();
                const auto c = *input;

                if (c == '/' && input[1] == '>')
                {
                    input += 2;
                    return Step::leaf;
                }

                if (c == '>')
                {
                    ++input;
                    return Step::open;
                }

                if (! isIdentifierChar (c))
                    return Step::leaf;

                const auto name = input;
                input = endOfToken (input);
                const auto nameEnd = input;
                skipNextWhiteSpace();

                if (readNextChar() != '=')
                    return Step::leaf;

                skipNextWhiteSpace();

                if (*input != '"' && *input != '\'')
                    return Step::leaf;

                // The reader makes the attribute only here.
                if (! isValidName (name, nameEnd))
                {
                    refused = true;
                    return Step::none;
                }

                readQuotedString();
            }
        }

        // One turn of the loop that reads an open element's children.
        Step readChildStep()
        {
            const auto preWhiteSpace = input;
            skipNextWhiteSpace();

            if (outOfData)
                return Step::close;

            if (*input == '<')
            {
                if (input[1] == '/')
                {
                    if (auto* end = findChar (input.getAddress(), '>'))
                        input = CharPointer (end + 1);

                    return Step::close;
                }

                if (input[1] == '!'
                    && juce::CharacterFunctions::compareUpTo (input + 2, juce::CharPointer_ASCII ("[CDATA["), 7) == 0)
                {
                    skipPast (9, "]]>");
                    return Step::next;
                }

                const auto step = readNextElement();
                return step == Step::none ? Step::close : step;
            }

            input = preWhiteSpace;
            readText();

            // Text that stops where it starts, at a processing instruction: the reader would go
            // round this loop for ever.
            if (input == preWhiteSpace)
                refused = true;

            return Step::next;
        }

        // Text up to the next tag. The reader reads on to it even when an entity has run out of
        // text on the way, so this goes on then too.
        void readText()
        {
            while (! refused)
            {
                auto* b = input.getAddress();
                auto c = charAt (b);

                for (; c != '<' && c != 0 && c != '&'; c = charAt (b))
                    b = nextChar (b);

                input = CharPointer (b);

                if (c == '<')
                {
                    if (input[1] != '!' || input[2] != '-' || input[3] != '-' || ! skipPast (4, "-->"))
                        return;
                }
                else if (c == 0)
                {
                    outOfData = true;
                    return;
                }
                else
                    readEntity (true);
            }
        }

        void readQuotedString()
        {
            const auto quote = readNextChar();

            while (! outOfData && ! refused)
            {
                const auto c = readNextChar();

                if (c == quote || outOfData)
                    return;

                --input;

                if (c == '&')
                {
                    readEntity (false);
                    continue;
                }

                auto* b = input.getAddress();
                auto here = charAt (b);

                for (; here != quote && here != '&' && here != 0; here = charAt (b))
                    b = nextChar (b);

                input = CharPointer (b);

                if (here == quote)
                {
                    ++input;
                    return;
                }

                if (here == 0)
                {
                    outOfData = true;
                    return;
                }
            }
        }

        void readEntity (bool inText)
        {
            ++input;

            for (const auto* name : { "amp;", "quot;", "apos;", "lt;", "gt;" })
            {
                const auto length = (int) std::strlen (name);

                if (input.compareIgnoreCaseUpTo (juce::CharPointer_ASCII (name), length) == 0)
                {
                    input += length;
                    return;
                }
            }

            if (*input == '#')
                return readCharacterReference();

            const auto semicolon = input.indexOf ((juce::juce_wchar) ';');

            if (semicolon < 0)
            {
                outOfData = true;
                return;
            }

            // An unknown entity reads as its name; in text, a name like "<a>" is read as elements.
            if (inText && *input == '<' && semicolon >= 2)
                refused = true;

            input += semicolon + 1;
        }

        void readCharacterReference()
        {
            ++input;

            if (*input == 'x' || *input == 'X')
            {
                ++input;

                for (int numDigits = 0; *input != ';'; ++input)
                    if (juce::CharacterFunctions::getHexDigitValue (*input) < 0 || ++numDigits > 8)
                        break;

                // The reader steps over the character that ended the digits, even the end of the text.
                if (*input == 0)
                    refused = true;
                else
                    ++input;
            }
            else if (*input >= '0' && *input <= '9')
            {
                for (int numDigits = 0; *input != ';' && *input != 0; ++input)
                    if (++numDigits > 12)
                        break;

                if (*input != 0)
                    ++input;
            }
        }

        // Whitespace, comments and processing instructions.
        // What CharPointer_UTF8::incrementToEndOfWhitespace() does, with the common characters
        // told apart without a library call: documents are mostly indentation.
        void skipBlanks()
        {
            for (;;)
            {
                const auto byte = (unsigned char) *input.getAddress();

                // Printable ASCII is never whitespace; anything else is asked as the reader asks.
                if (byte == ' ' || (byte >= 9 && byte <= 13))
                    ++input;
                else if ((byte > ' ' && byte < 0x7f) || ! juce::CharacterFunctions::isWhitespace (*input))
                    return;
                else
                    ++input;
            }
        }

        void skipNextWhiteSpace()
        {
            for (;;)
            {
                skipBlanks();

                if (input.isEmpty())
                {
                    outOfData = true;
                    return;
                }

                if (*input == '<' && input[1] == '!' && input[2] == '-' && input[3] == '-')
                {
                    if (skipPast (4, "-->"))
                        continue;
                }
                else if (*input == '<' && input[1] == '?')
                {
                    if (skipPast (2, "?>"))
                        continue;
                }

                return;
            }
        }

        // Steps over `numChars` characters and then past `end`; without an `end`, out of data.
        bool skipPast (int numChars, const char* end)
        {
            input += numChars;
            const auto length = (int) std::strlen (end);

            // Every `end` is ASCII: only where its first character stands can it begin.
            for (auto* b = input.getAddress();; b = nextChar (b))
            {
                const auto here = charAt (b);

                if (here == (juce::juce_wchar) *end
                    && CharPointer (b).compareUpTo (juce::CharPointer_ASCII (end), length) == 0)
                {
                    input = CharPointer (b) + length;
                    return true;
                }

                if (here == 0)
                {
                    outOfData = true;
                    return false;
                }
            }
        }

        juce::juce_wchar readNextChar()
        {
            const auto c = *input;

            if (c == 0)
                outOfData = true;
            else
                ++input;

            return c;
        }

        CharPointer input;
        bool outOfData = false;
        bool refused = false;
    };
}

namespace CXml
{
    int nestingDepth (const juce::String& text)
    {
        // JUCE reads a document type only at the start, and only in this spelling. Searched
        // for among the bytes: an ASCII word matches only ASCII characters in UTF-8.
        // (Not getNumBytesAsUTF8(): it decodes every character to count the bytes.)
        const std::string_view bytes (text.toRawUTF8());

        if (bytes.find ("<!DOCTYPE") != std::string_view::npos)
            return -1;

        return NestingScan (text).run();
    }

    std::unique_ptr<juce::XmlElement> parse (const juce::String& text)
    {
        const auto depth = nestingDepth (text);

        if (depth < 0 || depth > maxNesting)
            return nullptr;

        return juce::parseXML (text);
    }

    std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file)
    {
        // Not juce::parseXML (file): it reads the bytes as UTF-8 unchecked and runs past the end
        // of a broken sequence. A String always holds valid text.
        if (! file.existsAsFile())
            return nullptr;

        return parse (file.loadFileAsString());
    }

    bool equalsIgnoreCase (juce::StringRef a, juce::StringRef b) noexcept
    {
        auto* x = a.text.getAddress();
        auto* y = b.text.getAddress();

        // JUCE keeps one copy of every element and attribute name it reads, and identifiers
        // share it: the same name is often the very same text.
        if (x == y)
            return true;

        for (;; ++x, ++y)
        {
            const auto cx = (unsigned char) *x, cy = (unsigned char) *y;

            // Beyond ASCII the library's own comparison decides, from here on: what came
            // before was equal.
            if (((cx | cy) & 0x80) != 0)
                return juce::CharPointer_UTF8 (x).compareIgnoreCase (juce::CharPointer_UTF8 (y)) == 0;

            const auto lower = [] (unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };

            if (cx != cy && lower (cx) != lower (cy))
                return false;

            if (cx == 0)
                return true;
        }
    }

    int findAttributeIgnoreCase (const juce::XmlElement& element, juce::StringRef name)
    {
        // Counting the attributes walks their list: once is enough.
        const auto count = element.getNumAttributes();

        for (int i = 0; i < count; ++i)
            if (equalsIgnoreCase (element.getAttributeName (i), name))
                return i;

        return -1;
    }

    bool hasAttribute (const juce::XmlElement& element, juce::StringRef name)
    {
        return findAttributeIgnoreCase (element, name) >= 0;
    }

    const juce::String* findAttribute (const juce::XmlElement& element, juce::StringRef name)
    {
        const auto index = findAttributeIgnoreCase (element, name);
        return index >= 0 ? &element.getAttributeValue (index) : nullptr;
    }

    juce::String getString (const juce::XmlElement& element, juce::StringRef name, const juce::String& defaultValue)
    {
        const auto* text = findAttribute (element, name);
        return text != nullptr ? *text : defaultValue;
    }

    int getInt (const juce::XmlElement& element, juce::StringRef name, int defaultValue)
    {
        const auto* text = findAttribute (element, name);
        return text != nullptr ? text->getIntValue() : defaultValue;
    }

    bool hasTag (const juce::XmlElement& element, juce::StringRef tag)
    {
        // Not XmlElement::hasTagName: it asserts when only the case differs.
        return equalsIgnoreCase (element.getTagName(), tag);
    }

    juce::XmlElement* findChild (const juce::XmlElement& element, juce::StringRef tag)
    {
        for (auto* child : element.getChildIterator())
            if (hasTag (*child, tag))
                return child;

        return nullptr;
    }
}
