#pragma once

#include "app/editor/JEditorPane.h"

//==============================================================================
/** The controls pane: the current patch's controls, the current control's rows, and
    the buttons "new", "duplicate", "delete", "clear".
*/
class JEditorControls : public JEditorPane
{
public:
    explicit JEditorControls (VlEditor& editor);
    ~JEditorControls() override;

    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JEditorControls)
};
