#include "app/editor/JEditorControls.h"

JEditorControls::JEditorControls (VlEditor& editorToTell)
    : JEditorPane (editorToTell)
{
    using Command = VlEditor::Command;
    addList (EditorList::Kind::controls, 10);
    addTitle ("Controls");
    addPropertyPanel();
    addButton ("new", Command::addControl, 11);
    addButton ("duplicate", Command::duplicateControl, 12);
    addButton ("delete", Command::deleteControl, 13);
    addButton ("clear", Command::deleteAllControls, 14);
}

JEditorControls::~JEditorControls() = default;

void JEditorControls::resized()
{
    using Command = VlEditor::Command;
    const auto h = getHeight();
    getTitleLabel().setBounds (4, 0, 265, 24);
    getList().setBounds (4, 24, 82, h - 28);
    getPropertyPanel().setBounds (90, 24, 183, h - 99);
    placeButtonPair (Command::addControl, Command::deleteControl, 91, 62);
    placeButtonPair (Command::duplicateControl, Command::deleteAllControls, 159, 62);
}
