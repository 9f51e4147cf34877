#pragma once

#include "app/VlArrowlessScrollBars.h"

class VlEditor;

//==============================================================================
/** One of the patches editor's four lists, told apart by its kind: the patches, the
    current patch's controls, the current control's states ("#1", "#2"...) or the
    current state's actions. It asks the editor for its rows and texts and reports
    every change of its selection to the editor, which then rebuilds the panels and
    the lists to its right.

    Rows of 18 pixels on translucent white, the selected one light green. A click below
    the last row drops the selection of the controls and actions lists (the editor then
    has no current control or action); the other two keep theirs. The controls list never
    scrolls (a patch has at most 12 controls); the others show a vertical scroll bar
    without arrows when their rows do not fit. Every row shows the list's own tooltip.
    Main thread only.
*/
class EditorList : public juce::ListBox,
                   private juce::ListBoxModel
{
public:
    enum class Kind
    {
        patches = 1,
        controls = 2,
        states = 3,
        actions = 4
    };

    /** Registers with the editor, which reaches the list of each kind through it. */
    EditorList (VlEditor& editor, Kind kind);

    /** Unregisters from the editor. */
    ~EditorList() override;

    Kind getKind() const noexcept { return kind; }

    //==============================================================================
    int getNumRows() override;
    void paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool isSelected) override;
    void backgroundClicked (const juce::MouseEvent& event) override;
    void selectedRowsChanged (int lastRowSelected) override;
    juce::String getTooltipForRow (int row) override;

private:
    VlEditor& editor;
    const Kind kind;
    VlArrowlessScrollBars scrollBars;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EditorList)
};
