// Random editing of the example document: selections, every command with random menu
// choices and answers (the menus and questions sometimes running pending rebuilds, as
// their modal loops do), row edits, closing and reopening. After each step the editor
// points only at live objects of the current patch, every link and every go-to and mute
// action has its target, and the document saves, reads back without a load message and
// writes again to the same text. VELTRINO_EDIT_SEED and VELTRINO_EDIT_STEPS (or
// VELTRINO_EDIT_SECONDS) change the run; scripts/fuzz-editor.sh runs it for longer.

#include "app/VlDocument.h"
#include "app/editor/EPC_Choice.h"
#include "app/editor/EPC_Color.h"
#include "app/editor/EPC_Text.h"
#include "engine/VlDocumentStage.h"
#include "engine/VlaMute.h"
#include "fixtures/EditorFixture.h"
#include "fixtures/FakePrompts.h"
#include "resources/ExamplesArchive.h"

using Kind = EditorList::Kind;
using Command = VlEditor::Command;

class VlEditorRandomEditingTests : public EditorFixture
{
protected:
    FakePrompts prompts;
    VlDocument document { engine, nullptr };
    const juce::int64 seed = juce::SystemStats::getEnvironmentVariable ("VELTRINO_EDIT_SEED", "14").getLargeIntValue();
    juce::Random random { seed };
    juce::TextButton menuButton;

    bool load (const juce::String& text)
    {
        const auto root = juce::parseXML (text);
        const auto loaded =
            engine.loadDocumentContent (*root->getChildByName ("navigation"), *root->getChildByName ("patches"), false);
        engine.startPlaying (0);
        return loaded;
    }

    bool loadExample()
    {
        juce::ZipFile archive (
            new juce::MemoryInputStream (VlResources::examplesArchive, VlResources::examplesArchiveSize, false), true);
        return load (std::unique_ptr<juce::InputStream> (
                         archive.createStreamForEntry (*archive.getEntry ("Veltrino examples/win_example.vlt")))
                         ->readEntireStreamAsString());
    }

    /** Mostly the lists further right: their objects have more kinds of rows. */
    Kind deeperKind() { return (Kind) juce::jmax (1 + random.nextInt (4), 1 + random.nextInt (4)); }

    void step()
    {
        const auto kind = deeperKind();
        auto rows = EditorPanel::rows (pane (kind).getPropertyPanel());
        auto* row = rows.empty() ? nullptr : rows[(size_t) random.nextInt ((int) rows.size())];
        const char* texts[] { "", "Lead", "41 10 42 12 $ 40 01 30 10 =", "43 *", "7f", "300", "-4" };

        // What makes new objects comes up more often than the rest, so that the document keeps some.
        const Command making[] { Command::addPatch,         Command::duplicatePatch, Command::addControl,
                                 Command::duplicateControl, Command::addState,       Command::duplicateState,
                                 Command::addAction,        Command::duplicateAction };
        const auto any = random.nextInt ((int) Command::testState + 9);

        switch (random.nextInt (10))
        {
            case 0:
            case 1:
            case 2:
                list (kind).selectRow (random.nextInt (list (kind).getNumRows() + 1) - (kind == Kind::patches ? 0 : 1));
                break;
            case 3:
            case 4:
                if (auto* text = dynamic_cast<EPC_Text*> (row))
                    text->setText (texts[random.nextInt (7)]);
                else if (auto* choice = dynamic_cast<EPC_Choice*> (row))
                    choice->getComboBox().setSelectedItemIndex (
                        random.nextInt (choice->getComboBox().getNumItems() + 1), juce::sendNotificationSync);
                else if (auto* color = dynamic_cast<EPC_Color*> (row))
                    color->setColour (random.nextBool() ? 0xff336699 : 0xffffffff);
                break;
            case 5:
            case 6:
                if (random.nextInt (10) == 0)
                {
                    editor.finish();
                    ASSERT_TRUE (random.nextBool() || loadExample());
                    open();
                }
                else
                    MessageLoop::pumpFor (1);
                break;
            default:
                prompts.okCancelAnswers = { random.nextInt (3) == 0 };
                editor.runCommand (any <= (int) Command::testState ? (Command) any
                                                                   : making[any - (int) Command::testState - 1],
                                   menuButton, random.nextInt (2));
        }
    }

    /** Mostly an item the menu offers; now and then any id, offered or not. */
    int choose (const juce::PopupMenu& menu)
    {
        juce::Array<int> offered;

        for (juce::PopupMenu::MenuItemIterator i (menu); i.next();)
            if (i.getItem().isEnabled && i.getItem().itemID != 0)
                offered.add (i.getItem().itemID);

        return offered.isEmpty() || random.nextInt (5) == 0 ? random.nextInt (27)
                                                            : offered[random.nextInt (offered.size())];
    }

    /** What the editor points at is the current patch's, found by identity before it is read. */
    bool pointsAtLiveObjects()
    {
        auto* control = editor.getCurrentControl();
        auto* patch = engine.getCurrentPatch();

        if (control == nullptr || patch == nullptr || patch->getControl (editor.getCurrentControlId()) != control)
            return control == nullptr && editor.getCurrentState() == nullptr && editor.getCurrentAction() == nullptr;

        auto* state = control->getState (editor.getCurrentStateIndex());
        const auto a = editor.getCurrentActionIndex();
        auto* action = state != nullptr && juce::isPositiveAndBelow (a, (int) state->getActions().size())
                           ? state->getActions()[(size_t) a].get()
                           : nullptr;
        return editor.getCurrentState() == state && editor.getCurrentAction() == action;
    }

    /** The first link or go-to or mute action of the document that has no target, "" when none. */
    juce::String targetless()
    {
        for (int p = 0; p < engine.getNumPatches(); ++p)
        {
            for (const auto& [id, control] : engine.getPatch ((juce::uint16) p)->getControls())
            {
                const auto where = "patch " + juce::String (p) + ", control " + juce::String (id);

                if (control->isLinked()
                    && (control->getLinkControl() == nullptr || &control->getEnd() == control.get()))
                    return "the link of " + where;

                for (const auto& state : control->getStates())
                    for (const auto& action : state->getActions())
                        if (auto* patchAction = dynamic_cast<VlaPatch*> (action.get());
                            patchAction != nullptr
                            && (engine.indexOfPatch (patchAction->getPatch()) < 0
                                || (dynamic_cast<VlaMute*> (action.get()) != nullptr
                                    && dynamic_cast<VlaMute&> (*action).getPedalId() < 0)))
                            return "a " + action->getTypeName() + " of " + where;
            }
        }

        return {};
    }

    /** Read apart from the engine as a load reads it, its references resolved by position, then written
        again; "load message" when a reference finds no target, as a load would report.
    */
    static juce::String readBack (const juce::XmlElement& saved)
    {
        VlDocumentStage stage;

        if (! stage.readNavigation (*saved.getChildByName ("navigation"))
            || ! stage.readPatches (*saved.getChildByName ("patches"), false, 0))
            return "not read";

        juce::XmlElement patches ("patches");
        patches.setAttribute ("current", (int) stage.getCurrent().value_or (NoIndex));

        for (const auto& patch : stage.getPatches())
        {
            for (const auto& [id, control] : patch->getControls())
            {
                if (! control->resolveLink())
                    return "load message";

                for (const auto& state : control->getStates())
                    for (const auto& action : state->getActions())
                        if (! action->resolveReferences())
                            return "load message";
            }

            patches.addChildElement (patch->createXml().release());
        }

        return patches.toString();
    }
};

//==============================================================================
TEST_F (VlEditorRandomEditingTests, RandomEditingKeepsTheDocumentWholeAndTheEditorOnLiveObjects)
{
    ASSERT_TRUE (loadExample());
    open();
    const auto runPendingWorkNowAndThen = [this] {
        if (random.nextInt (3) == 0)
            MessageLoop::pumpFor (1);
    };
    prompts.whileOpen = [&] (const FakePrompts::Prompt&) { runPendingWorkNowAndThen(); };
    VlEditor::setMenuRun ([&] (const juce::PopupMenu& menu, juce::Button&) {
        runPendingWorkNowAndThen();
        return choose (menu);
    });

    const auto seconds = juce::SystemStats::getEnvironmentVariable ("VELTRINO_EDIT_SECONDS", "0").getDoubleValue();
    const auto steps = seconds > 0
                           ? std::numeric_limits<int>::max()
                           : juce::SystemStats::getEnvironmentVariable ("VELTRINO_EDIT_STEPS", "5000").getIntValue();
    const auto end = juce::Time::getMillisecondCounterHiRes() + seconds * 1000.0;
    int i = 0;

    for (; i < steps && (seconds <= 0 || juce::Time::getMillisecondCounterHiRes() < end); ++i)
    {
        step();
        ASSERT_TRUE (pointsAtLiveObjects()) << "seed " << seed << ", step " << i << ": " << selectionShown();
        const auto dangling = targetless();
        ASSERT_TRUE (dangling.isEmpty()) << "seed " << seed << ", step " << i << ": " << dangling << " has no target";
        const auto saved = juce::parseXML (document.createDocumentText());
        ASSERT_EQ (readBack (*saved), saved->getChildByName ("patches")->toString())
            << "seed " << seed << ", step " << i;
    }

    // Opened into the engine as a document is, and written again alike.
    editor.finish();
    VlEditor::setMenuRun (nullptr);
    const auto saved = document.createDocumentText();
    ASSERT_TRUE (load (saved));
    EXPECT_EQ (document.createDocumentText(), saved);
    std::cout << i << " steps, " << engine.getNumPatches() << " patches at the end\n";
}
