#pragma once

#include "app/VlArrowlessScrollBars.h"
#include "common/CSingleInstance.h"

//==============================================================================
/** The list of the document's patches in the main window: one row a patch, its
    0-based number and its name. The engine's current patch is highlighted (a band
    in the patch's colour, green number, white name); the list's own selection is
    not drawn. In navigation mode no row is highlighted. A double click on a row calls
    onDoubleClick (the main window's content opens the patches editor).

    Selecting a row makes that patch current (VlEngine::selectPatch), also a click on
    the row already selected, which leaves navigation mode; the engine in turn selects
    rows to change patches, so list and engine agree whichever starts.

    One exists at a time, reachable through getInstance() while it lives. Main thread,
    or the MIDI input thread while it holds the message-manager lock.
*/
class PatchesList : public juce::ListBox,
                    private juce::ListBoxModel
{
public:
    /** Rows of 40 pixels on black, a vertical scroll bar only when needed. */
    PatchesList();

    ~PatchesList() override;

    /** The list that exists, or null. */
    static PatchesList* getInstance() noexcept;

    //==============================================================================
    /** Re-reads the number of patches and repaints. */
    void refresh();

    /** Called on a double click on a row, after the click has selected it. */
    std::function<void()> onDoubleClick;

private:
    int getNumRows() override;
    void paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool isSelected) override;
    void selectedRowsChanged (int lastRowSelected) override;
    void listBoxItemClicked (int row, const juce::MouseEvent& event) override;
    void listBoxItemDoubleClicked (int row, const juce::MouseEvent& event) override;

    VlArrowlessScrollBars scrollBars;

    // Last: one list at a time, since the engine's selections reach it through getInstance().
    CSingleInstance<PatchesList> single { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PatchesList)
};
