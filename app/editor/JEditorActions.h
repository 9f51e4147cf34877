#pragma once

#include "app/editor/JEditorPane.h"

//==============================================================================
/** The actions pane: the current state's actions, the current action's rows, and the
    buttons "new", "duplicate", "delete", "clear", "up", "dn", "test single" and "test all"
    in two rows under both.
*/
class JEditorActions : public JEditorPane
{
public:
    explicit JEditorActions (VlEditor& editor);
    ~JEditorActions() override;

    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JEditorActions)
};
