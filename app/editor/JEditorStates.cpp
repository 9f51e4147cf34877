#include "app/editor/JEditorStates.h"

JEditorStates::JEditorStates (VlEditor& editorToTell)
    : JEditorPane (editorToTell)
{
    using Command = VlEditor::Command;
    addList (EditorList::Kind::states, 20);
    addTitle ("States");
    addPropertyPanel();
    addButton ("new", Command::addState, 21);
    addButton ("duplicate", Command::duplicateState, 22);
    addButton ("delete", Command::deleteState, 23);
    addButton ("clear", Command::deleteAllStates, 24);
    addButton ("up", Command::moveStateUp, 25, takesFocus | repeats);
    addButton ("dn", Command::moveStateDown, 26, takesFocus | repeats);
}

JEditorStates::~JEditorStates() = default;

void JEditorStates::resized()
{
    using Command = VlEditor::Command;
    const auto h = getHeight();
    getTitleLabel().setBounds (4, 0, 265, 24);
    getList().setBounds (4, 24, 82, h - 28);
    getPropertyPanel().setBounds (90, 24, 183, h - 99);
    placeButtonPair (Command::addState, Command::deleteState, 91, 62);
    placeButtonPair (Command::duplicateState, Command::deleteAllStates, 159, 62);
    placeButtonPair (Command::moveStateUp, Command::moveStateDown, 227, 38);
}
