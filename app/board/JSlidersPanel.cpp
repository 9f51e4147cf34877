#include "app/board/JSlidersPanel.h"

#include "app/VlFCBLookAndFeel.h"
#include "engine/VlEngine.h"

namespace
{
    const juce::Colour noControlColour (0xff555555);
}

JSlidersPanel::JSlidersPanel()
{
    const auto makeSlider = [this] {
        auto slider = std::make_unique<VlSlider>();
        addAndMakeVisible (*slider);
        slider->setSliderStyle (juce::Slider::LinearVertical);
        slider->setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
        slider->addListener (this);
        return slider;
    };

    const auto makeLabel = [this] (const juce::String& text, bool bold) {
        auto label = std::make_unique<juce::Label> (juce::String(), text);
        addAndMakeVisible (*label);
        setUpLabel (*label, bold);
        return label;
    };

    slider11 = makeSlider();
    nameLabel11 = makeLabel ("Control name", true);
    nameLabel12 = makeLabel ("Control name", true);
    targetLabel11 = makeLabel ("Target", false);
    targetLabel12 = makeLabel ("Target", false);
    slider12 = makeSlider();

    setSize (250, 400);

    for (auto* slider : { slider11.get(), slider12.get() })
    {
        slider->setLookAndFeel (VlFCBLookAndFeel::getInstance (true));
        slider->setWantsKeyboardFocus (false);
    }
}

JSlidersPanel::~JSlidersPanel()
{
    for (auto* slider : { slider11.get(), slider12.get() })
    {
        slider->removeListener (this);
        slider->setLookAndFeel (nullptr);
    }
}

void JSlidersPanel::setUpLabel (juce::Label& label, bool bold)
{
    label.setFont (juce::Font (20.0f, bold ? juce::Font::bold : juce::Font::plain));
    label.setJustificationType (juce::Justification::centred);
    label.setEditable (false, false, false);
    label.setColour (juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    label.setColour (juce::Label::textColourId, juce::Colours::white);
    label.setColour (juce::TextEditor::textColourId, juce::Colours::black);
    label.setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
}

//==============================================================================
void JSlidersPanel::refreshAll()
{
    auto* engine = VlEngine::getInstance (true);

    for (const auto id : { 11, 12 })
        updateSlider (*getSlider (id), *getNameLabel (id), *getTargetLabel (id), engine->getDisplayedControl (id));
}

void JSlidersPanel::setPedalValue (int controlId, juce::uint8 value)
{
    // The listener hears of it later on the main thread, where the pedal's actions run.
    if (auto* slider = getSlider (controlId))
        slider->setValue (value, juce::sendNotificationAsync);
}

void JSlidersPanel::updateSlider (VlSlider& slider, juce::Label& nameLabel, juce::Label& targetLabel,
                                  const VlControlCfg* control)
{
    if (control == nullptr)
    {
        nameLabel.setText ({}, juce::dontSendNotification);
        targetLabel.setText ({}, juce::dontSendNotification);
        slider.setColour (juce::Slider::thumbColourId, noControlColour);
        slider.setEnabled (false);
        slider.showControl (nullptr, 0);
        slider.setBarColour (juce::Colours::black);
        slider.setMuted (false);
        return;
    }

    const juce::Colour colour (control->getColor());
    nameLabel.setText (control->getLabel(), juce::dontSendNotification);
    targetLabel.setText (control->getTarget(), juce::dontSendNotification);
    nameLabel.setColour (juce::Label::textColourId, colour);
    targetLabel.setColour (juce::Label::textColourId, colour);
    slider.setColour (juce::Slider::thumbColourId, colour);
    slider.setEnabled (true);
    slider.showControl (control, control->getCurrentValue());
    slider.setBarColour (colour);
    slider.setMuted (control->isMuted());
}

void JSlidersPanel::sliderValueChanged (juce::Slider* slider)
{
    const auto id = slider == slider11.get() ? 11 : slider == slider12.get() ? 12 : 0;
    auto* pedal = getSlider (id);

    if (pedal != nullptr && pedal->isTakenOver())
    {
        VlEngine::getInstance (true)->onPedalValue (id, pedal->getTargetValue());
        pedal->valuePassedOn (pedal->getTargetValue());
    }
}

VlSlider* JSlidersPanel::getSlider (int controlId) const noexcept
{
    return controlId == 11 ? slider11.get() : controlId == 12 ? slider12.get() : nullptr;
}

juce::Label* JSlidersPanel::getNameLabel (int controlId) const noexcept
{
    return controlId == 11 ? nameLabel11.get() : controlId == 12 ? nameLabel12.get() : nullptr;
}

juce::Label* JSlidersPanel::getTargetLabel (int controlId) const noexcept
{
    return controlId == 11 ? targetLabel11.get() : controlId == 12 ? targetLabel12.get() : nullptr;
}

//==============================================================================
void JSlidersPanel::resized()
{
    const auto h = getHeight();
    const auto width = proportionOfWidth (0.4028f);
    const auto left = proportionOfWidth (0.0782f), right = proportionOfWidth (0.52f);

    slider11->setBounds (left, 33, width, h - 66);
    nameLabel11->setBounds (left, 3, width, 24);
    nameLabel12->setBounds (right, 3, width, 24);
    targetLabel11->setBounds (left, h - 27, width, 24);
    targetLabel12->setBounds (right, h - 27, width, 24);
    slider12->setBounds (right, 33, width, h - 66);
}
