#include "fixtures/EditorFixture.h"
#include "resources/HelpTextTable.h"

using Kind = EditorList::Kind;
using Command = VlEditor::Command;

class JEditorContentComponentTests : public EditorFixture
{
protected:
    JEditorContentComponentTests() { open(); }

    static juce::String boundsOf (juce::Component& c) { return c.getBounds().toString(); }
};

//==============================================================================
TEST_F (JEditorContentComponentTests, PanesFillTheColumnsBetweenTwoGreyBarsAndTheirButtonsKeepTheFocusAway)
{
    const struct
    {
        Kind pane;
        const char* bounds;
        const char* list;
        const char* panel;
        Command button;
        const char* buttonBounds;
    } layouts[] {
        { Kind::patches, "0 0 368 500", "4 24 180 472", "188 24 179 401", Command::movePatchDown, "325 466 38 30" },
        { Kind::controls, "372 0 274 245", "4 24 82 217", "90 24 183 146", Command::duplicateControl, "159 175 62 30" },
        { Kind::states, "372 245 274 255", "4 24 82 227", "90 24 183 156", Command::moveStateUp, "227 185 38 30" },
        { Kind::actions, "650 0 388 500", "4 24 126 401", "134 24 234 401", Command::testState, "184 466 76 30" },
    };

    for (const auto& l : layouts)
    {
        auto& p = pane (l.pane);
        EXPECT_EQ (boundsOf (p) + " | " + boundsOf (p.getList()) + " | " + boundsOf (p.getPropertyPanel()) + " | "
                       + boundsOf (*p.getButton (l.button)),
                   juce::String (l.bounds) + " | " + l.list + " | " + l.panel + " | " + l.buttonBounds);
    }

    const auto image = dialog().createComponentSnapshot (dialog().getLocalBounds());
    EXPECT_EQ (boundsOf (dialog()) + " " + pane (Kind::states).getTitleLabel().getText(), "0 0 1020 500 States");
    EXPECT_EQ (image.getPixelAt (369, 250), juce::Colour (0xffa0a0a0));
    EXPECT_EQ (image.getPixelAt (648, 490), juce::Colour (0xffa0a0a0));
    EXPECT_EQ (image.getPixelAt (369, 1), juce::Colour (0xffe3e3e3));
    EXPECT_LT (image.getPixelAt (371, 498).getBrightness(), 0.7f);    // darker to the bottom

    // A click on a button that takes no focus leaves a text being typed open.
    const struct
    {
        Kind pane;
        Command command;
        const char* text;
        int help;
        bool takesFocus;
    } buttons[] {
        { Kind::patches, Command::movePatchUp, "up", 5, false },
        { Kind::states, Command::moveStateDown, "dn", 26, true },
        { Kind::actions, Command::testAction, "test single", 37, false },
    };

    for (const auto& b : buttons)
    {
        auto& button = *pane (b.pane).getButton (b.command);
        EXPECT_EQ (button.getButtonText() + " " + juce::String ((int) button.getWantsKeyboardFocus())
                       + juce::String ((int) button.getMouseClickGrabsKeyboardFocus()),
                   juce::String (b.text) + (b.takesFocus ? " 11" : " 00"));
        EXPECT_EQ (button.getTooltip(), VlResources::helpTextTable[b.help]);
    }
}

TEST_F (JEditorContentComponentTests, ListsShowTheirTooltipOnEveryRowAndScrollAsTheirKindAllows)
{
    // More rows than fit: 43 patches, 12 controls (in a list cut to 3 rows), 43 states, 42 actions.
    addPatches (40);

    for (int i = 0; i < 40; ++i)
    {
        addAction<VlamNote> (*footswitch.getState (0));
        footswitch.addState (std::make_unique<VlControlState>());
    }

    for (int id = 1; id <= 12; ++id)
        if (intro.getControl (id) == nullptr)
            addControl (intro, id);

    editor.finish();
    open();
    list (Kind::controls).setSize (82, 54);

    const struct
    {
        Kind kind;
        int help;
        bool scrolls;
    } lists[] {
        { Kind::patches, 0, true },
        { Kind::controls, 10, false },
        { Kind::states, 20, true },
        { Kind::actions, 30, true },
    };

    for (const auto& l : lists)
    {
        auto& listBox = list (l.kind);
        auto* row =
            dynamic_cast<juce::TooltipClient*> (listBox.getComponentAt (listBox.getRowPosition (0, true).getCentre()));
        ASSERT_NE (row, nullptr);
        EXPECT_EQ (row->getTooltip(), VlResources::helpTextTable[l.help]);
        EXPECT_EQ (listBox.getViewport()->getVerticalScrollBar().isVisible(), l.scrolls) << (int) l.kind;
        EXPECT_FALSE (listBox.getViewport()->getVerticalScrollBar().getLookAndFeel().areScrollbarButtonsVisible());
    }

    // The selected row on light green, the others not.
    const auto image = list (Kind::controls).createComponentSnapshot ({ 0, 0, 82, 36 });
    EXPECT_EQ (image.getPixelAt (2, 9), juce::Colour (0xff7fff7f));
    EXPECT_NE (image.getPixelAt (2, 27), juce::Colour (0xff7fff7f));
}

TEST_F (JEditorContentComponentTests, AClickBelowTheLastRowClearsOnlyTheControlsAndActionsLists)
{
    showEditorOnDesktop();
    const struct
    {
        Kind kind;
        int selectedAfter;
    } lists[] {
        { Kind::patches, 0 },
        { Kind::states, 0 },
        { Kind::actions, -1 },
        { Kind::controls, -1 },
    };

    for (const auto& l : lists)
    {
        click (list (l.kind), { 10, list (l.kind).getHeight() - 5 });
        EXPECT_EQ (list (l.kind).getSelectedRow(), l.selectedAfter) << (int) l.kind;
    }

    // No control, and nothing below it either.
    EXPECT_EQ (selectionShown(), "0 -1 -1 -1 id -1");
    EXPECT_EQ (rowsOf (Kind::controls) + rowsOf (Kind::states) + rowsOf (Kind::actions), "---");
    EXPECT_FALSE (list (Kind::states).isEnabled() || list (Kind::actions).isEnabled());
}

// Typed text belongs to the object that was selected while it was typed.
TEST_F (JEditorContentComponentTests, ATypedTextIsCommittedBeforeAnythingRebuildsItsPanel)
{
    auto& note = *footswitch.getState (0)->getActions()[0];

    const struct
    {
        Kind pane;
        PropertyId id;
        std::function<void()> road;
        std::function<juce::String()> field;
    } roads[] {
        { Kind::patches, PropertyId::patchComment, [&] { list (Kind::patches).selectRow (1); },
          [&] { return intro.getComment(); } },
        { Kind::controls, PropertyId::controlLabel,
          [&] {
              showEditorOnDesktop();
              click (list (Kind::controls), { 10, 27 });
          },
          [&] { return footswitch.getOwnLabel(); } },
        { Kind::actions, PropertyId::actionComment,
          [&] {
              editor.propertyChanged ((int) PropertyId::datumSize);
              MessageLoop::pumpFor (20);
          },
          [&] { return note.getComment(); } },
        { Kind::states, PropertyId::stateLabel,
          [&] {
              pane (Kind::states).getButton (Command::addState)->triggerClick();
              MessageLoop::pumpFor (20);
          },
          [&] { return footswitch.getState (0)->getLabel(); } },
        { Kind::patches, PropertyId::patchName, [&] { editor.finish(); }, [&] { return intro.getName(); } },
    };

    showEditorOnDesktop();

    for (const auto& r : roads)
    {
        list (Kind::patches).selectRow (0);
        list (Kind::controls).selectRow (0);
        EditorPanel::typeInto (rowOf (r.pane, r.id), "typed");
        r.road();
        EXPECT_EQ (r.field(), "typed") << (int) r.id;
    }

    EXPECT_EQ (verse.getComment(), "");
}
