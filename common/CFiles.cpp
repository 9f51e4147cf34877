#include "common/CFiles.h"

juce::Result CFiles::replaceAtomically (const juce::File& file, const juce::String& text)
{
    juce::TemporaryFile temporary (file, juce::TemporaryFile::useHiddenFile);

    {
        juce::FileOutputStream out (temporary.getFile());

        if (! out.openedOk())
            return juce::Result::fail ("Cannot create a file in " + file.getParentDirectory().getFullPathName() + " ("
                                       + out.getStatus().getErrorMessage() + ")");

        // A full disk shows only when the buffer is flushed: check after it.
        out.writeText (text, false, false, nullptr);
        out.flush();

        if (out.getStatus().failed())
            return juce::Result::fail ("Cannot write " + file.getFullPathName() + " ("
                                       + out.getStatus().getErrorMessage() + ")");
    }

    if (! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("Cannot replace " + file.getFullPathName());

    return juce::Result::ok();
}
