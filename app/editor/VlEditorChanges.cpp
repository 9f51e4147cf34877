#include "app/editor/VlEditor.h"

#include "app/editor/EditorHost.h"
#include "app/editor/EditorList.h"
#include "engine/VlEngine.h"

// What follows a row's change: the main window repainted, panels rebuilt on a later turn
// of the message loop, the document marked changed.

void VlEditor::propertyChanged (int propertyId)
{
    auto* ui = getUserInterface();

    switch ((PropertyId) propertyId)
    {
        case PropertyId::patchName:
            if (patchesList != nullptr)
                patchesList->repaint();

            if (ui != nullptr)
                ui->refreshPatchList();

            break;

        case PropertyId::controlLabel:
        case PropertyId::controlTarget:
        case PropertyId::controlColor:
            if (ui != nullptr)
            {
                ui->refreshButtons();
                ui->refreshPedals();
            }

            break;

        case PropertyId::stateLabel:
        case PropertyId::stateColor:
            if (ui != nullptr)
                ui->refreshButtons();

            break;

        case PropertyId::sysexMinValue:
        case PropertyId::sysexMaxValue:
        case PropertyId::mutePatch:
        case PropertyId::datumSize:
        case PropertyId::ccMinValue:
        case PropertyId::ccMaxValue: deferUpdates (rebuildActionPanel); break;

        // The control's shown states change with its link: the old ones may be deleted
        // already ("is link" yes), so no state or action stays selected until the lists
        // are refreshed.
        case PropertyId::isLink:
        case PropertyId::linkPatch:
        case PropertyId::linkControl:
            currentState = nullptr;
            currentStateIndex = -1;
            currentAction = nullptr;
            currentActionIndex = -1;
            deferUpdates ((juce::uint8) (propertyId == (int) PropertyId::linkControl
                                             ? refreshStateAndActionLists
                                             : rebuildControlPanel | refreshStateAndActionLists));
            break;

        case PropertyId::patchColor:
            if (ui != nullptr)
                ui->repaintBoard();

            break;

        default: break;
    }

    if (auto* host = EditorHost::getInstance())
        host->documentChanged();
}

void VlEditor::deferUpdates (juce::uint8 updates)
{
    pendingUpdates |= updates;
    triggerAsyncUpdate();
}

void VlEditor::handleAsyncUpdate()
{
    commitOpenEdits();
    const auto updates = std::exchange (pendingUpdates, (juce::uint8) 0);

    if ((updates & rebuildControlPanel) != 0)
        rebuildProperties ((int) EditorList::Kind::controls);

    if ((updates & rebuildActionPanel) != 0)
        rebuildProperties ((int) EditorList::Kind::actions);

    if ((updates & refreshStateAndActionLists) != 0)
    {
        refreshStatesList();
        refreshActionsList();
    }
}
