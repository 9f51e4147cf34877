#pragma once

#include "app/editor/JEditorPane.h"

//==============================================================================
/** The patches pane: the document's patches, the current patch's name, level,
    colour and comment, and the buttons "new", "duplicate", "delete", "clear", "up", "dn".
*/
class JEditorPatches : public JEditorPane
{
public:
    explicit JEditorPatches (VlEditor& editor);
    ~JEditorPatches() override;

    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JEditorPatches)
};
