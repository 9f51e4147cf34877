#include "common/gui/CLookAndFeel.h"

namespace
{
    const juce::Colour popupHighlight (0xbfa4a4ce);
    const juce::Colour darkMenuBar (0xff202020);
    const juce::Colour buttonGrey (0xff525252);

    // Debian has no Arial. Mapping the default font to a family that is not
    // installed leaves every default-font text blank, so only map to one that is.
    juce::String pickSansSerifFamily()
    {
        const auto names = juce::Font::findAllTypefaceNames();

        if (names.contains ("Arial"))
            return "Arial";

        if (names.contains ("Liberation Sans"))
            return "Liberation Sans";

        return {};
    }
}

CLookAndFeel::CLookAndFeel()
    : sansSerifFamily (pickSansSerifFamily())
{
    setColour (juce::PopupMenu::backgroundColourId, juce::Colours::white);
    setColour (juce::PopupMenu::textColourId, juce::Colours::black);
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colours::black);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, popupHighlight);
    setColour (juce::ScrollBar::backgroundColourId, juce::Colours::transparentBlack);
    setColour (juce::ScrollBar::thumbColourId, juce::Colours::black.withBrightness (0.5f));
    setColour (juce::TextButton::buttonColourId, buttonGrey);
    setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff4cff4c));
    setColour (juce::TextButton::textColourOffId, juce::Colours::white);
    setColour (juce::TextButton::textColourOnId, juce::Colours::black);
    setColour (juce::ComboBox::buttonColourId, buttonGrey);
    setColour (juce::ComboBox::arrowColourId, juce::Colours::white);
    setColour (juce::TabbedButtonBar::tabTextColourId, juce::Colour (0xff808080));
    setColour (juce::TabbedButtonBar::frontTextColourId, juce::Colours::black);

    // Has no effect on Linux, where every box is a JUCE alert window anyway.
    setUsingNativeAlertWindows (true);
}

CLookAndFeel::~CLookAndFeel() = default;

juce::Colour CLookAndFeel::contrastingBySum (juce::Colour colour, float amount) noexcept
{
    // JUCE 7 decides by perceived brightness; this look was made with the
    // plain sum of the channels.
    const auto sum = (int) colour.getRed() + (int) colour.getGreen() + (int) colour.getBlue();
    return colour.overlaidWith ((sum >= 384 ? juce::Colours::black : juce::Colours::white).withAlpha (amount));
}

juce::Typeface::Ptr CLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    const auto& name = font.getTypefaceName();

    if (sansSerifFamily.isNotEmpty() && (name == juce::Font::getDefaultSansSerifFontName() || name == "Arial"))
    {
        juce::Font mapped (font);
        mapped.setTypefaceName (sansSerifFamily);
        return juce::Typeface::createSystemTypefaceFor (mapped);
    }

    return juce::LookAndFeel_V2::getTypefaceForFont (font);
}

//==============================================================================
void CLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                         bool isMouseOverButton, bool isButtonDown)
{
    const auto enabled = button.isEnabled();
    const auto outlineThickness = ! enabled ? 0.4f : (isButtonDown || isMouseOverButton) ? 1.2f : 0.7f;
    const auto halfThickness = outlineThickness * 0.5f;

    const auto indentL = button.isConnectedOnLeft() ? 0.1f : halfThickness;
    const auto indentR = button.isConnectedOnRight() ? 0.1f : halfThickness;
    const auto indentT = button.isConnectedOnTop() ? 0.1f : halfThickness;
    const auto indentB = button.isConnectedOnBottom() ? 0.1f : halfThickness;

    auto colour = createBaseColour (backgroundColour, button.hasKeyboardFocus (true), isMouseOverButton, isButtonDown)
                      .withMultipliedAlpha (enabled ? 1.0f : 0.25f);

    if (! enabled)
        colour = colour.brighter (0.5f);

    const auto width = (float) button.getWidth();
    const auto height = (float) button.getHeight();

    drawGlassLozenge (g, indentL, indentT, width - indentL - indentR, height - indentT - indentB, colour,
                      outlineThickness, 0.3f * juce::jmin (width, height), button.isConnectedOnLeft(),
                      button.isConnectedOnRight(), button.isConnectedOnTop(), button.isConnectedOnBottom());
}

juce::Font CLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return { juce::jmin (15.0f, (float) buttonHeight * 0.6f), juce::Font::bold };
}

int CLookAndFeel::getDefaultScrollbarWidth()
{
    return 20;
}

void CLookAndFeel::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    g.fillAll (findColour (juce::PopupMenu::backgroundColourId));
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.drawRect (0, 0, width, height);
}

juce::Font CLookAndFeel::getPopupMenuFont()
{
    return { 16.0f };
}

void CLookAndFeel::drawMenuBarBackground (juce::Graphics& g, int width, int height, bool isMouseOverBar,
                                          juce::MenuBarComponent& menuBar)
{
    // JUCE takes the bar's colour from the popup menu background: lend it a
    // dark one for the bar only.
    setColour (juce::PopupMenu::backgroundColourId, darkMenuBar);
    juce::LookAndFeel_V2::drawMenuBarBackground (g, width, height, isMouseOverBar, menuBar);
    setColour (juce::PopupMenu::backgroundColourId, juce::Colours::white);
}

juce::Font CLookAndFeel::getMenuBarFont (juce::MenuBarComponent& menuBar, int, const juce::String&)
{
    return { (float) menuBar.getHeight() * 0.75f, juce::Font::bold };
}

void CLookAndFeel::drawMenuBarItem (juce::Graphics& g, int width, int height, int itemIndex,
                                    const juce::String& itemText, bool isMouseOverItem, bool isMenuOpen,
                                    bool isMouseOverBar, juce::MenuBarComponent& menuBar)
{
    setColour (juce::PopupMenu::textColourId, juce::Colours::white);
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colours::white);
    juce::LookAndFeel_V2::drawMenuBarItem (g, width, height, itemIndex, itemText, isMouseOverItem, isMenuOpen,
                                           isMouseOverBar, menuBar);
    setColour (juce::PopupMenu::textColourId, juce::Colours::black);
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colours::black);
}

int CLookAndFeel::getDefaultMenuBarHeight()
{
    return 20;
}

//==============================================================================
juce::Colour CLookAndFeel::createBaseColour (juce::Colour colour, bool hasKeyboardFocus, bool isMouseOverButton,
                                             bool isButtonDown) noexcept
{
    const auto base = colour.withMultipliedSaturation (hasKeyboardFocus ? 1.3f : 1.0f);

    if (isButtonDown)
        return contrastingBySum (base, 0.2f);

    if (isMouseOverButton)
        return contrastingBySum (base, 0.1f);

    return base;
}

void CLookAndFeel::createRoundedPath (juce::Path& path, float x, float y, float width, float height, float cornerSize,
                                      bool curveTopLeft, bool curveTopRight, bool curveBottomLeft,
                                      bool curveBottomRight)
{
    const auto cs = cornerSize;
    const auto cs2 = 2.0f * cs;
    const auto pi = juce::MathConstants<float>::pi;

    if (curveTopLeft)
    {
        path.startNewSubPath (x, y + cs);
        path.addArc (x, y, cs2, cs2, pi * 1.5f, pi * 2.0f);
    }
    else
    {
        path.startNewSubPath (x, y);
    }

    if (curveTopRight)
    {
        path.lineTo (x + width - cs, y);
        path.addArc (x + width - cs2, y, cs2, cs2, 0.0f, pi * 0.5f);
    }
    else
    {
        path.lineTo (x + width, y);
    }

    if (curveBottomRight)
    {
        path.lineTo (x + width, y + height - cs);
        path.addArc (x + width - cs2, y + height - cs2, cs2, cs2, pi * 0.5f, pi);
    }
    else
    {
        path.lineTo (x + width, y + height);
    }

    if (curveBottomLeft)
    {
        path.lineTo (x + cs, y + height);
        path.addArc (x, y + height - cs2, cs2, cs2, pi, pi * 1.5f);
    }
    else
    {
        path.lineTo (x, y + height);
    }

    path.closeSubPath();
}

void CLookAndFeel::drawGlassLozenge (juce::Graphics& g, float x, float y, float width, float height,
                                     juce::Colour colour, float outlineThickness, float cornerSize, bool flatOnLeft,
                                     bool flatOnRight, bool flatOnTop, bool flatOnBottom)
{
    if (width <= outlineThickness || height <= outlineThickness)
        return;

    const auto cs = cornerSize < 0.0f ? juce::jmin (width * 0.5f, height * 0.5f) : cornerSize;
    const auto edgeBlurRadius = height * 0.75f + (height - cs * 2.0f);

    const auto roundTopLeft = ! (flatOnLeft || flatOnTop);
    const auto roundTopRight = ! (flatOnRight || flatOnTop);
    const auto roundBottomLeft = ! (flatOnLeft || flatOnBottom);
    const auto roundBottomRight = ! (flatOnRight || flatOnBottom);

    juce::Path outline;
    createRoundedPath (outline, x, y, width, height, cs, roundTopLeft, roundTopRight, roundBottomLeft,
                       roundBottomRight);

    // Grey underneath, so that translucent colours show over it.
    g.setColour (juce::Colour (0xff808080));
    g.fillPath (outline);

    {
        juce::ColourGradient body (colour.darker (0.2f), 0.0f, y, colour.darker (0.2f), 0.0f, y + height, false);
        body.addColour (0.03, colour.withMultipliedAlpha (0.3f));
        body.addColour (0.4, colour);
        body.addColour (0.97, colour.withMultipliedAlpha (0.3f));
        g.setGradientFill (body);
        g.fillPath (outline);
    }

    const auto midY = y + height * 0.5f;
    juce::ColourGradient side (juce::Colours::transparentBlack, x + edgeBlurRadius, midY, colour.darker (0.2f), x, midY,
                               true);

    const auto shadeLeft = edgeBlurRadius > 0.0f && ! (flatOnLeft || flatOnTop || flatOnBottom);
    const auto shadeRight = edgeBlurRadius > 0.0f && ! (flatOnRight || flatOnTop || flatOnBottom);

    if (shadeLeft || shadeRight)
    {
        side.addColour (juce::jlimit (0.0, 1.0, 1.0 - (cs * 0.5f) / edgeBlurRadius), juce::Colours::transparentBlack);
        side.addColour (juce::jlimit (0.0, 1.0, 1.0 - (cs * 0.25f) / edgeBlurRadius),
                        colour.darker (0.2f).withMultipliedAlpha (0.3f));
    }

    if (shadeLeft)
    {
        juce::Graphics::ScopedSaveState state (g);
        g.setGradientFill (side);
        g.reduceClipRegion (juce::Rectangle<float> (x, y, edgeBlurRadius, height).getSmallestIntegerContainer());
        g.fillPath (outline);
    }

    if (shadeRight)
    {
        side.point1.setX (x + width - edgeBlurRadius);
        side.point2.setX (x + width);

        juce::Graphics::ScopedSaveState state (g);
        g.setGradientFill (side);
        g.reduceClipRegion (juce::Rectangle<float> (x + width - edgeBlurRadius, y, edgeBlurRadius + 2.0f, height)
                                .getSmallestIntegerContainer());
        g.fillPath (outline);
    }

    {
        const auto leftIndent = (flatOnTop || flatOnLeft) ? 0.0f : cs * 0.4f;
        const auto rightIndent = (flatOnTop || flatOnRight) ? 0.0f : cs * 0.4f;

        juce::Path highlight;
        createRoundedPath (highlight, x + leftIndent, y + cs * 0.1f, width - (leftIndent + rightIndent), height * 0.4f,
                           cs * 0.4f, roundTopLeft, roundTopRight, roundBottomLeft, roundBottomRight);

        g.setGradientFill (juce::ColourGradient (colour.brighter (10.0f), 0.0f, y + height * 0.06f,
                                                 juce::Colours::transparentWhite, 0.0f, y + height * 0.4f, false));
        g.fillPath (highlight);
    }

    g.setColour (colour.darker (0.4f).withMultipliedAlpha (1.5f));
    g.strokePath (outline, juce::PathStrokeType (outlineThickness));
}
