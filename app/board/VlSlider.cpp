#include "app/board/VlSlider.h"

VlSlider::VlSlider()
{
    setRange (0.0, 127.0, 1.0);
    setRepaintsOnMouseActivity (true);
}

VlSlider::~VlSlider() = default;

//==============================================================================
void VlSlider::showControl (const VlControlCfg* control, juce::uint8 value)
{
    const auto unchanged = control != nullptr && control == shownControl && value == controlValue;
    shownControl = control;

    if (! (unchanged && isTakenOver()))
        setTargetValue (value);
}

void VlSlider::setTargetValue (juce::uint8 value)
{
    targetValue = value;
    controlValue = value;
    const auto v = currentValue();
    direction = v > value ? -1 : v < value ? 1 : 0;
    repaint();
}

void VlSlider::valueChanged()
{
    const auto v = currentValue();

    // Reaching or passing the target from the side the slider stood on takes it over;
    // the crossing value itself is then the new value.
    if ((direction == -1 && v <= targetValue) || (direction == 1 && v >= targetValue))
        direction = 0;

    if (direction == 0)
        targetValue = v;
}

void VlSlider::setMuted (bool shouldBeMuted)
{
    muted = shouldBeMuted;
    repaint();
}

void VlSlider::setBarColour (juce::Colour newColour)
{
    barColour = newColour;
    rebuildImages();
    repaint();
}

//==============================================================================
void VlSlider::resized()
{
    juce::Slider::resized();
    rebuildImages();
}

void VlSlider::rebuildImages()
{
    // Never smaller than one segment and one gap, however small the slider.
    const auto w = juce::jmax (getWidth() - 2 * margin, segmentHeight + segmentGap);
    const auto h = juce::jmax (getHeight() - 2 * margin, segmentHeight + segmentGap);

    barImage = juce::Image (juce::Image::ARGB, w, h, false);
    barImage.clear (barImage.getBounds(), barColour);

    const auto segmentCount = (h + segmentGap) / (segmentHeight + segmentGap);

    if (segmentCount > 1)
    {
        juce::Graphics g (barImage);
        g.setColour (juce::Colours::black);

        for (int i = 0; i < segmentCount; ++i)
            g.fillRect (0, segmentHeight + i * (segmentHeight + segmentGap), w, segmentGap);
    }

    dimmedImage = barImage.createCopy();
    dimmedImage.multiplyAllAlphas (0.6f);
}

void VlSlider::paint (juce::Graphics& g)
{
    if (isEnabled())
    {
        const auto width = (float) getWidth(), height = (float) getHeight();
        const auto corner = 0.15f * juce::jmin (width, height);

        g.setColour (juce::Colours::black);
        g.fillRoundedRectangle (1.0f, 1.0f, width - 2.0f, height - 2.0f, 1.25f * corner);

        const auto& image = muted || direction != 0 ? dimmedImage : barImage;
        const auto rows = (int) ((float) image.getHeight() * (float) targetValue / (float) getMaximum());

        if (rows > 0)
            g.drawImage (image, margin, margin + image.getHeight() - rows, image.getWidth(), rows, 0,
                         image.getHeight() - rows, image.getWidth(), rows);
    }

    // The frame and the thumb: the look-and-feel's (VlFCBLookAndFeel on the board).
    juce::Slider::paint (g);
}
