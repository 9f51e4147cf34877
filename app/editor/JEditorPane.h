#pragma once

#include "app/editor/EditorList.h"
#include "app/editor/VlEditor.h"

//==============================================================================
/** What the four panes of the patches editor share: a title, one list, one property
    panel that the editor fills, and command buttons 30 pixels high, each with its help
    text as tooltip. A click on a button goes to VlEditor::runCommand with the button's
    command. A test button plays like a footswitch: 1 once when the mouse presses it,
    and 0 with its click or, when the mouse is let go away from it, then (or when the
    pane stops showing while it is held).

    A pane makes its children in its own order (which is also their order on screen
    and for the keyboard) and places them in resized(). Its own background is not
    painted: the content's gradient shows through. Main thread only.
*/
class JEditorPane : public juce::Component,
                    private juce::Button::Listener
{
public:
    ~JEditorPane() override;

    /** The pane's list. */
    EditorList& getList() const noexcept { return *list; }

    /** The panel the editor fills with the rows of the pane's object. */
    juce::PropertyPanel& getPropertyPanel() const noexcept { return *propertyPanel; }

    /** The title above the list. */
    juce::Label& getTitleLabel() const noexcept { return *titleLabel; }

    /** The button that runs the command, null when the pane has none. */
    juce::TextButton* getButton (VlEditor::Command command) const noexcept;

protected:
    /** 500 x 500 until the content lays it out. */
    explicit JEditorPane (VlEditor& editor);

    /** How a button behaves beside its click. */
    enum ButtonFlags
    {
        plain = 0,
        takesFocus = 1,    ///< a click moves the keyboard focus to it, as JUCE's buttons do
        repeats = 2        ///< held down, it clicks again after 300 ms, then every 100 ms
    };

    void addButton (const juce::String& text, VlEditor::Command command, int helpText, int flags = plain);
    void addList (EditorList::Kind kind, int helpText);
    void addTitle (const juce::String& text);
    void addPropertyPanel();

    /** Places two buttons of that width, 30 pixels high, one above the other at x: the
        first 70 pixels above the pane's bottom, the second 34.
    */
    void placeButtonPair (VlEditor::Command upper, VlEditor::Command lower, int x, int width);

    VlEditor& editor;

private:
    void buttonClicked (juce::Button* button) override;
    void buttonStateChanged (juce::Button* button) override;
    void mouseUp (const juce::MouseEvent& event) override;
    void parentHierarchyChanged() override;
    void release (juce::Button& button);
    VlEditor::Command commandOf (juce::Button& button) const;

    std::vector<std::unique_ptr<juce::Component>> children;
    std::vector<std::pair<juce::TextButton*, VlEditor::Command>> buttons;
    EditorList* list = nullptr;
    juce::Label* titleLabel = nullptr;
    juce::PropertyPanel* propertyPanel = nullptr;
    juce::Array<juce::Button*> pressedTests;    // test buttons whose press was sent, not yet their release

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JEditorPane)
};
