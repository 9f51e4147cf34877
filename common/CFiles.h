#pragma once

#include <juce_core/juce_core.h>

/** File writing that never leaves a damaged file behind. */
namespace CFiles
{
    /** Replaces the file's contents with the text, as UTF-8 without a byte-order
        mark and with the line endings as they stand in the text.

        The text goes into a temporary file of a short name beside the target, which
        is synced to the disk and then takes the target's place. When any step fails
        (a folder that cannot be written, a full disk, a file-size limit, a short
        write) the previous file stays exactly as it was, no temporary file is left
        and the result gives the system's reason.

        As the user would expect of any editor: through a symbolic link the file it
        names is replaced and the link stays; the replacement keeps the old file's
        permission bits where the filesystem keeps modes (a new file gets the usual
        ones; on FAT or a FUSE mount that refuses a change of mode, what the filesystem
        gives); a file that the user may not write is not replaced.

        A write past the process's file-size limit raises SIGXFSZ, which ends the
        process unless it is ignored: a caller that may meet such a limit ignores it.
        Main thread or any other; nothing is shared.
    */
    juce::Result replaceAtomically (const juce::File& file, const juce::String& text);

    /** What a symbolic link in the target's place stands for. */
    enum class Links
    {
        follow,    // the file it names is replaced, as for a document
        replace    // the link itself gives way to the file, which never lands where it points
    };

    /** replaceAtomically() for bytes, with the choice of what a link in the target's place means. */
    juce::Result replaceAtomically (const juce::File& file, const void* data, size_t size, Links links);

    /** Why the file cannot be opened for reading, in the system's words ("Permission
        denied"); empty when it can be, or when there is nothing of that name.
    */
    juce::String getReadFailure (const juce::File& file);
}
