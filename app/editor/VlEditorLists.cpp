#include "app/editor/VlEditor.h"

#include "app/editor/EditorList.h"
#include "engine/VlEngine.h"
#include "engine/VlTexts.h"

// The four lists the editor keeps and the row counts and texts they show.

void VlEditor::registerList (EditorList& list)
{
    switch (list.getKind())
    {
        case EditorList::Kind::patches: patchesList = &list; break;
        case EditorList::Kind::controls: controlsList = &list; break;
        case EditorList::Kind::states: statesList = &list; break;
        case EditorList::Kind::actions: actionsList = &list; break;
    }
}

void VlEditor::unregisterList (EditorList& list)
{
    for (auto** registered : { &patchesList, &controlsList, &statesList, &actionsList })
        if (*registered == &list)
            *registered = nullptr;
}

EditorList* VlEditor::getList (int kind) const noexcept
{
    switch ((EditorList::Kind) kind)
    {
        case EditorList::Kind::patches: return patchesList;
        case EditorList::Kind::controls: return controlsList;
        case EditorList::Kind::states: return statesList;
        case EditorList::Kind::actions: return actionsList;
    }

    return nullptr;
}

int VlEditor::getPatchCount() const noexcept
{
    return (int) (juce::uint16) engine.getNumPatches();
}

int VlEditor::getControlCount()
{
    auto* patch = getCurrentPatch();
    return patch != nullptr ? patch->getNumControls() : 0;
}

int VlEditor::getStateCount() const noexcept
{
    return currentControl != nullptr ? currentControl->getStateCount() : 0;
}

int VlEditor::getActionCount() const noexcept
{
    return currentState != nullptr ? (int) currentState->getActions().size() : 0;
}

void VlEditor::getPatchText (int index, juce::String& text) const
{
    VlTexts::getPatchText (engine, index, text);
}

void VlEditor::getControlText (int controlId, juce::String& text)
{
    VlTexts::getControlText (controlId, text);
}

void VlEditor::getControlRowText (const VlPatch* patch, int row, juce::String& text)
{
    if (patch == nullptr)
        patch = getCurrentPatch();

    if (patch != nullptr)
        VlTexts::getControlRowText (*patch, row, text);
}

void VlEditor::getStateText (const VlControlCfg* control, int index, juce::String& text) const
{
    if (control == nullptr)
        control = currentControl;

    if (control != nullptr)
        VlTexts::getStateText (*control, index, text);
}

void VlEditor::getActionText (const VlControlState* state, int index, juce::String& text) const
{
    if (state == nullptr)
        state = currentState;

    if (state != nullptr && juce::isPositiveAndBelow (index, (int) state->getActions().size()))
        text = state->getActions()[(size_t) index]->getTypeName();
}
