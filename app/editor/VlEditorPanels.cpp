#include "app/editor/VlEditor.h"

#include "app/editor/EditorProperty.h"
#include "app/editor/EditorRows.h"
#include "app/editor/JEditorContentComponent.h"
#include "engine/VlEngine.h"

// The four property panels: which rows each object shows, and a text being typed in
// them committed before the selection or the panels change.

namespace
{
    const juce::String emptyPanelText ("No editable properties");

    constexpr int patchPanel = 1, controlPanel = 2, statePanel = 3, actionPanel = 4;

    // A label whose editor is open takes what was typed into it, as a click elsewhere does.
    void commitEditsIn (juce::Component& component)
    {
        if (auto* label = dynamic_cast<juce::Label*> (&component); label != nullptr && label->isBeingEdited())
            label->hideEditor (false);

        for (auto* child : component.getChildren())
            commitEditsIn (*child);
    }

    // The property id of the panel's row that holds the keyboard focus, 0 for none.
    int idOfFocusedRow (juce::Component& panel)
    {
        for (auto* c = juce::Component::getCurrentlyFocusedComponent(); c != nullptr && c != &panel;
             c = c->getParentComponent())
            if (auto* row = dynamic_cast<EditorProperty*> (c))
                return panel.isParentOf (c) ? row->getPropertyId() : 0;

        return 0;
    }

    juce::Component* findRow (juce::Component& component, int propertyId)
    {
        if (auto* row = dynamic_cast<EditorProperty*> (&component))
            return row->getPropertyId() == propertyId ? &component : nullptr;

        for (auto* child : component.getChildren())
            if (auto* found = findRow (*child, propertyId))
                return found;

        return nullptr;
    }

    // Empties the panel (its rows are deleted) for the rows of a new object, or none.
    juce::PropertyPanel* emptied (juce::PropertyPanel* panel)
    {
        if (panel != nullptr)
        {
            panel->clear();
            panel->setMessageWhenEmpty (emptyPanelText);
            panel->setEnabled (true);
        }

        return panel;
    }
}

juce::PropertyPanel* VlEditor::panelOf (int kind) const
{
    auto* pane = content != nullptr ? content->getPane (kind) : nullptr;
    return pane != nullptr ? &pane->getPropertyPanel() : nullptr;
}

void VlEditor::commitOpenEdits()
{
    for (int kind = patchPanel; kind <= actionPanel; ++kind)
        if (auto* panel = panelOf (kind))
            commitEditsIn (*panel);
}

void VlEditor::rebuildProperties (int kind)
{
    // The row that has the keyboard focus goes with its panel: its rebuilt self takes the
    // focus back, so that the keys go on where they were.
    auto* panel = panelOf (kind);
    const auto focusedId = panel != nullptr ? idOfFocusedRow (*panel) : 0;

    switch (kind)
    {
        case patchPanel: buildPatchProperties(); break;
        case controlPanel: buildControlProperties(); break;
        case statePanel: buildStateProperties(); break;
        case actionPanel: buildActionProperties(); break;
        default: break;
    }

    if (focusedId != 0)
        if (auto* row = findRow (*panel, focusedId); row != nullptr && row->isShowing())
            row->grabKeyboardFocus();
}

//==============================================================================
void VlEditor::buildPatchProperties()
{
    auto* panel = emptied (panelOf (patchPanel));

    if (panel == nullptr || getCurrentPatch() == nullptr)
        return;

    EditorRows::addToPanel (*panel, *this,
                            { VlPropertyRow::text ("name", PropertyId::patchName, 32),
                              VlPropertyRow::choice ("level", PropertyId::patchLevel),
                              VlPropertyRow::color ("color", PropertyId::patchColor),
                              VlPropertyRow::text ("comment", PropertyId::patchComment, 1024, 150) });
}

void VlEditor::buildControlProperties()
{
    auto* panel = emptied (panelOf (controlPanel));

    if (panel == nullptr || currentControl == nullptr)
        return;

    VlPropertyRows rows { VlPropertyRow::choice ("is link", PropertyId::isLink) };

    if (currentControl->isLinked())
    {
        rows.push_back (VlPropertyRow::choice ("patch", PropertyId::linkPatch));
        rows.push_back (VlPropertyRow::choice ("control", PropertyId::linkControl));
    }
    else
    {
        rows.push_back (VlPropertyRow::text ("label", PropertyId::controlLabel, 32));
        rows.push_back (VlPropertyRow::text ("target", PropertyId::controlTarget, 32));
        rows.push_back (VlPropertyRow::color ("color", PropertyId::controlColor));

        if (isFootswitchId (currentControlId) && currentControl->getStateCount() >= 2)
            rows.push_back (VlPropertyRow::choice ("init state", PropertyId::initState));
        else if (isPedalId (currentControlId))
            rows.push_back (VlPropertyRow::choice ("init value", PropertyId::initValue));
    }

    EditorRows::addToPanel (*panel, *this, rows);
}

void VlEditor::buildStateProperties()
{
    auto* panel = emptied (panelOf (statePanel));

    // A single state is the control itself: its label and colour are the control's.
    if (panel == nullptr || currentControl == nullptr || currentState == nullptr || currentControl->getStateCount() < 2)
        return;

    EditorRows::addToPanel (*panel, *this,
                            { VlPropertyRow::text ("label", PropertyId::stateLabel, 32),
                              VlPropertyRow::color ("color", PropertyId::stateColor) });

    // A link shows the states of the control it links to, which are edited there.
    panel->setEnabled (! currentControl->isLinked());
}

void VlEditor::buildActionProperties()
{
    auto* panel = emptied (panelOf (actionPanel));

    if (panel == nullptr || currentControl == nullptr || currentAction == nullptr)
        return;

    VlPropertyRows rows;
    currentAction->addProperties (rows);
    EditorRows::addToPanel (*panel, *this, rows);
    panel->setEnabled (! currentControl->isLinked());
}
