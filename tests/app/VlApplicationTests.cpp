#include "fixtures/RunningApplication.h"

#include "app/VlFCBLookAndFeel.h"
#include "app/VlLookAndFeel.h"
#include "app/board/JContentComponent.h"
#include "engine/VlTypes.h"
#include "fixtures/MidiBytes.h"
#include "fixtures/ModalTest.h"

using Kind = FakePrompts::Kind;
using Cmd = VlApplication::CommandId;

namespace
{
    juce::PopupMenu::Item openRecentItem (VlApplication& app)
    {
        const auto menu = app.getMenuForIndex (0, "File");

        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
            if (it.getItem().text == "Open Recent")
                return it.getItem();

        return {};
    }
}

using VlApplicationTests = RunningApplication;

//==============================================================================
TEST_F (VlApplicationTests, FirstStartShowsAnUntitledDocumentWithTheDefaultsThatQuitsWithoutAQuestion)
{
    start();
    EXPECT_EQ (title(), "Veltrino 1.1 - Untitled");
    ASSERT_NE (app.getHelpTexts(), nullptr);
    EXPECT_EQ (app.getHelpTexts()->size(), 91);
    EXPECT_EQ (engine.getLearntMessage (FirstPedalId), 129);

    // Online help is the README beside the running program; this test runner has none.
    EXPECT_EQ (app.getOnlineHelpUrl(), "");
    EXPECT_TRUE (isGreyed (CApplication::CommandId::onlineHelp));
    perform (CApplication::CommandId::onlineHelp);
    EXPECT_TRUE (promptsOf (Kind::openUrl).empty());
    const auto program = fileNamed ("Veltrino_artefacts/Veltrino");
    ASSERT_TRUE (program.create().wasOk());
    ASSERT_TRUE (program.getSiblingFile ("README.md").replaceWithText ("# Veltrino"));
    EXPECT_EQ (juce::URL (VlApplication::getOnlineHelpUrlFor (program)).getLocalFile(),
               program.getSiblingFile ("README.md"));
    window().closeButtonPressed();
    EXPECT_TRUE (quitWasRequested());
    EXPECT_TRUE (prompts.prompts.empty());
}

TEST_F (VlApplicationTests, KeepsTheMidiInputLearntMessagesAndWindowPlacesInThePreferences)
{
    start (R"(<preferences>
                <midi_in device="FCB1010" channel="3" fs1="2" fs2="1" fs10="x" ep1="130"/>
                <main_window state="100 120 900 330"/>
                <patches_dlg state="1 2 300 400"/>
              </preferences>)");
    EXPECT_EQ (engine.getMidiInputDevice(), "FCB1010");
    EXPECT_EQ (engine.getMidiChannel(), 3);
    EXPECT_TRUE (engine.isMidiInputOpen());
    EXPECT_EQ (engine.getLearntMessage (1), 2);    // two footswitches swapped come back exactly
    EXPECT_EQ (engine.getLearntMessage (2), 1);
    EXPECT_EQ (engine.getLearntMessage (10), 10);    // not a number: the default stays
    EXPECT_EQ (engine.getLearntMessage (FirstPedalId), 130);
    EXPECT_EQ (window().getBounds(), juce::Rectangle<int> (100, 120, 900, 330));
    stop();

    const auto saved = juce::parseXML (home.getPreferencesFile());
    ASSERT_NE (saved, nullptr);
    for (auto tag : { "recent_files", "tooltips", "midi_in", "main_window", "patches_dlg", "input_dlg", "nav_dlg" })
        EXPECT_NE (saved->getChildByName (tag), nullptr) << tag;

    EXPECT_EQ (saved->getChildByName ("midi_in")->getIntAttribute ("fs1"), 2);
    EXPECT_EQ (saved->getChildByName ("patches_dlg")->getStringAttribute ("state"), "1 2 300 400");
}

// The test screen is 1280 x 1024: positions beyond it were saved on a larger one.
TEST_F (VlApplicationTests, AWindowSavedOffASmallerScreenComesBackWhollyOnItAndOneOnItExactly)
{
    start (R"(<preferences>
                <main_window state="300 900 1500 330"/>
                <patches_dlg state="20 950 10 10"/>
                <input_dlg state="1230 1000 10 10"/>
                <nav_dlg state="40 50 10 10"/>
              </preferences>)");
    const auto screen = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    EXPECT_EQ (window().getBounds(), juce::Rectangle<int> (0, screen.getBottom() - 330, 1500, 330));

    const auto shownAt = [this] (juce::CommandID command) {
        juce::Rectangle<int> bounds;
        ModalTest::whenModal ([&bounds] (juce::Component& dialog) {
            bounds = dialog.getBounds();
            ModalTest::pressEscape (dialog);
        });
        perform (command);
        return bounds;
    };

    const auto editor = shownAt (Cmd::patchesSetup);
    EXPECT_EQ (editor.getTopLeft(), juce::Point<int> (20, screen.getBottom() - editor.getHeight()));
    EXPECT_EQ (shownAt (Cmd::midiPreferences).getBottomRight(), screen.getBottomRight());
    EXPECT_EQ (shownAt (Cmd::navigationPreferences).getTopLeft(), juce::Point<int> (40, 50));
}

TEST_F (VlApplicationTests, CommandsAreGreyedWhileAnythingModalIsOpenAndOpenRecentListsOnlyFilesThatExist)
{
    start();
    const juce::Array<juce::CommandID> commands { Cmd::newDocument,    Cmd::openDocument,         Cmd::mergeDocument,
                                                  Cmd::saveDocumentAs, Cmd::extractExamples,      Cmd::midiPreferences,
                                                  Cmd::patchesSetup,   Cmd::navigationPreferences };
    for (auto id : commands)
        EXPECT_FALSE (isGreyed (id)) << id;

    EXPECT_TRUE (isGreyed (Cmd::saveDocument));
    app.documentChanged();
    EXPECT_FALSE (isGreyed (Cmd::saveDocument));
    EXPECT_EQ (title(), "Veltrino 1.1 - Untitled *");

    ASSERT_TRUE (fileNamed ("kept.vlt").replaceWithText ("x"));
    app.getRecentFiles()->addFile (fileNamed ("kept.vlt"));
    app.getRecentFiles()->addFile (fileNamed ("gone.vlt"));
    const auto recent = openRecentItem (app);
    ASSERT_NE (recent.subMenu, nullptr);
    juce::PopupMenu::MenuItemIterator entries (*recent.subMenu);
    ASSERT_TRUE (entries.next());
    EXPECT_EQ (entries.getItem().text, "kept.vlt");
    EXPECT_EQ (entries.getItem().itemID, VlApplication::recentFileBaseId);
    EXPECT_FALSE (entries.next());

    // Only the recent-file ids of the File menu open anything.
    app.menuItemSelected (Cmd::openDocument, 0);
    app.menuItemSelected (VlApplication::recentFileBaseId, 1);
    EXPECT_TRUE (prompts.prompts.empty());

    CStMenuLock lock;
    for (auto id : commands)
        EXPECT_TRUE (isGreyed (id)) << id;

    EXPECT_TRUE (isGreyed (Cmd::saveDocument));
    EXPECT_FALSE (openRecentItem (app).isEnabled);
}

TEST_F (VlApplicationTests, QuitFollowsTheLockAndTheAnswerToTheSavePrompt)
{
    start();
    app.documentChanged();

    {
        CStMenuLock lock;
        window().closeButtonPressed();
        EXPECT_TRUE (prompts.prompts.empty());
    }

    prompts.yesNoCancelAnswers = { 0 };    // Cancel
    app.systemRequestedQuit();
    ASSERT_EQ (promptsOf (Kind::yesNoCancel).size(), 1u);
    const auto question = promptsOf (Kind::yesNoCancel)[0];
    EXPECT_EQ (question.title, "Closing document...");
    EXPECT_EQ (question.text, "Do you want to save the changes to \"Untitled\"?");
    EXPECT_EQ (question.buttons, juce::StringArray ({ "Save", "Discard changes", "Cancel" }));
    EXPECT_EQ (question.lockCount, 1);
    EXPECT_EQ (CStMenuLock::counter(), 0);
    prompts.yesNoCancelAnswers = { 1 };    // Save, but the chooser is cancelled
    app.systemRequestedQuit();
    prompts.yesNoCancelAnswers = { 1 };    // Save into a folder that cannot be written
    prompts.fileAnswers = { fileNamed ("no/such/folder/set.vlt") };
    app.systemRequestedQuit();
    EXPECT_EQ (promptsOf (Kind::message).back().title, "Error writing to file...");
    EXPECT_TRUE (document().hasChangedSinceSaved());
    EXPECT_FALSE (quitWasRequested());
    prompts.yesNoCancelAnswers = { 1 };
    prompts.fileAnswers = { fileNamed ("set.vlt") };
    app.systemRequestedQuit();
    EXPECT_TRUE (fileNamed ("set.vlt").existsAsFile());
    EXPECT_TRUE (quitWasRequested());
}

TEST_F (VlApplicationTests, NewReplacesTheDocumentAndQuitQuitsUnlessTheSavePromptIsCancelled)
{
    start();
    const auto file = fileNamed ("live set.vlt");
    prompts.fileAnswers = { file };
    perform (Cmd::saveDocumentAs);
    app.documentChanged();
    prompts.yesNoCancelAnswers = { 0 };
    EXPECT_TRUE (perform (Cmd::newDocument));
    EXPECT_EQ (title(), "Veltrino 1.1 - live set *");
    EXPECT_EQ (document().getFile(), file);
    prompts.yesNoCancelAnswers = { 2 };
    perform (Cmd::newDocument);
    EXPECT_EQ (title(), "Veltrino 1.1 - Untitled");
    EXPECT_EQ (document().getFile(), juce::File());
    EXPECT_FALSE (document().hasChangedSinceSaved());
    app.documentChanged();
    prompts.yesNoCancelAnswers = { 2 };
    window().closeButtonPressed();
    EXPECT_TRUE (quitWasRequested());
}

TEST_F (VlApplicationTests, OpenMergeAndSaveRunInsideTheLockAndRetitle)
{
    start();

    // Save with no file asks for one; the title takes the file's name.
    app.documentChanged();
    prompts.fileAnswers = { fileNamed ("first.vlt") };
    perform (Cmd::saveDocument);
    EXPECT_EQ (title(), "Veltrino 1.1 - first");
    ASSERT_EQ (promptsOf (Kind::chooseFile).size(), 1u);
    EXPECT_EQ (promptsOf (Kind::chooseFile)[0].lockCount, 1);
    ASSERT_TRUE (document().saveAs (fileNamed ("second.vlt"), false, false, false) == juce::FileBasedDocument::savedOk);
    ASSERT_TRUE (document().saveAs (fileNamed ("first.vlt"), false, false, false) == juce::FileBasedDocument::savedOk);
    prompts.fileAnswers = { fileNamed ("second.vlt") };
    perform (Cmd::openDocument);
    EXPECT_EQ (title(), "Veltrino 1.1 - second");

    // Merge: no save prompt, the success box, the file and title kept, marked changed.
    prompts.fileAnswers = { fileNamed ("first.vlt") };
    perform (Cmd::mergeDocument);
    EXPECT_EQ (promptsOf (Kind::message).back().text, "Merging succesful.");
    EXPECT_EQ (promptsOf (Kind::message).back().lockCount, 1);
    EXPECT_EQ (title(), "Veltrino 1.1 - second *");
    EXPECT_EQ (document().getFile(), fileNamed ("second.vlt"));
    EXPECT_TRUE (promptsOf (Kind::yesNoCancel).empty());

    // A recent file opens after the save prompt, inside the lock.
    prompts.yesNoCancelAnswers = { 2 };
    const auto index = juce::StringArray::fromLines (app.getRecentFiles()->toString())
                           .indexOf (fileNamed ("first.vlt").getFullPathName());
    ASSERT_GE (index, 0);
    app.menuItemSelected (VlApplication::recentFileBaseId + index, 0);
    EXPECT_EQ (title(), "Veltrino 1.1 - first");
    EXPECT_FALSE (document().hasChangedSinceSaved());
    EXPECT_EQ (promptsOf (Kind::yesNoCancel).back().lockCount, 1);
    EXPECT_EQ (CStMenuLock::counter(), 0);
}

TEST_F (VlApplicationTests, TheTitleFollowsASaveFromTheQuestionWhenNothingIsOpenedAfterIt)
{
    start();

    // Open: the changes are saved, then the chooser is cancelled.
    app.documentChanged();
    prompts.yesNoCancelAnswers = { 1 };
    prompts.fileAnswers = { fileNamed ("saved.vlt") };
    perform (Cmd::openDocument);
    EXPECT_EQ (title(), "Veltrino 1.1 - saved");
    EXPECT_FALSE (document().hasChangedSinceSaved());

    // A dropped (or recent) file that cannot be read, after the changes were saved.
    perform (Cmd::newDocument);
    app.documentChanged();
    const auto broken = fileNamed ("broken.vlt");
    ASSERT_TRUE (broken.replaceWithText ("not a document"));
    prompts.yesNoCancelAnswers = { 1 };
    prompts.fileAnswers = { fileNamed ("kept.vlt") };
    app.openFile (broken.getFullPathName());
    EXPECT_EQ (promptsOf (Kind::message).back().title, "Failed to open file...");
    EXPECT_EQ (title(), "Veltrino 1.1 - kept");
}

// The release comes before the load: during it the pedal board's messages are dropped,
// and afterwards the control that the press played may be gone.
TEST_F (VlApplicationTests, AFootswitchHeldAsADocumentIsOpenedMergedOrMadeNewIsReleasedFirst)
{
    start();

    // Footswitch 3 plays note 60; footswitch 4's go-to finds no target, which a load reports.
    const juce::String text (
        R"(<veltrino version="1"><navigation color="ff00ff00"/><patches current="0">)"
        R"(<patch name="Held" level="0" color="ffe3e3e3" comment="">)"
        R"(<item id="3" label="" target="" color="ffffffff" init_state="0" init_value="0")"
        R"( linked="0" link_patch="0" link_control="-1"><state label="" color="ffffffff">)"
        R"(<note comment="" device="Synth" channel="1" number="60" velocity="100"/></state></item>)"
        R"(<item id="4" label="" target="" color="ffffffff" init_state="0" init_value="0")"
        R"( linked="0" link_patch="0" link_control="-1"><state label="" color="ffffffff">)"
        R"(<goto comment="" patch="9"/></state></item></patch></patches></veltrino>)");
    const auto first = fileNamed ("first.vlt"), second = fileNamed ("second.vlt");
    ASSERT_TRUE (first.replaceWithText (text) && second.replaceWithText (text));

    const std::pair<const char*, std::function<void()>> cases[] = {
        { "open", [&] { prompts.fileAnswers = { second }, perform (Cmd::openDocument); } },
        { "dropped", [&] { window().filesDropped ({ second.getFullPathName() }, 10, 10); } },
        { "merge", [&] { prompts.fileAnswers = { second }, perform (Cmd::mergeDocument); } },
        { "new", [&] { perform (Cmd::newDocument); } },
    };

    auto& board = JContentComponent::getInstance()->getButtonsPanel();
    size_t seen = 0;
    const auto takeSent = [&] {
        const auto all = bytesOf (ports.getSentMessages (synth));
        return std::vector<MidiBytes> (all.begin() + (std::ptrdiff_t) std::exchange (seen, all.size()), all.end());
    };
    using Sent = std::vector<MidiBytes>;

    for (const auto& [what, command] : cases)
    {
        prompts.yesNoCancelAnswers = { 2, 2 };    // "Discard changes" after a merge
        prompts.fileAnswers = { first };
        perform (Cmd::openDocument);
        board.footswitchEvent (3, true);
        ASSERT_EQ (takeSent(), (Sent { { 0x90, 60, 100 } })) << what;

        command();
        EXPECT_EQ (takeSent(), (Sent { { 0x80, 60, 0 } })) << what;
        EXPECT_FALSE (board.getButton (3)->isFootDown()) << what;
        board.footswitchEvent (3, false);
        EXPECT_TRUE (takeSent().empty()) << what;
    }

    juce::StringArray messages;
    for (const auto& prompt : promptsOf (Kind::message))
        messages.add (prompt.title + ": " + prompt.text.upToFirstOccurrenceOf (" ", false, false));
    const juce::String loadWarning ("Error in file data: Action");
    EXPECT_EQ (messages, juce::StringArray (loadWarning, loadWarning, loadWarning, loadWarning, loadWarning,
                                            loadWarning, "File merging: Merging", loadWarning));
}

TEST_F (VlApplicationTests, ExtractExamplesWritesTheArchiveAndReportsOnlyAFailure)
{
    start();
    const auto folder = fileNamed ("examples");
    ASSERT_TRUE (folder.createDirectory());
    prompts.folderAnswers = { folder };
    perform (Cmd::extractExamples);
    EXPECT_TRUE (folder.getChildFile ("Veltrino examples/win_example.vlt").existsAsFile());
    EXPECT_TRUE (promptsOf (Kind::message).empty());
    EXPECT_GE (promptsOf (Kind::chooseFolder)[0].lockCount, 1);

    // A regular file where the folder should be.
    const auto blocked = fileNamed ("blocked");
    ASSERT_TRUE (blocked.replaceWithText ("x"));
    prompts.folderAnswers = { blocked.getChildFile ("below") };
    perform (Cmd::extractExamples);
    ASSERT_EQ (promptsOf (Kind::message).size(), 1u);
    EXPECT_EQ (promptsOf (Kind::message)[0].title, "Extract Examples");
    EXPECT_EQ (promptsOf (Kind::message)[0].lockCount, 1);
}

TEST_F (VlApplicationTests, ItsLookIsTheDefaultAndBothLooksGoAtShutdown)
{
    start();
    ASSERT_NE (VlLookAndFeel::getInstance (false), nullptr);
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), VlLookAndFeel::getInstance (false));
    auto& board = JContentComponent::getInstance()->getButtonsPanel();
    EXPECT_EQ (&board.getButton (1)->getLookAndFeel(), VlFCBLookAndFeel::getInstance (false));
    stop();
    EXPECT_EQ (VlFCBLookAndFeel::getInstance (false), nullptr);
    EXPECT_EQ (VlLookAndFeel::getInstance (false), nullptr);
}
