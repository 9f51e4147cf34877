#pragma once

#include "app/editor/JEditorPane.h"

//==============================================================================
/** The states pane: the current control's states, the current state's label and
    colour, and the buttons "new", "duplicate", "delete", "clear", "up", "dn" ("up" and
    "dn" take the keyboard focus when clicked, the others leave it where it is).
*/
class JEditorStates : public JEditorPane
{
public:
    explicit JEditorStates (VlEditor& editor);
    ~JEditorStates() override;

    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JEditorStates)
};
