#include "app/dialogs/JMidiInputDlg.h"

#include "app/VlFCBLookAndFeel.h"
#include "app/board/JContentComponent.h"
#include "app/editor/EditorHost.h"

namespace
{
    constexpr int stripHeight = 34;
    const juce::Colour boardColour (0xffe3e3e3);

    enum HelpText
    {
        learnHelp = 40,
        deviceHelp = 41,
        channelHelp = 42
    };

}

JMidiInputDlg::JMidiInputDlg (Listener& dialog)
    : owner (dialog)
{
    buttonsPanel = std::make_unique<JButtonsPanel>();
    addAndMakeVisible (*buttonsPanel);
    slidersPanel = std::make_unique<JSlidersPanel>();
    addAndMakeVisible (*slidersPanel);

    learnButton = std::make_unique<juce::TextButton> ("learn");
    addAndMakeVisible (*learnButton);
    learnButton->setTooltip (EditorHost::getHelpText (learnHelp));
    learnButton->addListener (this);

    deviceCombo = std::make_unique<juce::ComboBox>();
    addAndMakeVisible (*deviceCombo);
    setUpCombo (*deviceCombo);
    deviceCombo->setTooltip (EditorHost::getHelpText (deviceHelp));
    deviceCombo->addListener (this);

    channelCombo = std::make_unique<juce::ComboBox>();
    addAndMakeVisible (*channelCombo);
    setUpCombo (*channelCombo);
    channelCombo->setTooltip (EditorHost::getHelpText (channelHelp));
    channelCombo->addListener (this);

    deviceLabel = std::make_unique<juce::Label> (juce::String(), "Input device:");
    addAndMakeVisible (*deviceLabel);
    setUpLabel (*deviceLabel);
    channelLabel = std::make_unique<juce::Label> (juce::String(), "Channel:");
    addAndMakeVisible (*channelLabel);
    setUpLabel (*channelLabel);

    setSize (650, 340);
}

JMidiInputDlg::~JMidiInputDlg()
{
    learnButton->removeListener (this);
    deviceCombo->removeListener (this);
    channelCombo->removeListener (this);
}

void JMidiInputDlg::setUpCombo (juce::ComboBox& combo)
{
    combo.setEditableText (false);
    combo.setJustificationType (juce::Justification::centredLeft);
    combo.setTextWhenNoChoicesAvailable ("(no choices)");
}

void JMidiInputDlg::setUpLabel (juce::Label& label)
{
    label.setFont (juce::Font (18.0f, juce::Font::plain));
    label.setJustificationType (juce::Justification::centredLeft);
    label.setEditable (false, false, false);
    label.setColour (juce::Label::textColourId, juce::Colours::white);
    label.setColour (juce::TextEditor::textColourId, juce::Colours::black);
    label.setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
}

//==============================================================================
void JMidiInputDlg::paint (juce::Graphics& g)
{
    const auto w = getWidth(), h = getHeight();

    VlFCBLookAndFeel::drawBevelledPanel (g, 0, stripHeight, w, h - stripHeight, boardColour);
    g.setColour (juce::Colours::black);
    g.fillRect (0, 0, w, stripHeight);
}

void JMidiInputDlg::resized()
{
    const auto w = getWidth(), h = getHeight();

    buttonsPanel->setBounds (0, stripHeight, w - 170, h - stripHeight);
    slidersPanel->setBounds (w - 170, 40, 170, h - 40);
    learnButton->setBounds (w - 140, 3, 136, 27);
    deviceLabel->setBounds (0, 5, 104, 24);
    deviceCombo->setBounds (104, 5, w - 378, 24);
    channelLabel->setBounds (w - 269, 5, 74, 24);
    channelCombo->setBounds (w - 196, 5, 50, 24);
}

//==============================================================================
void JMidiInputDlg::buttonClicked (juce::Button* button)
{
    if (button == learnButton.get())
        owner.toggleLearning();
}

void JMidiInputDlg::comboBoxChanged (juce::ComboBox* comboBox)
{
    if (comboBox == deviceCombo.get())
        owner.deviceChanged (deviceCombo->getSelectedItemIndex());
    else if (comboBox == channelCombo.get())
        owner.channelChanged (channelCombo->getSelectedItemIndex());
}
