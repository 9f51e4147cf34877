#include "app/VlFCBLookAndFeel.h"

#include "app/board/VlButton.h"
#include "common/gui/CLookAndFeel.h"

namespace
{
    // The groove's and the bottom shadow's shades, laid over the gradient.
    const juce::Colour clearLight (0x00ffffff), faintLight (0x20ffffff), shade (0x80000000);

    void fillBand (juce::Graphics& g, int x, int y, int width, int height, juce::Colour top, juce::Colour bottom)
    {
        if (height <= 0)
            return;

        g.setGradientFill (juce::ColourGradient (top, 0.0f, (float) y, bottom, 0.0f, (float) (y + height), false));
        g.fillRect (x, y, width, height);
    }
}

VlFCBLookAndFeel::VlFCBLookAndFeel() = default;
VlFCBLookAndFeel::~VlFCBLookAndFeel() = default;

VlFCBLookAndFeel* VlFCBLookAndFeel::getInstance (bool create)
{
    // Owned by JUCE's shutdown list until deleteInstance().
    return CSingleInstance<VlFCBLookAndFeel>::getOrCreate (create);
}

void VlFCBLookAndFeel::deleteInstance()
{
    CSingleInstance<VlFCBLookAndFeel>::deleteInstance();
}

//==============================================================================
juce::Colour VlFCBLookAndFeel::getHighlightColour (juce::Colour colour, bool isMouseOver, bool isDown)
{
    if (isDown)
        return colour.brighter (0.4f);

    if (isMouseOver)
        return colour.getBrightness() > 0.5f ? colour.darker (0.1f) : colour.brighter (0.1f);

    return colour;
}

juce::ColourGradient VlFCBLookAndFeel::createPanelGradient (juce::Colour colour, juce::Rectangle<float> area)
{
    return juce::ColourGradient (colour, area.getTopLeft(), CLookAndFeel::contrastingBySum (colour, 0.3f),
                                 area.getBottomRight(), false);
}

void VlFCBLookAndFeel::drawBevelledPanel (juce::Graphics& g, int x, int y, int width, int height, juce::Colour colour)
{
    g.setGradientFill (createPanelGradient (colour, juce::Rectangle<int> (x, y, width, height).toFloat()));
    g.fillAll();

    const auto groove = juce::roundToInt (0.49 * height);
    const auto line = juce::roundToInt (0.008 * height);
    const auto edge = juce::roundToInt (0.012 * height);
    const auto grooveY = y + groove;

    fillBand (g, x, grooveY - 2 * edge, width, edge, clearLight, faintLight);
    fillBand (g, x, grooveY - edge, width, edge, faintLight, shade);
    fillBand (g, x, grooveY, width, line, shade, shade);
    fillBand (g, x, grooveY + line, width, edge, shade, faintLight);
    fillBand (g, x, grooveY + line + edge, width, edge, faintLight, clearLight);

    fillBand (g, x, y + height - 2 * edge, width, edge, clearLight, faintLight);
    fillBand (g, x, y + height - edge, width, edge, faintLight, shade);
}

//==============================================================================
void VlFCBLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                             const juce::Colour& backgroundColour, bool isMouseOverButton,
                                             bool isButtonDown)
{
    // JUCE reports a button that is down as under the mouse too: a pressed pad has the thick outline.
    const auto pad = button.getLocalBounds().toFloat().reduced (1.0f);
    const auto corner = 0.15f * (float) juce::jmin (button.getWidth(), button.getHeight());

    if (button.isEnabled())
    {
        g.setColour (juce::Colours::black);
        g.fillRoundedRectangle (pad, corner);
    }

    g.setColour (getHighlightColour (backgroundColour, isMouseOverButton, isButtonDown));
    g.drawRoundedRectangle (pad, corner, isMouseOverButton ? 3.0f : 1.0f);
}

void VlFCBLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& textButton, bool, bool)
{
    auto* button = dynamic_cast<VlButton*> (&textButton);

    if (button == nullptr)
        return;

    const auto text =
        button->findColour (juce::TextButton::buttonOnColourId).withMultipliedAlpha (button->isEnabled() ? 1.0f : 0.5f);

    // Four areas stacked from the top: number, label, state (multi-state only), target.
    const auto w = button->getWidth() - 2, h = button->getHeight() - 2;
    const auto mx = w / 14, my = h / 60;
    const auto x = mx + 1, iw = w - 2 * mx, ih = h - 2 * my;
    const auto numberHeight = (int) (0.15 * ih), targetHeight = (int) (0.12 * ih);
    const auto rest = ih - 3 * my - targetHeight - numberHeight;
    const auto labelHeight = button->isMultiState() ? (int) (0.7 * rest) : rest;
    const auto stateHeight = button->isMultiState() ? (int) (0.3 * rest) : 0;

    const auto numberY = my + 1;
    const auto labelY = numberY + numberHeight + my;
    const auto stateY = labelY + labelHeight + my;
    const auto targetY = stateY + stateHeight + my;

    g.setColour (text.darker (0.5f));
    g.setFont (juce::Font ((float) numberHeight, juce::Font::bold));
    g.drawFittedText (button->getName(), x, numberY, iw, numberHeight, juce::Justification::centred, 1, 1.0f);

    // One word a line, text in double quotes kept together; the lines are centred as a block.
    juce::StringArray words;
    words.addTokens (button->getButtonText(), " \t\r\n", "\"");
    words.removeEmptyStrings();

    if (! words.isEmpty())
    {
        const auto n = words.size();
        const auto lineHeight = labelHeight / n;
        const juce::Font font (0.7f * (float) labelHeight / (float) n, juce::Font::bold);

        juce::GlyphArrangement lines;
        auto lineY = labelY;

        for (const auto& word : words)
        {
            const auto first = lines.getNumGlyphs();
            lines.addFittedText (font, word, (float) x, (float) lineY, (float) iw, (float) lineHeight,
                                 juce::Justification::centred, 1, 0.1f);
            lineY += (int) lines.getBoundingBox (first, -1, true).getHeight();
        }

        const auto block = lines.getBoundingBox (0, -1, true);
        lines.moveRangeOfGlyphs (0, -1, 0.0f, (float) labelY + (float) labelHeight * 0.5f - block.getCentreY());
        g.setColour (text);
        lines.draw (g);
    }

    if (stateHeight > 0)
    {
        g.setColour (button->getStateColour());
        g.setFont (juce::Font ((float) stateHeight, juce::Font::bold));
        g.drawFittedText (button->getStateLabel(), x, stateY, iw, stateHeight, juce::Justification::centred, 1, 0.4f);
    }

    g.setColour (text.darker (0.5f));
    g.setFont (juce::Font ((float) targetHeight, juce::Font::plain));
    g.drawFittedText (button->getTargetText(), x, targetY, iw, targetHeight, juce::Justification::centred, 1, 0.4f);
}

//==============================================================================
void VlFCBLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                         float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                         juce::Slider& slider)
{
    const auto vertical = style == juce::Slider::LinearVertical;

    if (! vertical && style != juce::Slider::LinearHorizontal)
    {
        juce::LookAndFeel_V2::drawLinearSlider (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style,
                                                slider);
        return;
    }

    // The frame follows the whole slider, not the track JUCE hands over.
    const auto w = (float) slider.getWidth(), h = (float) slider.getHeight();
    const auto corner = 0.15f * juce::jmin (w, h);
    const auto halfWidth = vertical ? w / 2.0f - 3.0f : 13.0f;
    const auto halfHeight = vertical ? 13.0f : h / 2.0f - 3.0f;

    const auto enabled = slider.isEnabled();
    const auto over = enabled && slider.isMouseOverOrDragging();
    const auto down = enabled && slider.isMouseButtonDown();
    const auto colour = slider.findColour (juce::Slider::thumbColourId);

    g.setColour (getHighlightColour (colour, over, false));
    g.drawRoundedRectangle (1.0f, 1.0f, w - 2.0f, h - 2.0f, 1.25f * corner, 1.0f);

    if (! enabled)
        return;

    const auto thumb = vertical ? juce::Rectangle<float> ((w - 2.0f * halfWidth) * 0.5f, sliderPos - halfHeight,
                                                          2.0f * halfWidth, 2.0f * halfHeight)
                                : juce::Rectangle<float> (sliderPos - halfWidth, (h - 2.0f * halfHeight) * 0.5f,
                                                          2.0f * halfWidth, 2.0f * halfHeight);

    g.setColour (getHighlightColour (colour, over, down));
    g.drawRoundedRectangle (thumb, corner, over ? 6.0f : 3.0f);
}

int VlFCBLookAndFeel::getSliderThumbRadius (juce::Slider& slider)
{
    if (slider.getSliderStyle() == juce::Slider::LinearHorizontal)
        return juce::jmin (16, slider.getHeight() / 2 - 1);

    if (slider.getSliderStyle() == juce::Slider::LinearVertical)
        return juce::jmin (16, slider.getWidth() / 2 - 1);

    return 10;
}

juce::Button* VlFCBLookAndFeel::createSliderButton (juce::Slider&, bool isIncrement)
{
    return new juce::TextButton (isIncrement ? "+" : "-");
}

juce::Label* VlFCBLookAndFeel::createSliderTextBox (juce::Slider& slider)
{
    const auto bar = slider.getSliderStyle() == juce::Slider::LinearBar;
    auto* label = new juce::Label ("n", {});

    label->setFont (juce::Font ((float) slider.getHeight() * 0.7f, juce::Font::plain));
    label->setJustificationType (juce::Justification::centred);
    label->setColour (juce::Label::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::TextEditor::textColourId, slider.findColour (juce::Slider::textBoxTextColourId));
    label->setColour (juce::Label::backgroundColourId,
                      bar ? juce::Colours::transparentBlack
                          : slider.findColour (juce::Slider::textBoxBackgroundColourId));
    label->setColour (juce::Label::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::outlineColourId, slider.findColour (juce::Slider::textBoxOutlineColourId));
    label->setColour (juce::TextEditor::backgroundColourId,
                      slider.findColour (juce::Slider::textBoxBackgroundColourId).withAlpha (bar ? 0.7f : 1.0f));
    return label;
}
