#include "app/VlDocument.h"
#include "engine/VlTypes.h"
#include "fixtures/EngineFixture.h"
#include "fixtures/FakePrompts.h"
#include "fixtures/TemporaryHome.h"
#include "fixtures/WithoutFileOverride.h"
#include "resources/ExamplesArchive.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>
#include <typeinfo>

using Kind = FakePrompts::Kind;

class VlDocumentTests : public EngineFixture
{
protected:
    juce::File fileNamed (const juce::String& name) const { return home.getFolder().getChildFile (name); }

    juce::File write (const juce::String& name, const juce::String& text) const
    {
        EXPECT_TRUE (fileNamed (name).replaceWithText (text));
        return fileNamed (name);
    }

    /** The error text of loading that text, empty on success. */
    juce::String loadText (const juce::String& text)
    {
        return document.loadDocument (write ("load.vlt", text)).getErrorMessage();
    }

    /** A document of `numPatches` empty patches named P0, P1... */
    juce::String documentText (int numPatches, const juce::String& navigationColor = "ff00ff00") const
    {
        juce::String patches;

        for (int i = 0; i < numPatches; ++i)
            patches << "<patch name=\"P" << i << "\" level=\"0\" color=\"ff11223" << i << "\" comment=\"\"/>";

        return "<veltrino version=\"1\"><navigation color=\"" + navigationColor
               + "\"/>"
                 "<patches current=\"0\">"
               + patches + "</patches></veltrino>";
    }

    TemporaryHome home;
    FakePrompts prompts;
    juce::RecentlyOpenedFilesList recentFiles;
    VlDocument document { engine, &recentFiles };
};

//==============================================================================
TEST_F (VlDocumentTests, ReadsOnlyDocumentsOfThisVersionWithBothPartsAndRefusesHostileFiles)
{
    const auto invalid = VlDocument::getInvalidDocumentText();
    const juce::String start ("<veltrino version=\"1\"><navigation/><patches>");

    for (auto text : { juce::String(), juce::String ("not xml at all"),
                       juce::String ("<Veltrino version=\"1\"><navigation/><patches/></Veltrino>"),
                       juce::String ("<veltrino><navigation/><patches/></veltrino>"),
                       juce::String ("<veltrino version=\"1\"><patches/></veltrino>"),
                       juce::String ("<veltrino version=\"1\"><navigation/></veltrino>"),
                       start + "<?pi?>text</patches></veltrino>",                     // read for ever
                       start + juce::String::repeatedString ("<patch>", 200000) })    // out of stack
        EXPECT_EQ (loadText (text), invalid) << text.substring (0, 80);

    document.isMerging = true;    // a merge does not read the navigation, yet needs it
    EXPECT_EQ (loadText ("<veltrino version=\"1\"><patches/></veltrino>"), invalid);
    document.isMerging = false;
    EXPECT_EQ (loadText ("<veltrino version=\"2\"><navigation/><patches/></veltrino>"),
               "This document was produced with a newer version of Veltrino.");
    EXPECT_EQ (document.getDocumentTitle(), "Untitled");

    // Up to version 1 loads, a version that is not a number counts as 0; names below the root ignore case.
    for (auto version : { "1", "0", "abc" })
        EXPECT_EQ (loadText (juce::String ("<veltrino VERSION=\"") + version
                             + "\"><Navigation color=\"ff00ff00\"/><PATCHES current=\"0\"/></veltrino>"),
                   "")
            << version;
}

TEST_F (VlDocumentTests, AFailedSaveKeepsThePreviousFileAndSaysSo)
{
    const auto file = fileNamed ("set.vlt");
    ASSERT_TRUE (document.saveAs (file, false, false, false) == juce::FileBasedDocument::savedOk);
    const auto before = file.loadFileAsString();
    document.changed();
    const auto blocked = fileNamed ("blocked.vlt");
    ASSERT_TRUE (blocked.getChildFile ("inside").create().wasOk());    // a folder: it cannot be replaced
    prompts.fileAnswers = { blocked };
    EXPECT_EQ (document.saveAsInteractively(), juce::FileBasedDocument::failedToWriteToFile);
    ASSERT_EQ (prompts.prompts.back().kind, Kind::message);
    EXPECT_EQ (prompts.prompts.back().title, "Error writing to file...");
    EXPECT_TRUE (prompts.prompts.back().text.contains (blocked.getFullPathName()));
    EXPECT_EQ (document.getFile(), file);
    EXPECT_TRUE (document.hasChangedSinceSaved());
    EXPECT_EQ (file.loadFileAsString(), before);
}

TEST_F (VlDocumentTests, SaveAsAddsTheExtensionToANameWithoutOneAndAsksBeforeOverwritingThatFile)
{
    const auto existing = write ("song.vlt", "old");
    prompts.fileAnswers = { fileNamed ("song") };
    prompts.okCancelAnswers = { false };
    EXPECT_EQ (document.saveAsInteractively(), juce::FileBasedDocument::userCancelledSave);
    EXPECT_EQ (existing.loadFileAsString(), "old");
    EXPECT_EQ (prompts.prompts.back().title, "File already exists");
    prompts.fileAnswers = { fileNamed ("song") };
    prompts.okCancelAnswers = { true };
    EXPECT_EQ (document.saveAsInteractively(), juce::FileBasedDocument::savedOk);
    EXPECT_NE (existing.loadFileAsString(), "old");
    EXPECT_EQ (document.getFile(), existing);

    // A name that has an extension of its own is kept as typed: nothing replaced, nothing added.
    prompts.fileAnswers = { fileNamed ("Gig 2024.03") };
    EXPECT_EQ (document.saveAsInteractively(), juce::FileBasedDocument::savedOk);
    EXPECT_TRUE (fileNamed ("Gig 2024.03").existsAsFile());
    EXPECT_FALSE (fileNamed ("Gig 2024.vlt").exists());
}

TEST_F (VlDocumentTests, AFailedOpenOrMergeLeavesTheEngineAndTheDocumentAsTheyWere)
{
    const auto good = write ("good.vlt", documentText (2));
    ASSERT_TRUE (document.open (good));
    document.changed();
    const auto colors = engine.getPatchColors();

    // The second patch lacks its comment: nothing of the file may stay.
    const auto broken = documentText (3, "ff0000ff").replace ("ff112231\" comment=\"\"", "ff112231\"");

    for (auto merging : { false, true })
    {
        document.isMerging = merging;
        EXPECT_FALSE (document.open (write ("broken.vlt", broken)));
        EXPECT_EQ (prompts.prompts.back().title, "Failed to open file...");
        EXPECT_TRUE (prompts.prompts.back().text.endsWith (VlDocument::getInvalidDocumentText()));
        EXPECT_EQ (patchNames(), "P0,P1");
        EXPECT_EQ (engine.getNavigationColor(), 0xff00ff00u);
        EXPECT_EQ (engine.getPatchColors(), colors);
        EXPECT_EQ (document.getFile(), good);
        EXPECT_TRUE (document.hasChangedSinceSaved());
        EXPECT_EQ (engine.getMode(), ModePlay);
    }
}

TEST_F (VlDocumentTests, AFileThatCannotBeOpenedIsReportedForWhatItIs)
{
    const auto unreadable = write ("private.vlt", documentText (1));
    ASSERT_EQ (::chmod (unreadable.getFullPathName().toRawUTF8(), 0), 0);
    const auto folder = fileNamed ("folder.vlt");
    ASSERT_TRUE (folder.createDirectory());
    ASSERT_TRUE (fileNamed ("shut").createDirectory());
    const auto shut = write ("shut/inside.vlt", documentText (1)).getParentDirectory();
    ASSERT_EQ (::chmod (shut.getFullPathName().toRawUTF8(), 0), 0);

    const std::pair<juce::File, juce::String> cases[] = {
        { unreadable, "The file cannot be read (Permission denied)." },
        { shut.getChildFile ("inside.vlt"), "The file cannot be read (Permission denied)." },
        { folder, "This is a folder, not a Veltrino document." },
        { fileNamed ("missing.vlt"), "The file doesn't exist" },
    };

    const WithoutFileOverride asAUser;
    EXPECT_EQ (WithoutFileOverride::whyModesDoNotHold (home.getFolder()), "");    // an ASSERT would leave it shut

    for (const auto& [file, reason] : cases)
    {
        EXPECT_FALSE (document.open (file)) << reason;
        EXPECT_EQ (prompts.prompts.back().text.fromLastOccurrenceOf ("\n", false, false), reason);
    }
    ::chmod (shut.getFullPathName().toRawUTF8(), 0755);    // for the folder's removal
}

TEST_F (VlDocumentTests, TheEmbeddedExampleLoadsCleanlyUsesEveryActionKindAndSavesByteForByte)
{
    juce::MemoryInputStream in (VlResources::examplesArchive, VlResources::examplesArchiveSize, false);
    ASSERT_TRUE (juce::ZipFile (in).uncompressTo (home.getFolder()).wasOk());
    const auto example = home.getFolder().getChildFile ("Veltrino examples/win_example.vlt");
    ASSERT_TRUE (document.open (example));
    EXPECT_TRUE (prompts.prompts.empty()) << prompts.prompts.front().text;    // not one "Error in file data"
    std::set<juce::String> kinds;                                             // of actions: there are eight
    for (const auto& patch : engine.getPatches())
        for (const auto& [id, control] : patch->getControls())
            for (const auto& state : control->getStates())
                for (const auto& action : state->getActions())
                    kinds.insert (typeid (*action).name());

    EXPECT_EQ (kinds.size(), 8u);
    const auto copy = fileNamed ("copy.vlt");
    ASSERT_TRUE (document.saveDocument (copy).wasOk());
    EXPECT_TRUE (copy.hasIdenticalContentTo (example));
}
