#include "fixtures/RunningApplication.h"

#include "engine/VlTypes.h"

using Kind = FakePrompts::Kind;
using Cmd = VlApplication::CommandId;

namespace
{
    juce::StringArray itemTexts (const juce::PopupMenu& menu)
    {
        juce::StringArray texts;

        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        {
            const auto& item = it.getItem();
            texts.add (item.isSeparator ? "-" : item.text + (item.isEnabled ? "" : " (greyed)"));
        }

        return texts;
    }

    const juce::PopupMenu* findSubMenu (const juce::PopupMenu& menu, const juce::String& name)
    {
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
            if (it.getItem().text == name)
                return it.getItem().subMenu.get();

        return nullptr;
    }
}

using VlApplicationTests = RunningApplication;

//==============================================================================
TEST_F (VlApplicationTests, FirstStartShowsAnUntitledDocumentWithTheDefaults)
{
    start();

    EXPECT_EQ (title(), "Veltrino 1.1 - Untitled");
    EXPECT_TRUE (window().isVisible());
    EXPECT_EQ (app.getMenuBarNames(), juce::StringArray ({ "File", "Edit", "?" }));
    ASSERT_NE (app.getHelpTexts(), nullptr);
    EXPECT_EQ (app.getHelpTexts()->size(), 91);

    // No preferences: an empty input name, and the learn table the engine started with.
    EXPECT_EQ (engine.getMidiInputDevice(), "");
    EXPECT_EQ (engine.getLearntMessage (1), 1);
    EXPECT_EQ (engine.getLearntMessage (FirstPedalId), 129);
    EXPECT_EQ (engine.getLearntMessage (SecondPedalId), 135);

    // Online help is the README beside the running program; this test runner has none.
    const auto executable = juce::File::getSpecialLocation (juce::File::currentExecutableFile);
    ASSERT_FALSE (executable.getSiblingFile ("README.md").exists());
    EXPECT_EQ (app.getOnlineHelpUrl(), "");
    EXPECT_TRUE (isGreyed (CApplication::CommandId::onlineHelp));
    perform (CApplication::CommandId::onlineHelp);
    EXPECT_TRUE (promptsOf (Kind::openUrl).empty());
}

TEST_F (VlApplicationTests, OnlineHelpIsTheReadmeBesideTheProgramWhenThereIsOne)
{
    const auto program = home.getFolder().getChildFile ("Veltrino_artefacts/Veltrino");
    ASSERT_TRUE (program.create().wasOk());
    EXPECT_EQ (VlApplication::getOnlineHelpUrlFor (program), "");

    const auto readme = program.getSiblingFile ("README.md");
    ASSERT_TRUE (readme.replaceWithText ("# Veltrino"));
    const juce::URL url (VlApplication::getOnlineHelpUrlFor (program));
    EXPECT_TRUE (url.isLocalFile());
    EXPECT_EQ (url.getLocalFile(), readme);
}

TEST_F (VlApplicationTests, KeepsTheMidiInputLearntMessagesAndWindowPlacesInThePreferences)
{
    start (R"(<preferences>
                <midi_in device="FCB1010" channel="3" fs1="2" fs2="1" fs3="3" fs4="4" fs5="5" fs6="6"
                         fs7="7" fs8="8" fs9="9" fs10="x" ep1="130" ep2="135"/>
                <main_window state="100 120 900 330"/>
                <patches_dlg state="1 2 300 400"/>
                <nav_dlg state="5 6 300 200"/>
              </preferences>)");

    EXPECT_EQ (engine.getMidiInputDevice(), "FCB1010");
    EXPECT_EQ (engine.getMidiChannel(), 3);
    EXPECT_TRUE (engine.isMidiInputOpen());
    EXPECT_EQ (engine.getLearntMessage (1), 2);        // two footswitches swapped come back exactly
    EXPECT_EQ (engine.getLearntMessage (2), 1);
    EXPECT_EQ (engine.getLearntMessage (10), 10);      // not a number: the default stays
    EXPECT_EQ (engine.getLearntMessage (FirstPedalId), 130);
    EXPECT_EQ (window().getBounds(), juce::Rectangle<int> (100, 120, 900, 330));

    stop();

    const auto saved = juce::parseXML (home.getPreferencesFile());
    ASSERT_NE (saved, nullptr);
    juce::StringArray tags;

    for (auto* child : saved->getChildIterator())
        tags.add (child->getTagName());

    EXPECT_EQ (tags, juce::StringArray ({ "recent_files", "tooltips", "midi_in", "main_window",
                                          "patches_dlg", "input_dlg", "nav_dlg" }));

    EXPECT_EQ (saved->getChildByName ("midi_in")->getStringAttribute ("device"), "FCB1010");
    EXPECT_EQ (saved->getChildByName ("midi_in")->getIntAttribute ("fs1"), 2);
    EXPECT_EQ (saved->getChildByName ("main_window")->getStringAttribute ("state"), "100 120 900 330");
    EXPECT_EQ (saved->getChildByName ("patches_dlg")->getStringAttribute ("state"), "1 2 300 400");
}

TEST_F (VlApplicationTests, CommandsAreGreyedWhileAnythingModalIsOpenAndSaveWhileNothingChanged)
{
    start();

    const juce::Array<juce::CommandID> commands { Cmd::newDocument, Cmd::openDocument, Cmd::mergeDocument,
                                                  Cmd::saveDocumentAs, Cmd::extractExamples, Cmd::midiPreferences,
                                                  Cmd::patchesSetup, Cmd::navigationPreferences };

    for (auto id : commands)
        EXPECT_FALSE (isGreyed (id)) << id;

    EXPECT_TRUE (isGreyed (Cmd::saveDocument));
    app.documentChanged();
    EXPECT_FALSE (isGreyed (Cmd::saveDocument));
    EXPECT_EQ (title(), "Veltrino 1.1 - Untitled *");

    {
        CStMenuLock lock;

        for (auto id : commands)
            EXPECT_TRUE (isGreyed (id)) << id;

        EXPECT_TRUE (isGreyed (Cmd::saveDocument));
        EXPECT_EQ (itemTexts (app.getMenuForIndex (0, "File"))[3], "Open Recent (greyed)");
    }
}

TEST_F (VlApplicationTests, MenusListTheCommandsAndTheRecentFilesThatStillExist)
{
    start();

    const auto kept = fileNamed ("kept.vlt");
    ASSERT_TRUE (kept.replaceWithText ("x"));
    app.getRecentFiles()->addFile (kept);
    app.getRecentFiles()->addFile (fileNamed ("gone.vlt"));    // the first entry no longer exists

    const auto file = app.getMenuForIndex (0, "File");
    EXPECT_EQ (itemTexts (file), juce::StringArray ({ "New", "Open...", "Merge...", "Open Recent", "-", "Save (greyed)",
                                                      "Save As...", "-", "Extract Examples...", "-", "Quit" }));

    const auto* recent = findSubMenu (file, "Open Recent");
    ASSERT_NE (recent, nullptr);
    EXPECT_EQ (itemTexts (*recent), juce::StringArray ({ "kept.vlt" }));
    juce::PopupMenu::MenuItemIterator entries (*recent);
    ASSERT_TRUE (entries.next());
    EXPECT_EQ (entries.getItem().itemID, VlApplication::recentFileBaseId);

    EXPECT_EQ (itemTexts (app.getMenuForIndex (1, "Edit")),
               juce::StringArray ({ "Patches...", "-", "MIDI Preferences...", "Navigation Preferences..." }));
    EXPECT_EQ (itemTexts (app.getMenuForIndex (2, "?")),
               juce::StringArray ({ "About Veltrino", "-", "Online help (greyed)", "Tooltips" }));
    EXPECT_EQ (app.getMenuForIndex (3, {}).getNumItems(), 0);

    // Only the recent-file ids of the File menu open anything.
    app.menuItemSelected (Cmd::openDocument, 0);
    app.menuItemSelected (VlApplication::recentFileBaseId, 1);
    EXPECT_TRUE (prompts.prompts.empty());
}

TEST_F (VlApplicationTests, QuitFollowsTheLockAndTheAnswerToTheSavePrompt)
{
    start();

    app.documentChanged();

    // While a box or dialog is open the request (here the close button) is ignored, without a question.
    {
        CStMenuLock lock;
        window().closeButtonPressed();
        EXPECT_FALSE (quitWasRequested());
        EXPECT_TRUE (prompts.prompts.empty());
    }

    prompts.yesNoCancelAnswers = { 0 };    // Cancel
    app.systemRequestedQuit();
    EXPECT_FALSE (quitWasRequested());
    ASSERT_EQ (promptsOf (Kind::yesNoCancel).size(), 1u);
    const auto question = promptsOf (Kind::yesNoCancel)[0];
    EXPECT_EQ (question.title, "Closing document...");
    EXPECT_EQ (question.text, "Do you want to save the changes to \"Untitled\"?");
    EXPECT_EQ (question.buttons, juce::StringArray ({ "Save", "Discard changes", "Cancel" }));
    EXPECT_EQ (question.lockCount, 1);
    EXPECT_EQ (CStMenuLock::counter(), 0);

    // Save, but the chooser is cancelled: nothing saved, no quit.
    prompts.yesNoCancelAnswers = { 1 };
    app.systemRequestedQuit();
    EXPECT_FALSE (quitWasRequested());

    // Save into a folder that cannot be written: reported, no quit.
    prompts.yesNoCancelAnswers = { 1 };
    prompts.fileAnswers = { fileNamed ("no/such/folder/set.vlt") };
    app.systemRequestedQuit();
    EXPECT_FALSE (quitWasRequested());
    EXPECT_EQ (promptsOf (Kind::message).back().title, "Error writing to file...");
    EXPECT_TRUE (document().hasChangedSinceSaved());

    // Save to a file: written, then the application quits.
    prompts.yesNoCancelAnswers = { 1 };
    prompts.fileAnswers = { fileNamed ("set.vlt") };
    app.systemRequestedQuit();
    EXPECT_TRUE (fileNamed ("set.vlt").existsAsFile());
    EXPECT_TRUE (quitWasRequested());
}

TEST_F (VlApplicationTests, QuitWithNothingToSaveAsksNothing)
{
    start();

    window().closeButtonPressed();

    EXPECT_TRUE (quitWasRequested());
    EXPECT_TRUE (prompts.prompts.empty());
}

TEST_F (VlApplicationTests, QuitDiscardingTheChangesQuits)
{
    start();
    app.documentChanged();
    prompts.yesNoCancelAnswers = { 2 };

    window().closeButtonPressed();

    EXPECT_TRUE (quitWasRequested());
}

TEST_F (VlApplicationTests, NewReplacesTheDocumentUnlessTheSavePromptIsCancelled)
{
    start();

    const auto file = fileNamed ("live set.vlt");
    prompts.fileAnswers = { file };
    perform (Cmd::saveDocumentAs);
    EXPECT_EQ (title(), "Veltrino 1.1 - live set");
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
    EXPECT_EQ (promptsOf (Kind::chooseFile)[0].title, "Choose a Veltrino file to save");
    EXPECT_EQ (promptsOf (Kind::chooseFile)[0].lockCount, 1);

    ASSERT_TRUE (document().saveAs (fileNamed ("second.vlt"), false, false, false) == juce::FileBasedDocument::savedOk);
    ASSERT_TRUE (document().saveAs (fileNamed ("first.vlt"), false, false, false) == juce::FileBasedDocument::savedOk);

    prompts.fileAnswers = { fileNamed ("second.vlt") };
    perform (Cmd::openDocument);
    EXPECT_EQ (title(), "Veltrino 1.1 - second");
    EXPECT_EQ (promptsOf (Kind::chooseFile).back().title, "Choose a Veltrino file to open");
    EXPECT_EQ (promptsOf (Kind::chooseFile).back().text, "*.vlt");

    // Merge: no save prompt, the success box, the file and title kept, marked changed.
    prompts.fileAnswers = { fileNamed ("first.vlt") };
    perform (Cmd::mergeDocument);
    EXPECT_EQ (promptsOf (Kind::message).back().title, "File merging");
    EXPECT_EQ (promptsOf (Kind::message).back().text, "Merging succesful.");
    EXPECT_EQ (promptsOf (Kind::message).back().lockCount, 1);
    EXPECT_EQ (title(), "Veltrino 1.1 - second *");
    EXPECT_EQ (document().getFile(), fileNamed ("second.vlt"));
    EXPECT_TRUE (promptsOf (Kind::yesNoCancel).empty());

    // A recent file after the merge opens (after the save prompt) and re-titles.
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
    EXPECT_EQ (document().getFile(), fileNamed ("kept.vlt"));
}

TEST_F (VlApplicationTests, ExtractExamplesWritesTheArchiveAndReportsOnlyAFailure)
{
    start();

    const auto folder = fileNamed ("examples");
    ASSERT_TRUE (folder.createDirectory());
    prompts.folderAnswers = { folder };
    perform (Cmd::extractExamples);
    EXPECT_TRUE (folder.getChildFile ("Veltrino examples/Veltrino.syx").existsAsFile());
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
