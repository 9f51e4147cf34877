#include "app/editor/JEditorPane.h"

#include "app/editor/EditorHost.h"

namespace
{
    constexpr int buttonHeight = 30;

    bool isTest (VlEditor::Command command)
    {
        return command == VlEditor::Command::testAction || command == VlEditor::Command::testState;
    }
}

JEditorPane::JEditorPane (VlEditor& editorToTell)
    : editor (editorToTell)
{
    setSize (500, 500);
}

JEditorPane::~JEditorPane()
{
    for (auto& [button, command] : buttons)
    {
        button->removeListener (this);
        button->removeMouseListener (this);
    }
}

juce::TextButton* JEditorPane::getButton (VlEditor::Command command) const noexcept
{
    for (auto& [button, itsCommand] : buttons)
        if (itsCommand == command)
            return button;

    return nullptr;
}

//==============================================================================
void JEditorPane::addButton (const juce::String& text, VlEditor::Command command, int help, int flags)
{
    auto button = std::make_unique<juce::TextButton> (juce::String(), juce::String());
    button->setButtonText (text);
    button->setTooltip (EditorHost::getHelpText (help));

    // A click must leave the focus where it is: a text being typed in a row stays open.
    if ((flags & takesFocus) == 0)
    {
        button->setWantsKeyboardFocus (false);
        button->setMouseClickGrabsKeyboardFocus (false);
    }

    if ((flags & repeats) != 0)
        button->setRepeatSpeed (300, 100, 20);

    button->addListener (this);

    // Let go away from a test button, the release must be sent all the same.
    if (isTest (command))
        button->addMouseListener (this, false);

    buttons.emplace_back (button.get(), command);
    addAndMakeVisible (*button);
    children.push_back (std::move (button));
}

void JEditorPane::addList (EditorList::Kind kind, int help)
{
    auto made = std::make_unique<EditorList> (editor, kind);
    made->setTooltip (EditorHost::getHelpText (help));
    list = made.get();
    addAndMakeVisible (*made);
    children.push_back (std::move (made));
}

void JEditorPane::addTitle (const juce::String& text)
{
    auto label = std::make_unique<juce::Label> (juce::String(), text);
    label->setFont (juce::Font (20.0f, juce::Font::bold));
    label->setJustificationType (juce::Justification::centredLeft);
    label->setEditable (false, false, false);
    label->setColour (juce::Label::textColourId, juce::Colours::black);
    label->setColour (juce::TextEditor::textColourId, juce::Colours::black);
    label->setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    titleLabel = label.get();
    addAndMakeVisible (*label);
    children.push_back (std::move (label));
}

void JEditorPane::addPropertyPanel()
{
    auto panel = std::make_unique<juce::PropertyPanel>();
    propertyPanel = panel.get();
    addAndMakeVisible (*panel);
    children.push_back (std::move (panel));
}

void JEditorPane::placeButtonPair (VlEditor::Command upper, VlEditor::Command lower, int x, int width)
{
    if (auto* button = getButton (upper))
        button->setBounds (x, getHeight() - 70, width, buttonHeight);

    if (auto* button = getButton (lower))
        button->setBounds (x, getHeight() - 34, width, buttonHeight);
}

//==============================================================================
VlEditor::Command JEditorPane::commandOf (juce::Button& button) const
{
    for (auto& [itsButton, command] : buttons)
        if (itsButton == &button)
            return command;

    jassertfalse;    // every button of a pane has its command
    return VlEditor::Command::addPatch;
}

void JEditorPane::buttonClicked (juce::Button* button)
{
    pressedTests.removeAllInstancesOf (button);
    editor.runCommand (commandOf (*button), *button, 0);
}

void JEditorPane::buttonStateChanged (juce::Button* button)
{
    // JUCE reports "down" again each time the pointer comes back over a button still held:
    // a note played twice would be released once, and hang.
    const auto command = commandOf (*button);

    if (button->isDown() && isTest (command) && ! pressedTests.contains (button))
    {
        pressedTests.add (button);
        editor.runCommand (command, *button, 1);
    }
}

void JEditorPane::mouseUp (const juce::MouseEvent& event)
{
    // Called after the button's own handling: a click has sent the release already.
    if (auto* button = dynamic_cast<juce::Button*> (event.eventComponent))
        release (*button);
}

void JEditorPane::parentHierarchyChanged()
{
    // Closed while a test button is held: no mouse release will reach it.
    if (! isShowing())
        for (auto* button : juce::Array<juce::Button*> (pressedTests))
            release (*button);
}

void JEditorPane::release (juce::Button& button)
{
    if (pressedTests.contains (&button))
    {
        pressedTests.removeAllInstancesOf (&button);
        editor.runCommand (commandOf (button), button, 0);
    }
}
