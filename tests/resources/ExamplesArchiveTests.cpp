#include "resources/ExamplesArchive.h"
#include "tools/FcbDumpFile.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

TEST (ExamplesArchiveTests, HoldsTheExamplesFolderWithItsOwnEntryLast)
{
    juce::MemoryInputStream in (VlResources::examplesArchive, VlResources::examplesArchiveSize, false);
    juce::ZipFile archive (in);
    const auto last = archive.getNumEntries() - 1;

    ASSERT_GE (last, 1);
    EXPECT_EQ (archive.getEntry (last)->filename, "Veltrino examples/");
    EXPECT_NE (archive.getEntry ("Veltrino examples/readme.txt"), nullptr);

    for (int i = 0; i < last; ++i)
    {
        const auto name = archive.getEntry (i)->filename;
        EXPECT_TRUE (name.startsWith ("Veltrino examples/") && ! name.endsWithChar ('/') && ! name.contains ("..")) << name;

        std::unique_ptr<juce::InputStream> entry (archive.createStreamForEntry (i));
        ASSERT_NE (entry, nullptr) << name;
        EXPECT_GT (entry->readEntireStreamAsString().length(), 0) << name;
    }
}

TEST (ExamplesArchiveTests, CarriesThePedalBoardDumpThatTheBuildGenerated)
{
    juce::MemoryInputStream in (VlResources::examplesArchive, VlResources::examplesArchiveSize, false);
    juce::ZipFile archive (in);
    std::unique_ptr<juce::InputStream> entry (archive.createStreamForEntry (archive.getIndexOfFileName ("Veltrino examples/Veltrino.syx")));
    ASSERT_NE (entry, nullptr);

    juce::MemoryBlock packed, generated;
    entry->readIntoMemoryBlock (packed);
    ASSERT_TRUE (juce::File (generatedFcbDumpFile).loadFileAsData (generated));

    EXPECT_EQ (packed.getSize(), 2352u);
    EXPECT_TRUE (packed == generated);
}
