#include "app/board/JContentComponent.h"

#include "app/VlFCBLookAndFeel.h"
#include "app/dialogs/VlMidiInputDlg.h"
#include "app/editor/VlEditor.h"
#include "engine/VlEngine.h"

JContentComponent::JContentComponent()
{
    patchesList = std::make_unique<PatchesList>();
    patchesList->onDoubleClick = [] { VlEditor::getInstance (true)->show(); };
    addAndMakeVisible (*patchesList);
    buttonsPanel = std::make_unique<JButtonsPanel>();
    addAndMakeVisible (*buttonsPanel);
    slidersPanel = std::make_unique<JSlidersPanel>();
    addAndMakeVisible (*slidersPanel);

    VlEngine::getInstance (true)->setUserInterface (this);
    setSize (830, 400);
}

JContentComponent::~JContentComponent()
{
    // The engine may be gone already; then nothing refers to us any more.
    if (auto* engine = VlEngine::getInstance (false); engine != nullptr && engine->getUserInterface() == this)
        engine->setUserInterface (nullptr);

    patchesList = nullptr;
    buttonsPanel = nullptr;
    slidersPanel = nullptr;
}

JContentComponent* JContentComponent::getInstance() noexcept
{
    return CSingleInstance<JContentComponent>::get();
}

//==============================================================================
void JContentComponent::paint (juce::Graphics& g)
{
    auto* engine = VlEngine::getInstance (false);
    auto* patch = engine != nullptr ? engine->getCurrentPatch() : nullptr;

    if (patch == nullptr)
        return;

    VlFCBLookAndFeel::drawBevelledPanel (g, 0, 0, getWidth(), getHeight(), juce::Colour (patch->getColor()));
}

void JContentComponent::resized()
{
    const auto w = getWidth(), h = getHeight();
    const auto p = juce::roundToInt (0.024 * h);

    buttonsPanel->setBounds (0, 0, w - 380, h);
    slidersPanel->setBounds (w - 380, 0, 170, h);
    patchesList->setBounds (w - 210, p, 210, h - 2 * p);
}

//==============================================================================
void JContentComponent::footswitchEvent (int footswitch, bool down)
{
    buttonsPanel->footswitchEvent (footswitch, down);
}

void JContentComponent::showFootswitchUp (int footswitch)
{
    if (auto* button = buttonsPanel->getButton (footswitch))
        button->setFootDown (false);
}

void JContentComponent::setPedalValue (int pedal, int value)
{
    slidersPanel->setPedalValue (pedal, (juce::uint8) value);
}

void JContentComponent::learnMessage (bool isController, int number)
{
    if (auto* dialog = VlMidiInputDlg::getInstance (false))
        dialog->learnMessage (isController, number);
}

void JContentComponent::refreshButtons()
{
    buttonsPanel->refreshAll();
}

void JContentComponent::refreshPedals()
{
    slidersPanel->refreshAll();
    slidersPanel->repaint();
}

void JContentComponent::refreshButton (int footswitch, const VlControlCfg* control)
{
    buttonsPanel->refreshButton (footswitch, control);
}

void JContentComponent::repaintBoard()
{
    repaint();
}

void JContentComponent::refreshPatchList()
{
    patchesList->refresh();
}

void JContentComponent::scrollPatchListTo (int row)
{
    patchesList->scrollToEnsureRowIsOnscreen (row);
}

int JContentComponent::getSelectedPatchRow()
{
    return patchesList->getSelectedRow (0);
}

bool JContentComponent::selectPatchRow (int row)
{
    // The row's selection callback selects the patch. A list that has not heard of
    // the row yet selects nothing: the engine then selects the patch itself.
    patchesList->selectRow (row);
    return patchesList->getSelectedRow (0) == row;
}
