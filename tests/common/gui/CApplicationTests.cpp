#include "common/gui/CApplication.h"
#include "common/gui/CJucePrompts.h"
#include "fixtures/FakePrompts.h"
#include "fixtures/FullDisk.h"
#include "fixtures/ModalTest.h"
#include "fixtures/TemporaryHome.h"
#include "fixtures/TestApplication.h"
#include "fixtures/WithoutFileOverride.h"
#include "resources/ExamplesArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

class CApplicationTests : public ::testing::Test
{
protected:
    static bool perform (TestApplication& app, juce::CommandID id)
    {
        return app.perform (juce::ApplicationCommandTarget::InvocationInfo (id));
    }

    static bool hasFlag (TestApplication& app, juce::CommandID id, int flag)
    {
        juce::ApplicationCommandInfo info (id);
        app.getCommandInfo (id, info);
        return (info.flags & flag) != 0;
    }

    static bool tooltipsTicked (TestApplication& app)
    {
        return hasFlag (app, CApplication::CommandId::tooltips, juce::ApplicationCommandInfo::isTicked);
    }

    static juce::StringArray filesBelow (const juce::File& folder)
    {
        juce::StringArray paths;

        for (const auto& entry : juce::RangedDirectoryIterator (folder, true, "*", juce::File::findFiles))
            paths.add (entry.getFile().getRelativePathFrom (folder));

        paths.sort (false);
        return paths;
    }

    TemporaryHome home;
    FakePrompts prompts;
};

//==============================================================================
TEST_F (CApplicationTests, StartsAndStopsInOrderWithTheSplashOnlyForAnEmptyCommandLine)
{
    home.writePreferences (R"(<preferences><tooltips visible="1"/></preferences>)");

    {
        TestApplication app;
        app.initialise ({});
        EXPECT_EQ (app.events, juce::StringArray ({ "createLookAndFeel", "showSplash 2000 noclick", "readPreferences",
                                                    "createMainWindow" }));
        EXPECT_TRUE (app.lookAndFeelInstalledBeforeSplash && app.commandManagerExistedForMainWindow
                     && app.tooltipsExistedForMainWindow);
        EXPECT_FALSE (app.commandManagerExistedWhilePrefsWereRead);
        app.events.clear();
        app.shutdown();
        EXPECT_EQ (app.events, juce::StringArray ({ "writePreferences", "appShutdown" }));
        EXPECT_TRUE (app.objectsExistedWhilePrefsWereWritten && app.lookAndFeelResetBeforeAppShutdown);
        EXPECT_TRUE (app.commandManager == nullptr && app.recentFiles == nullptr && app.tooltipWindow == nullptr);
    }

    // JUCE allows one application object at a time.
    {
        TestApplication app;
        app.initialise ("song.vlt");
        EXPECT_FALSE (app.events.contains ("showSplash 2000 noclick"));
        app.shutdown();
    }

    // JUCE may stop an instance that never started: nothing is touched.
    home.getPreferencesFile().deleteFile();
    TestApplication neverStarted;
    neverStarted.shutdown();
    EXPECT_TRUE (neverStarted.events.isEmpty());
    EXPECT_FALSE (home.getPreferencesFile().exists());
}

TEST_F (CApplicationTests, WritesThePreferencesInOrderAtShutdownAndReadsThemBack)
{
    const auto older = home.getFolder().getChildFile ("older.vlt"), newer = home.getFolder().getChildFile ("newer.vlt");

    {
        TestApplication app;
        app.initialise ({});
        EXPECT_FALSE (app.events.contains ("readPreferences"));    // the first start has no file
        EXPECT_EQ (app.tooltipWindow, nullptr);
        app.recentFiles->addFile (older);
        app.recentFiles->addFile (newer);
        perform (app, CApplication::CommandId::tooltips);
        app.dialog.windowState = "10 20 300 200";
        app.shutdown();
    }

    EXPECT_EQ (home.getPreferencesFile().loadFileAsString(),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n<preferences>\n"
               "  <recent_files>"
                   + newer.getFullPathName() + "\n" + older.getFullPathName()
                   + "</recent_files>\n"
                     "  <tooltips visible=\"1\"/>\n"
                     "  <test_dlg state=\"10 20 300 200\"/>\n"
                     "</preferences>\n");

    {
        TestApplication app;
        app.initialise ({});
        EXPECT_EQ (app.recentFiles->toString(), newer.getFullPathName() + "\n" + older.getFullPathName());
        EXPECT_NE (app.tooltipWindow, nullptr);
        EXPECT_TRUE (tooltipsTicked (app));
        EXPECT_EQ (app.dialog.windowState, "10 20 300 200");

        // Switched off, they are saved off and the next start has none.
        EXPECT_TRUE (perform (app, CApplication::CommandId::tooltips));
        app.shutdown();
        EXPECT_TRUE (home.getPreferencesFile().loadFileAsString().contains (R"(<tooltips visible="0"/>)"));
    }

    TestApplication app;
    app.initialise ({});
    EXPECT_EQ (app.tooltipWindow, nullptr);
    EXPECT_FALSE (tooltipsTicked (app));
    app.shutdown();
}

TEST_F (CApplicationTests, ReadsNamesWhateverTheirCaseAndWhateverTheRootAndTenRecentFiles)
{
    juce::StringArray paths;

    for (int i = 1; i <= 12; ++i)
        paths.add ("/songs/set" + juce::String (i) + ".vlt");

    home.writePreferences ("<Settings><RECENT_FILES>\n  " + paths.joinIntoString ("\n\n  ")
                           + "\n</RECENT_FILES>"
                             R"(<Tooltips VISIBLE="1"/><TEST_DLG State="1 2 3 4"/></Settings>)");
    TestApplication app;
    app.initialise ({});
    paths.removeRange (10, 2);
    EXPECT_EQ (app.recentFiles->toString(), paths.joinIntoString ("\n"));
    EXPECT_NE (app.tooltipWindow, nullptr);
    EXPECT_EQ (app.dialog.windowState, "1 2 3 4");
    app.shutdown();
}

TEST_F (CApplicationTests, OnlyAValueReadingAsOneTurnsTooltipsOn)
{
    // A flag is the leading integer being 1: "2" is not true.
    const std::pair<const char*, bool> values[] { { "1", true },  { "+1", true },  { "1x", true },
                                                  { "2", false }, { "11", false }, { "yes", false } };

    for (const auto& [visible, on] : values)
    {
        home.writePreferences (juce::String (R"(<preferences><tooltips visible=")") + visible + R"("/></preferences>)");
        TestApplication app;
        app.initialise ({});
        EXPECT_EQ (app.tooltipWindow != nullptr, on) << visible;
        app.shutdown();
    }
}

TEST_F (CApplicationTests, AnUnparsableOrEmptyFileGivesTheDefaultsSilently)
{
    for (const auto* content : { R"(<preferences><tooltips visible="1">)", "not xml", "<preferences/>",
                                 "<preferences><?pi?>JUCE's reader never finishes this</preferences>" })
    {
        home.writePreferences (content);
        TestApplication app;
        app.initialise ({});

        // A parsed file counts as read even when it holds nothing we know.
        EXPECT_EQ (app.events.contains ("readPreferences"), juce::String (content) == "<preferences/>") << content;
        EXPECT_EQ (app.tooltipWindow, nullptr) << content;
        EXPECT_EQ (app.recentFiles->getNumFiles(), 0) << content;
        app.shutdown();
        EXPECT_NE (juce::parseXML (home.getPreferencesFile()), nullptr) << content;
    }

    EXPECT_TRUE (prompts.prompts.empty());
}

TEST_F (CApplicationTests, AFileWhereTheFolderShouldBeIsNeitherReadNorWritten)
{
    const auto blocker = home.getPreferencesFile().getParentDirectory();
    const juce::String text (R"(<preferences><tooltips visible="1"/></preferences>)");
    home.getConfigHome().createDirectory();
    blocker.replaceWithText (text);
    TestApplication app;
    app.initialise ({});
    EXPECT_EQ (app.getPreferencesFile(), juce::File());
    EXPECT_EQ (app.tooltipWindow, nullptr);
    app.shutdown();
    EXPECT_FALSE (app.events.contains ("writePreferences"));
    EXPECT_EQ (blocker.loadFileAsString(), text);

    // Without $XDG_CONFIG_HOME the folder is made in ~/.config.
    unsetenv ("XDG_CONFIG_HOME");
    EXPECT_EQ (app.getPreferencesFile(), home.getFolder().getChildFile (".config/Veltrino/preferences.xml"));
    EXPECT_TRUE (home.getFolder().getChildFile (".config/Veltrino").isDirectory());
}

TEST_F (CApplicationTests, AFailedWriteLeavesWhatWasThereAndLeavesNoLitter)
{
    TestApplication app;
    app.initialise ({});

    // Nothing can be renamed over a folder that holds a file.
    const auto target = home.getPreferencesFile();
    target.getChildFile ("keep.txt").create();
    EXPECT_FALSE (app.savePreferences());
    EXPECT_TRUE (target.getChildFile ("keep.txt").existsAsFile());
    EXPECT_EQ (target.getParentDirectory().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1);
    app.shutdown();
}

//==============================================================================
TEST_F (CApplicationTests, CommonCommandsRunAndPassOnOthers)
{
    TestApplication app;
    app.initialise ("x");
    app.events.clear();
    EXPECT_TRUE (perform (app, CApplication::CommandId::about));
    EXPECT_TRUE (perform (app, CApplication::CommandId::quit));
    EXPECT_EQ (app.events, juce::StringArray ({ "showSplash 30000 click", "systemRequestedQuit" }));

    // Without an address Online help is greyed and does nothing, yet counts as handled.
    const auto help = CApplication::CommandId::onlineHelp;
    EXPECT_TRUE (hasFlag (app, help, juce::ApplicationCommandInfo::isDisabled));
    EXPECT_TRUE (perform (app, help));
    EXPECT_TRUE (prompts.prompts.empty());

    app.onlineHelpUrl = "https://example.org/veltrino";
    EXPECT_FALSE (hasFlag (app, help, juce::ApplicationCommandInfo::isDisabled));
    EXPECT_TRUE (perform (app, help));
    ASSERT_EQ (prompts.prompts.size(), 1u);
    EXPECT_EQ (prompts.prompts[0].text, "https://example.org/veltrino");

    app.events.clear();
    EXPECT_FALSE (perform (app, 4));
    EXPECT_TRUE (app.events.isEmpty());
    app.shutdown();
}

TEST_F (CApplicationTests, FatalErrorShowsItsTextsUnderTheLockQuitsAndKeepsThePreferences)
{
    const juce::String previous (R"(<preferences><tooltips visible="1"/></preferences>)");
    home.writePreferences (previous);
    TestApplication app;
    app.whileBuildingMainWindow = [] (TestApplication& a) {
        a.fatalError ("Unable to start application.", "Not enough memory.");
    };
    app.initialise ({});

    ASSERT_EQ (prompts.prompts.size(), 1u);
    const auto& box = prompts.prompts[0];
    EXPECT_TRUE (box.kind == FakePrompts::Kind::message && box.icon == CPrompts::Icon::warning && box.lockCount == 1);
    EXPECT_EQ (box.title, "Fatal error");
    EXPECT_EQ (box.text, "Unable to start application.\n(Not enough memory.)\nApplication will quit.");
    EXPECT_TRUE (juce::MessageManager::getInstance()->hasStopMessageBeenSent());
    app.shutdown();
    EXPECT_TRUE (app.events.contains ("appShutdown"));
    EXPECT_EQ (home.getPreferencesFile().loadFileAsString(), previous);

    app.fatalError ("Unable to start application.", {});
    EXPECT_EQ (prompts.prompts.back().text, "Unable to start application.\n()\nApplication will quit.");
}

TEST_F (CApplicationTests, ModalBoxesGreyTheProductCommandsLevelByLevel)
{
    CJucePrompts jucePrompts;
    CPrompts::install (&jucePrompts);
    TestApplication app;
    app.initialise ("x");

    juce::Component content;
    content.setSize (200, 100);
    std::vector<std::pair<int, bool>> seen;    // counter, command greyed
    const auto note = [&] {
        seen.emplace_back (CStMenuLock::counter(), app.isGreyed (TestApplication::unlockedCommand));
    };

    ModalTest::whenModal ([&] (juce::Component& dialogWindow) {
        note();
        ModalTest::whenModal ([&] (juce::Component& box) {
            note();
            ModalTest::pressReturn (box);
        });

        {
            CStMenuLock lock;
            CPrompts::get().showMessage (CPrompts::Icon::info, "Box", "On top of the dialog");
        }

        note();
        ModalTest::pressEscape (dialogWindow);
    });

    note();
    app.dialog.showModal ("Dialog", content, juce::Colours::grey, false, false);
    note();

    EXPECT_EQ (seen, (std::vector<std::pair<int, bool>> {
                         { 0, false }, { 1, true }, { 2, true }, { 1, true }, { 0, false } }));
    app.shutdown();
}

//==============================================================================
TEST_F (CApplicationTests, ExtractsEveryExampleIntoTheChosenFolderOverwritingOrNothingWhenCancelled)
{
    const auto extract = [] {
        return CApplication::extractExamples (VlResources::examplesArchive, VlResources::examplesArchiveSize);
    };
    EXPECT_TRUE (extract().wasOk());
    ASSERT_EQ (prompts.prompts.size(), 1u);
    const auto& box = prompts.prompts[0];
    EXPECT_TRUE (box.kind == FakePrompts::Kind::chooseFolder && box.lockCount == 1);
    EXPECT_EQ (box.title, "Choose a folder for the examples");
    EXPECT_EQ (box.initial, juce::File::getSpecialLocation (juce::File::userDocumentsDirectory));
    EXPECT_EQ (filesBelow (home.getFolder()), juce::StringArray());
    const auto folder = home.getFolder().getChildFile ("chosen");
    const auto example = folder.getChildFile ("Veltrino examples/win_example.vlt");
    example.getParentDirectory().createDirectory();
    example.replaceWithText ("an older copy");
    prompts.folderAnswers = { folder };
    prompts.okCancelAnswers = { true };
    EXPECT_TRUE (extract().wasOk());
    EXPECT_EQ (prompts.prompts.back().details, example.getFullPathName());
    juce::MemoryInputStream in (VlResources::examplesArchive, VlResources::examplesArchiveSize, false);
    juce::ZipFile archive (in);
    juce::StringArray expected;

    for (int i = 0; i < archive.getNumEntries(); ++i)
        if (! archive.getEntry (i)->filename.endsWithChar ('/'))
            expected.add (archive.getEntry (i)->filename);

    expected.sort (false);
    EXPECT_EQ (filesBelow (folder), expected);
    EXPECT_EQ (filesBelow (home.getFolder()).size(), expected.size());
    std::unique_ptr<juce::InputStream> packed (
        archive.createStreamForEntry (*archive.getEntry ("Veltrino examples/win_example.vlt")));
    ASSERT_NE (packed, nullptr);
    EXPECT_EQ (example.loadFileAsString(), packed->readEntireStreamAsString());
}

TEST_F (CApplicationTests, AnExampleThatDiffersIsReplacedOnlyWhenTheUserAgrees)
{
    juce::MemoryInputStream in (VlResources::examplesArchive, VlResources::examplesArchiveSize, false);
    juce::ZipFile archive (in);
    const std::unique_ptr<juce::InputStream> packed (
        archive.createStreamForEntry (*archive.getEntry ("Veltrino examples/win_example.vlt")));
    ASSERT_NE (packed, nullptr);
    const auto original = packed->readEntireStreamAsString();

    struct Case
    {
        const char* name;
        std::optional<juce::String> before;    // win_example.vlt in the folder, if any
        bool agree;
        bool asked;
        bool replaced;
    };

    const Case cases[] = {
        { "an edited example, kept", "<veltrino version=\"1\"/>", false, true, false },
        { "an edited example, replaced", "<veltrino version=\"1\"/>", true, true, true },
        { "the example as it was", original, false, false, true },
        { "no example yet", std::nullopt, false, false, true },
    };

    for (const auto& c : cases)
    {
        const auto folder = home.getFolder().getChildFile (c.name);
        const auto example = folder.getChildFile ("Veltrino examples/win_example.vlt");

        if (c.before.has_value())
            ASSERT_TRUE (example.getParentDirectory().createDirectory()
                         && example.replaceWithText (*c.before, false, false, nullptr));

        prompts.prompts.clear();
        prompts.folderAnswers = { folder };
        prompts.okCancelAnswers = { c.agree };
        EXPECT_TRUE (
            CApplication::extractExamples (VlResources::examplesArchive, VlResources::examplesArchiveSize).wasOk())
            << c.name;

        const auto questions = std::count_if (prompts.prompts.begin(), prompts.prompts.end(), [] (const auto& p) {
            return p.kind == FakePrompts::Kind::okCancelWithDetails;
        });
        EXPECT_EQ (questions, c.asked ? 1 : 0) << c.name;

        if (c.asked)
            EXPECT_EQ (prompts.prompts.back().details, example.getFullPathName()) << c.name;

        EXPECT_EQ (example.loadFileAsString(), c.replaced ? original : *c.before) << c.name;
        EXPECT_TRUE (folder.getChildFile ("Veltrino examples/Veltrino.syx").existsAsFile()) << c.name;
    }
}

TEST_F (CApplicationTests, APreferencesFileThatCannotBeReadIsLeftAsItWas)
{
    const juce::String text (R"(<preferences><tooltips visible="1"/><test_dlg state="1 2 3 4"/></preferences>)");
    const auto file = home.getPreferencesFile();

    for (const auto mode : { 0000, 0200 })    // neither read nor written; written only
    {
        home.writePreferences (text);
        ASSERT_EQ (::chmod (file.getFullPathName().toRawUTF8(), (mode_t) mode), 0);
        {
            const WithoutFileOverride asAUser;
            ASSERT_EQ (WithoutFileOverride::whyModesDoNotHold (home.getFolder()), "");
            TestApplication app;
            app.initialise ({});
            EXPECT_EQ (app.tooltipWindow, nullptr) << mode;
            app.shutdown();
        }

        struct stat info = {};
        ASSERT_EQ (::stat (file.getFullPathName().toRawUTF8(), &info), 0);
        EXPECT_EQ ((int) (info.st_mode & 07777), mode);
        ASSERT_EQ (::chmod (file.getFullPathName().toRawUTF8(), 0644), 0);
        EXPECT_EQ (file.loadFileAsString(), text) << mode;
    }
}

TEST_F (CApplicationTests, ExtractingNeverWritesOutsideTheChosenFolder)
{
    const auto folder = home.getFolder().getChildFile ("chosen");
    prompts.folderAnswers = { folder };
    juce::ZipFile::Builder builder;

    for (const auto* path : { "../escaped.txt", "/tmp/veltrino-absolute.txt", "Veltrino examples/inside.txt" })
        builder.addEntry (std::make_unique<juce::MemoryInputStream> ("text", 4, true).release(), 9, path, {});

    juce::MemoryOutputStream zip;
    ASSERT_TRUE (builder.writeToStream (zip, nullptr));
    EXPECT_TRUE (CApplication::extractExamples (zip.getData(), zip.getDataSize()).failed());
    EXPECT_EQ (filesBelow (home.getFolder()), juce::StringArray ("chosen/Veltrino examples/inside.txt"));
    EXPECT_FALSE (juce::File ("/tmp/veltrino-absolute.txt").exists());
}

TEST_F (CApplicationTests, AnExampleThatCannotBeWrittenWholeLeavesNoCutFileAndSaysWhich)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "a full disk is mounted here only as root (as in CI)";

    // The small disks are this thread's alone: a mount namespace of its own.
    ASSERT_EQ (::unshare (CLONE_NEWNS), 0) << std::strerror (errno);
    ASSERT_EQ (::mount (nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0) << std::strerror (errno);

    juce::MemoryInputStream in (VlResources::examplesArchive, VlResources::examplesArchiveSize, false);
    juce::ZipFile archive (in);
    std::map<juce::String, juce::MemoryBlock> examples;

    for (int i = 0; i < archive.getNumEntries(); ++i)
        if (const auto& name = archive.getEntry (i)->filename; ! name.endsWithChar ('/'))
            std::unique_ptr<juce::InputStream> (archive.createStreamForEntry (i))->readIntoMemoryBlock (examples[name]);

    const juce::String own ("<veltrino version=\"1\"/>\n");    // smaller than the example
    const auto ownExample = "Veltrino examples/win_example.vlt";

    const struct
    {
        const char* name;
        off_t bytesFree;
        bool ownBefore;
    } cases[] = {
        { "an empty folder, one page free", 4096, false },
        { "an empty folder, a full disk", 0, false },
        { "over the user's own example, one page free", 4096, true },
        { "over the user's own example, a full disk", 0, true },
    };

    for (const auto& c : cases)
    {
        const auto disk = home.getFolder().getChildFile (juce::String (&c - cases));
        ASSERT_TRUE (disk.createDirectory());
        ASSERT_EQ (::mount ("tmpfs", disk.getFullPathName().toRawUTF8(), "tmpfs", 0, "size=64k"), 0)
            << std::strerror (errno);

        if (c.ownBefore)
            ASSERT_TRUE (disk.getChildFile (ownExample).getParentDirectory().createDirectory()
                         && disk.getChildFile (ownExample).replaceWithText (own, false, false, nullptr));

        fillDiskLeaving (disk, c.bytesFree);
        prompts.folderAnswers = { disk };
        prompts.okCancelAnswers = { true };
        const auto result =
            CApplication::extractExamples (VlResources::examplesArchive, VlResources::examplesArchiveSize);

        EXPECT_TRUE (result.failed()) << c.name;
        EXPECT_TRUE (result.getErrorMessage().contains ("No space left on device")
                     && std::any_of (examples.begin(), examples.end(),
                                     [&] (const auto& e) {
                                         return result.getErrorMessage().contains (
                                             disk.getChildFile (e.first).getFullPathName());
                                     }))
            << c.name << ": " << result.getErrorMessage();

        for (const auto& [name, example] : examples)
        {
            juce::MemoryBlock after;
            const auto file = disk.getChildFile (name);
            const auto whole = file.loadFileAsData (after) && after == example;
            const auto old =
                c.ownBefore && name == ownExample && after == juce::MemoryBlock (own.toRawUTF8(), own.length());
            EXPECT_TRUE (! file.exists() || whole || old)
                << c.name << ": " << name << " holds " << after.getSize() << " bytes";
        }

        // A temporary file would hide among the hidden ones.
        EXPECT_EQ (disk.getChildFile ("Veltrino examples").findChildFiles (juce::File::findFiles, false, ".*").size(),
                   0)
            << c.name;
        ::umount2 (disk.getFullPathName().toRawUTF8(), MNT_DETACH);
    }
}

TEST_F (CApplicationTests, ExtractingNeverWritesThroughALinkOutOfTheFolder)
{
    const struct
    {
        const char* link;    // in the chosen folder, to a file or folder outside it
        bool folder;
        bool written;    // the example in the link's place
    } cases[] = {
        { "Veltrino examples", true, false },
        { "Veltrino examples/win_example.vlt", false, true },
    };

    for (const auto& c : cases)
    {
        const auto chosen = home.getFolder().getChildFile (juce::String (&c - cases));
        const auto outside = home.getFolder().getChildFile ("outside" + juce::String (&c - cases));
        const auto mine = outside.getChildFile (c.folder ? "win_example.vlt" : "mine.vlt");
        ASSERT_TRUE (outside.createDirectory() && mine.replaceWithText ("mine", false, false, nullptr));
        const auto link = chosen.getChildFile (c.link);
        ASSERT_TRUE (link.getParentDirectory().createDirectory());
        ASSERT_TRUE ((c.folder ? outside : mine).createSymbolicLink (link, false));

        prompts.folderAnswers = { chosen };
        prompts.okCancelAnswers = { true };
        const auto result =
            CApplication::extractExamples (VlResources::examplesArchive, VlResources::examplesArchiveSize);

        EXPECT_EQ (result.wasOk(), c.written) << c.link << ": " << result.getErrorMessage();
        EXPECT_EQ (mine.loadFileAsString(), "mine") << c.link;
        EXPECT_EQ (link.isSymbolicLink(), ! c.written) << c.link;
    }
}
