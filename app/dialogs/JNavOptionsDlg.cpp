#include "app/dialogs/JNavOptionsDlg.h"

namespace
{
    const juce::Colour topColour (0xffe3e3e3);
}

JNavOptionsDlg::JNavOptionsDlg()
{
    panel = std::make_unique<juce::PropertyPanel>();
    addAndMakeVisible (*panel);
    setSize (380, 194);
}

JNavOptionsDlg::~JNavOptionsDlg() = default;

void JNavOptionsDlg::paint (juce::Graphics& g)
{
    g.setGradientFill (
        juce::ColourGradient (topColour, 0.0f, 0.0f, topColour.contrasting (0.3f), 0.0f, (float) getHeight(), false));
    g.fillAll();
}

void JNavOptionsDlg::resized()
{
    panel->setBounds (getLocalBounds().reduced (8));
}
