// Any bytes, decoded as a file's text is, through the XML reading that every file of ours goes
// through. Where the walk that guards JUCE's reader lets the text through, the reader itself must
// nest its elements exactly as deeply as the walk said.

#include "common/CXmlHelpers.h"
#include "fixtures/XmlTrees.h"
#include "fuzz/InputText.h"
#include "fuzz/Require.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto text = inputText (data, size);
    const auto depth = CXml::nestingDepth (text);
    const auto parsed = CXml::parse (text);

    require (parsed == nullptr || (depth >= 1 && depth <= CXml::maxNesting));

    // Text this short nests too shallowly for JUCE's recursion to run out of stack.
    if (depth >= 0 && size <= 16384)
        if (const auto unguarded = juce::parseXML (text))
            require (depthOf (*unguarded) == depth);

    return 0;
}
