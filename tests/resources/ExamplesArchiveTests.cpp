#include "resources/ExamplesArchive.h"
#include "tools/FcbDumpFile.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

TEST (ExamplesArchiveTests, HoldsThePedalBoardDumpTheBuildGeneratedAndTheExampleDocumentThenTheFolderEntry)
{
    juce::MemoryInputStream in (VlResources::examplesArchive, VlResources::examplesArchiveSize, false);
    juce::ZipFile archive (in);
    juce::StringArray names;

    for (int i = 0; i < archive.getNumEntries(); ++i)
        names.add (archive.getEntry (i)->filename);

    EXPECT_EQ (names, juce::StringArray ({ "Veltrino examples/Veltrino.syx", "Veltrino examples/win_example.vlt",
                                           "Veltrino examples/" }));
    std::unique_ptr<juce::InputStream> entry (archive.createStreamForEntry (0));
    juce::MemoryBlock packed, generated;
    ASSERT_NE (entry, nullptr);
    entry->readIntoMemoryBlock (packed);
    ASSERT_TRUE (juce::File (generatedFcbDumpFile).loadFileAsData (generated));
    EXPECT_EQ (packed.getSize(), 2352u);
    EXPECT_TRUE (packed == generated);
}
