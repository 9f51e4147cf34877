#include "app/editor/JEditorActions.h"

JEditorActions::JEditorActions (VlEditor& editorToTell)
    : JEditorPane (editorToTell)
{
    using Command = VlEditor::Command;
    addList (EditorList::Kind::actions, 30);
    addPropertyPanel();
    addTitle ("Actions");
    addButton ("new", Command::addAction, 31);
    addButton ("duplicate", Command::duplicateAction, 32);
    addButton ("delete", Command::deleteAction, 33);
    addButton ("clear", Command::deleteAllActions, 34);
    addButton ("up", Command::moveActionUp, 35, repeats);
    addButton ("dn", Command::moveActionDown, 36, repeats);
    addButton ("test single", Command::testAction, 37);
    addButton ("test all", Command::testState, 38);
}

JEditorActions::~JEditorActions() = default;

void JEditorActions::resized()
{
    using Command = VlEditor::Command;
    const auto h = getHeight();
    getTitleLabel().setBounds (4, 0, 368, 24);
    getList().setBounds (4, 24, 126, h - 99);
    getPropertyPanel().setBounds (134, 24, 234, h - 99);
    placeButtonPair (Command::addAction, Command::deleteAction, 4, 62);
    placeButtonPair (Command::duplicateAction, Command::deleteAllActions, 72, 62);
    placeButtonPair (Command::moveActionUp, Command::moveActionDown, 140, 38);
    placeButtonPair (Command::testAction, Command::testState, 184, 76);
}
