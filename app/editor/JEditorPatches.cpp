#include "app/editor/JEditorPatches.h"

JEditorPatches::JEditorPatches (VlEditor& editorToTell)
    : JEditorPane (editorToTell)
{
    using Command = VlEditor::Command;
    addButton ("new", Command::addPatch, 1);
    addButton ("duplicate", Command::duplicatePatch, 2);
    addButton ("delete", Command::deletePatch, 3);
    addList (EditorList::Kind::patches, 0);
    addTitle ("Patches");
    addPropertyPanel();
    addButton ("clear", Command::deleteAllPatches, 4);
    addButton ("up", Command::movePatchUp, 5, repeats);
    addButton ("dn", Command::movePatchDown, 6, repeats);
}

JEditorPatches::~JEditorPatches() = default;

void JEditorPatches::resized()
{
    using Command = VlEditor::Command;
    const auto h = getHeight();
    getTitleLabel().setBounds (4, 0, 364, 24);
    getList().setBounds (4, 24, 180, h - 28);
    getPropertyPanel().setBounds (188, 24, 179, h - 99);
    placeButtonPair (Command::addPatch, Command::deletePatch, 189, 62);
    placeButtonPair (Command::duplicatePatch, Command::deleteAllPatches, 257, 62);
    placeButtonPair (Command::movePatchUp, Command::movePatchDown, 325, 38);
}
