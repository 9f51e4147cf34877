#include "app/editor/EditorHost.h"

#include "resources/HelpTextTable.h"

juce::String EditorHost::getHelpText (int index)
{
    if (auto* host = getInstance(); host != nullptr && host->getHelpTexts() != nullptr)
        return (*host->getHelpTexts())[index];

    return VlResources::helpTextTable[index];
}
