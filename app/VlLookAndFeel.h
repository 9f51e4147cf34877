#pragma once

#include "common/CSingleInstance.h"
#include "common/gui/CLookAndFeel.h"

//==============================================================================
/** The application's look: the framework's, with tooltips in a plain 16-pixel font,
    broken into lines at most 400 pixels wide, the lines left-aligned and the block
    centred in the tip.

    One instance, made on first use through getInstance(): the application installs it
    as the default look-and-feel and gives it to every popup menu. The application
    deletes it at shutdown, after the board's look; otherwise JUCE does, when it shuts
    down. Main thread only.
*/
class VlLookAndFeel : public CLookAndFeel,
                      private juce::DeletedAtShutdown
{
public:
    /** The instance; when there is none and `create` is true, makes it first, else null. */
    static VlLookAndFeel* getInstance (bool create);

    /** Deletes the instance, if any. It must no longer be the default or in use. */
    static void deleteInstance();

    ~VlLookAndFeel() override;

    //==============================================================================
    /** The tooltip's text laid out in the tooltip font, in that colour. */
    static juce::TextLayout layoutTooltip (const juce::String& text, juce::Colour colour);

    /** JUCE's placement beside the mouse, in the size of our layout plus a margin. */
    juce::Rectangle<int> getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                           juce::Rectangle<int> parentArea) override;

    /** The tooltip colours' background and outline, the text centred. */
    void drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height) override;

private:
    VlLookAndFeel();
    friend class CSingleInstance<VlLookAndFeel>;

    CSingleInstance<VlLookAndFeel> single { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VlLookAndFeel)
};
