#include "app/editor/VlEditor.h"

// The commands behind the panes' buttons.

void VlEditor::runCommand (Command command, juce::Button& button, int value)
{
    // What was typed belongs to the objects selected now: it goes into the model
    // before a command changes the selection or rebuilds a panel.
    commitOpenEdits();

    // The buttons do nothing else yet.
    juce::ignoreUnused (command, button, value);
}
