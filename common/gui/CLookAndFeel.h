#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The framework's look: a dark menu bar with white names, white popup menus
    with a lilac highlight, grey and green glass text buttons, narrower scroll
    bars and a lower menu bar.

    The default sans-serif font (and "Arial") is drawn in Arial where it is
    installed, else in the metric-compatible "Liberation Sans"; when neither is
    there JUCE's own default stays, so text never disappears.

    The product's look-and-feel derives from it and is installed as the default.
    Main thread only.
*/
class CLookAndFeel : public juce::LookAndFeel_V2
{
public:
    /** Sets the colours and picks the sans-serif family. Needs JUCE's GUI initialised. */
    CLookAndFeel();
    ~CLookAndFeel() override;

    /** The family that the default sans-serif font is drawn in; empty when JUCE's own is kept. */
    const juce::String& getSansSerifFamily() const noexcept { return sansSerifFamily; }

    //==============================================================================
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;

    /** A glass lozenge in the button's colour: faint and brightened when disabled,
        with a thicker outline when pressed or under the mouse; connected sides are flat.
    */
    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;

    /** Bold, 0.6 x the button's height but at most 15 pixels. */
    juce::Font getTextButtonFont (juce::TextButton& button, int buttonHeight) override;

    int getDefaultScrollbarWidth() override;

    /** White with a thin dark frame. */
    void drawPopupMenuBackground (juce::Graphics& g, int width, int height) override;

    juce::Font getPopupMenuFont() override;

    /** JUCE's bar drawn on a dark colour; the popup menus stay white. */
    void drawMenuBarBackground (juce::Graphics& g, int width, int height, bool isMouseOverBar,
                                juce::MenuBarComponent& menuBar) override;

    juce::Font getMenuBarFont (juce::MenuBarComponent& menuBar, int itemIndex, const juce::String& itemText) override;

    /** JUCE's item drawn with white text; the popup menus keep black text. */
    void drawMenuBarItem (juce::Graphics& g, int width, int height, int itemIndex, const juce::String& itemText,
                          bool isMouseOverItem, bool isMenuOpen, bool isMouseOverBar,
                          juce::MenuBarComponent& menuBar) override;

    int getDefaultMenuBarHeight() override;

    //==============================================================================
    /** The colour with its saturation x1.3 when focused; then, pressed, overlaid
        with 20 % of its contrasting black or white, or under the mouse with 10 %.
        Light colours (red + green + blue >= 384) contrast with black.
    */
    static juce::Colour createBaseColour (juce::Colour colour, bool hasKeyboardFocus, bool isMouseOverButton,
                                          bool isButtonDown) noexcept;

    /** The colour overlaid with `amount` of black when its red + green + blue is 384
        or more, else of white (JUCE's own contrasting() weighs the channels instead).
    */
    static juce::Colour contrastingBySum (juce::Colour colour, float amount) noexcept;

    /** Adds to `path` a closed outline clockwise from the top-left corner; each
        corner asked for is a quarter circle of radius `cornerSize`, the others sharp.
    */
    static void createRoundedPath (juce::Path& path, float x, float y, float width, float height, float cornerSize,
                                   bool curveTopLeft, bool curveTopRight, bool curveBottomLeft, bool curveBottomRight);

    /** A shiny rounded oblong. A negative corner size means as round as it gets;
        a flat side has no rounded corners and no side shading.
        Draws nothing when the width or height is not above the outline thickness.
    */
    static void drawGlassLozenge (juce::Graphics& g, float x, float y, float width, float height, juce::Colour colour,
                                  float outlineThickness, float cornerSize, bool flatOnLeft, bool flatOnRight,
                                  bool flatOnTop, bool flatOnBottom);

private:
    juce::String sansSerifFamily;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CLookAndFeel)
};
