#include "app/board/JButtonsPanel.h"

#include "app/VlFCBLookAndFeel.h"
#include "engine/VlEngine.h"

namespace
{
    const juce::Colour noControlColour (0xff555555);

    // x, y, width, height as fractions of the panel, for footswitches 1..10.
    constexpr float layout[10][4] = {
        { 0.0034f, 0.5262f, 0.1303f, 0.4498f }, { 0.1966f, 0.5262f, 0.1303f, 0.4498f },
        { 0.3888f, 0.5262f, 0.1303f, 0.4498f }, { 0.5832f, 0.5262f, 0.1303f, 0.4498f },
        { 0.7742f, 0.5262f, 0.1303f, 0.4498f }, { 0.0955f, 0.0193f, 0.1306f, 0.4494f },
        { 0.2876f, 0.0193f, 0.1306f, 0.4494f }, { 0.4808f, 0.0193f, 0.1306f, 0.4494f },
        { 0.6729f, 0.0193f, 0.1306f, 0.4494f }, { 0.8650f, 0.0193f, 0.1306f, 0.4494f },
    };
}

JButtonsPanel::JButtonsPanel()
{
    for (size_t i = 0; i < buttons.size(); ++i)
    {
        buttons[i] = std::make_unique<VlButton> (juce::String ((int) i + 1), juce::String());
        addAndMakeVisible (*buttons[i]);
        buttons[i]->setButtonText ("new button");
    }

    setSize (400, 200);

    for (auto& button : buttons)
    {
        button->setLookAndFeel (VlFCBLookAndFeel::getInstance (true));
        button->setWantsKeyboardFocus (false);
    }

    for (auto& button : buttons)
        button->setColour (juce::TextButton::buttonOnColourId, button->findColour (juce::TextButton::buttonColourId));
}

JButtonsPanel::~JButtonsPanel()
{
    for (auto& button : buttons)
        button->setLookAndFeel (nullptr);
}

//==============================================================================
void JButtonsPanel::refreshAll()
{
    auto* engine = VlEngine::getInstance (true);

    for (int footswitch = 1; footswitch <= (int) buttons.size(); ++footswitch)
        updateButton (*getButton (footswitch), engine->getDisplayedControl (footswitch));
}

void JButtonsPanel::refreshButton (int footswitch, const VlControlCfg* control)
{
    if (auto* button = getButton (footswitch))
        updateButton (*button, control);
}

void JButtonsPanel::footswitchEvent (int footswitch, bool down)
{
    auto* button = getButton (footswitch);

    if (button == nullptr)
        return;

    button->setFootDown (down);
    VlEngine::getInstance (true)->onFootswitch (footswitch, down);
}

void JButtonsPanel::updateButton (VlButton& button, const VlControlCfg* control)
{
    if (control == nullptr)
    {
        button.setColour (juce::TextButton::buttonColourId, noControlColour);
        button.setColour (juce::TextButton::buttonOnColourId, noControlColour);
        button.setButtonText ({});
        button.setTargetText ({});
        button.setEnabled (false);
        button.setMultiState (false);
        button.setStateLabel ({}, juce::Colours::transparentBlack);
        return;
    }

    const juce::Colour colour (control->getColor());
    button.setColour (juce::TextButton::buttonColourId, colour);
    button.setColour (juce::TextButton::buttonOnColourId, colour);
    button.setButtonText (control->getLabel());
    button.setTargetText (control->getTarget());
    button.setEnabled (true);

    const auto multiState = control->getStateCount() > 1;
    button.setMultiState (multiState);

    // A control without a current state shows none, never what the button showed before.
    const auto* state = multiState ? control->getCurrentState() : nullptr;

    if (state != nullptr)
        button.setStateLabel (state->getLabel(), juce::Colour (state->getColor()));
    else
        button.setStateLabel ({}, juce::Colours::transparentBlack);
}

VlButton* JButtonsPanel::getButton (int footswitch) const noexcept
{
    return footswitch >= 1 && footswitch <= (int) buttons.size() ? buttons[(size_t) footswitch - 1].get() : nullptr;
}

//==============================================================================
void JButtonsPanel::resized()
{
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setBounds (proportionOfWidth (layout[i][0]), proportionOfHeight (layout[i][1]),
                               proportionOfWidth (layout[i][2]), proportionOfHeight (layout[i][3]));
}
