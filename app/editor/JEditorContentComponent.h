#pragma once

#include "app/editor/JEditorActions.h"
#include "app/editor/JEditorControls.h"
#include "app/editor/JEditorPatches.h"
#include "app/editor/JEditorStates.h"

//==============================================================================
/** The patches editor's window content, 1020 x 500: the patches pane on the left, the
    controls pane above the states pane in the middle, the actions pane on the right,
    on a light grey gradient with a darker bar between the columns.

    Made by the editor at its first showing and kept between showings. Main thread only.
*/
class JEditorContentComponent : public juce::Component
{
public:
    /** The four panes, whose lists register with the editor. */
    explicit JEditorContentComponent (VlEditor& editor);

    ~JEditorContentComponent() override;

    //==============================================================================
    JEditorPatches& getPatchesPane() const noexcept { return *patchesPane; }
    JEditorControls& getControlsPane() const noexcept { return *controlsPane; }
    JEditorStates& getStatesPane() const noexcept { return *statesPane; }
    JEditorActions& getActionsPane() const noexcept { return *actionsPane; }

    /** The pane of the list of that kind (1..4), null for another. */
    JEditorPane* getPane (int kind) const noexcept;

    //==============================================================================
    /** The gradient from 0xFFE3E3E3 at the top to a darker grey at the bottom, and
        the two bars at x 369 and 647.
    */
    void paint (juce::Graphics& g) override;

    /** Patches 368 wide on the left; controls (0.4894 of the height) above states at
        x 372, 274 wide; actions from x 650, 388 wide (past the right edge).
    */
    void resized() override;

private:
    std::unique_ptr<JEditorPatches> patchesPane;
    std::unique_ptr<JEditorControls> controlsPane;
    std::unique_ptr<JEditorActions> actionsPane;
    std::unique_ptr<JEditorStates> statesPane;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JEditorContentComponent)
};
