#include "engine/VlTexts.h"

#include "engine/VlEngine.h"
#include "engine/VlTypes.h"

namespace VlTexts
{
    bool getPatchText (const VlEngine& engine, int index, juce::String& text)
    {
        auto* patch =
            juce::isPositiveAndBelow (index, engine.getNumPatches()) ? engine.getPatch ((juce::uint16) index) : nullptr;
        if (patch == nullptr)
            return false;

        text = juce::String (index) + ". " + patch->getName();
        return true;
    }

    bool getControlText (int controlId, juce::String& text)
    {
        text = getControlTypeName (controlId) + " " + juce::String (isPedalId (controlId) ? controlId - 10 : controlId);
        return true;
    }

    bool getControlRowText (const VlPatch& patch, int row, juce::String& text)
    {
        int controlId = 0;
        return patch.getControlAt (row, controlId) != nullptr && getControlText (controlId, text);
    }

    bool getStateText (const VlControlCfg& control, int index, juce::String& text)
    {
        if (control.getState (index) == nullptr)
            return false;

        text = "#" + juce::String (index + 1);
        return true;
    }
}
