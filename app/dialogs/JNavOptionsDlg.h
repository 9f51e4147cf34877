#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The content of the navigation setup, 380 x 194: a property panel for its rows on
    a grey that darkens from top to bottom. The dialog fills the panel. Main thread only.
*/
class JNavOptionsDlg : public juce::Component
{
public:
    /** An empty panel. */
    JNavOptionsDlg();

    ~JNavOptionsDlg() override;

    /** The rows' panel, which owns the rows it holds. */
    juce::PropertyPanel& getPanel() noexcept { return *panel; }

    //==============================================================================
    /** A vertical gradient from light grey (0xFFE3E3E3) at the top edge to the same
        grey made contrasting by 0.3 at the bottom edge.
    */
    void paint (juce::Graphics& g) override;

    /** The panel, 8 pixels in from every edge. */
    void resized() override;

private:
    std::unique_ptr<juce::PropertyPanel> panel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JNavOptionsDlg)
};
