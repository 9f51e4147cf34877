#include "common/CFiles.h"
#include "fixtures/FullDisk.h"
#include "fixtures/WithoutFileOverride.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

namespace
{
    int modeOf (const juce::File& file)
    {
        struct stat info = {};
        return ::stat (file.getFullPathName().toRawUTF8(), &info) == 0 ? (int) (info.st_mode & 07777) : -1;
    }

    juce::StringArray namesIn (const juce::File& folder)
    {
        juce::StringArray names;

        for (const auto& entry : juce::RangedDirectoryIterator (
                 folder, false, "*", juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles))
            names.add (entry.getFile().getFileName());

        // Hidden ones too: that is where a temporary file would hide.
        for (const auto& entry : juce::RangedDirectoryIterator (folder, false, ".*"))
            names.addIfNotAlreadyThere (entry.getFile().getFileName());

        names.sort (false);
        return names;
    }

    /** A small file system of its own on `folder`, seen only by this process (a child's). */
    juce::String mountSmallDisk (const juce::File& folder)
    {
        const auto uid = ::getuid(), gid = ::getgid();

        if (uid != 0)
        {
            // A user mounts in a namespace of their own, where they count as root.
            if (::unshare (CLONE_NEWUSER | CLONE_NEWNS) != 0)
                return juce::String ("SKIP: no user namespace to mount a full disk in (")
                       + juce::String (std::strerror (errno)) + ")";

            juce::File ("/proc/self/setgroups").replaceWithText ("deny");
            juce::File ("/proc/self/uid_map").replaceWithText ("0 " + juce::String (uid) + " 1");
            juce::File ("/proc/self/gid_map").replaceWithText ("0 " + juce::String (gid) + " 1");
        }
        else if (::unshare (CLONE_NEWNS) != 0)
        {
            return juce::String ("SKIP: no mount namespace for a full disk (") + juce::String (std::strerror (errno))
                   + ")";
        }

        ::mount (nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);

        if (::mount ("tmpfs", folder.getFullPathName().toRawUTF8(), "tmpfs", 0, "size=64k") != 0)
            return juce::String ("SKIP: a small disk cannot be mounted here (") + juce::String (std::strerror (errno))
                   + ")";

        return {};
    }

    /** Mounts a FUSE filesystem onto `folder` by `command`, seen only by this process (a
        child's) and the daemon that serves it; unmounted by the caller. Root mounts it in
        CI: there a mount that fails is a failure, never a skip.
    */
    juce::String mountThroughFuse (const juce::File& folder, const juce::String& command)
    {
        if (::getuid() != 0)
            return "SKIP: a FUSE filesystem is mounted here only as root";

        if (::unshare (CLONE_NEWNS) != 0)
            return "no mount namespace for a FUSE filesystem (" + juce::String (std::strerror (errno)) + ")";

        ::mount (nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        struct stat inside = {}, outside = {};

        if (std::system (command.toRawUTF8()) != 0 || ::stat (folder.getFullPathName().toRawUTF8(), &inside) != 0
            || ::stat (folder.getParentDirectory().getFullPathName().toRawUTF8(), &outside) != 0
            || inside.st_dev == outside.st_dev)
            return "cannot mount here: " + command;

        return {};
    }

    /** Runs `body` in a child process, which may change its limits, mounts and rights
        freely; returns what it reported, or how it ended when it did not end normally.
    */
    juce::String inChildProcess (const std::function<juce::String()>& body)
    {
        int pipe[2];

        // Not inherited by a daemon that the child starts, which would hold the report open.
        if (::pipe2 (pipe, O_CLOEXEC) != 0)
            return "no pipe";

        const auto child = ::fork();

        if (child < 0)
            return "no child process";

        if (child == 0)
        {
            ::close (pipe[0]);
            const auto report = body();
            [[maybe_unused]] const auto written = ::write (pipe[1], report.toRawUTF8(), report.getNumBytesAsUTF8());
            ::_exit (0);
        }

        ::close (pipe[1]);
        juce::MemoryOutputStream report;
        char buffer[512];

        for (ssize_t got; (got = ::read (pipe[0], buffer, sizeof (buffer))) > 0;)
            report.write (buffer, (size_t) got);

        ::close (pipe[0]);
        int status = 0;
        ::waitpid (child, &status, 0);

        if (! WIFEXITED (status))
            return "the child ended with signal " + juce::String (WTERMSIG (status));

        return report.toString();
    }
}

//==============================================================================
// The old file's bytes stay whenever the replacement fails, and no temporary file is left.
TEST (CFilesTests, AReplacementIsWholeOrLeavesTheOldFileAsItWas)
{
    const auto scratch = juce::File::getSpecialLocation (juce::File::tempDirectory)
                             .getChildFile ("veltrino-files-" + juce::Uuid().toString());
    ASSERT_TRUE (scratch.createDirectory());

    // Longer than JUCE's buffer and the limits below, with text beyond ASCII.
    const auto newText =
        juce::String::repeatedString (juce::CharPointer_UTF8 ("<patch name=\"Ch\xc3\xb4rus\"/>\n"), 800);
    const juce::String oldText ("<veltrino version=\"1\"/>\n");

    enum class Setting
    {
        plain,
        fileSizeLimit,
        smallDisk,
        fatImage,       // no modes at all: a change of mode is "Function not implemented"
        modesRefused    // a change of mode is "Operation not permitted"
    };

    constexpr int anyMode = -2;    // what the filesystem gives

    struct Link
    {
        const char* path;    // in the case's folder
        const char* text;
    };

    struct Case
    {
        const char* name;
        Setting setting;
        const char* given;      // the path given to the replacement, in the case's folder (null: a long name)
        const char* written;    // the file that it must write, when it is not the one given
        std::vector<Link> links;
        int oldMode;    // -1: no file there before
        int folderMode;
        const char* failure;    // the system's reason, or null when it succeeds
        int modeAfter;          // of the file written, or left
    };

    const Case cases[] = {
        { "a short write under a file-size limit",
          Setting::fileSizeLimit,
          "song.vlt",
          nullptr,
          {},
          0644,
          0755,
          "File too large",
          0644 },
        { "a disk with less room than the document needs",
          Setting::smallDisk,
          "song.vlt",
          nullptr,
          {},
          0644,
          0755,
          "No space left on device",
          0644 },
        { "a read-only folder", Setting::plain, "song.vlt", nullptr, {}, 0644, 0555, "Permission denied", 0644 },
        { "a folder that may be written but not listed",
          Setting::plain,
          "song.vlt",
          nullptr,
          {},
          0644,
          0300,
          nullptr,
          0644 },
        { "a read-only file in a writable folder",
          Setting::plain,
          "song.vlt",
          nullptr,
          {},
          0444,
          0755,
          "Permission denied",
          0444 },
        { "an unreadable, unwritable file",
          Setting::plain,
          "song.vlt",
          nullptr,
          {},
          0000,
          0755,
          "Permission denied",
          0000 },
        { "a private file", Setting::plain, "song.vlt", nullptr, {}, 0600, 0755, nullptr, 0600 },
        { "a file reached through a link",
          Setting::plain,
          "link.vlt",
          "songs/real.vlt",
          { { "link.vlt", "songs/real.vlt" } },
          0640,
          0755,
          nullptr,
          0640 },
        // The system takes ".." after a linked folder to that folder's parent, not the link's.
        { "a link that climbs out of a linked folder",
          Setting::plain,
          "set/link.vlt",
          "data/shared/real.vlt",
          { { "set", "data/set" }, { "data/set/link.vlt", "../shared/real.vlt" } },
          0644,
          0755,
          nullptr,
          0644 },
        { "a new file, under the umask", Setting::plain, "new.vlt", nullptr, {}, -1, 0755, nullptr, 0640 },
        { "a name of 250 characters", Setting::plain, nullptr, nullptr, {}, 0644, 0755, nullptr, 0644 },
        { "a FAT image through FUSE", Setting::fatImage, "song.vlt", nullptr, {}, 0644, 0755, nullptr, anyMode },
        { "a mirror that refuses a change of mode",
          Setting::modesRefused,
          "song.vlt",
          nullptr,
          {},
          0644,
          0755,
          nullptr,
          anyMode },
    };

    for (const auto& c : cases)
    {
        const auto folder = scratch.getChildFile (juce::String (&c - cases));
        ASSERT_TRUE (folder.createDirectory());

        const auto report = inChildProcess ([&]() -> juce::String {
            const auto mounted = [&]() -> juce::String {
                const auto place = folder.getFullPathName().quoted();
                const auto beside = folder.getSiblingFile (folder.getFileName() + "-under").getFullPathName().quoted();

                switch (c.setting)
                {
                    case Setting::smallDisk: return mountSmallDisk (folder);
                    case Setting::fatImage:
                        return mountThroughFuse (folder, "mkfs.vfat -C " + beside
                                                             + " 1024 >/dev/null && fusefat -o rw+ " + beside + " "
                                                             + place + " >/dev/null");
                    case Setting::modesRefused:
                        return mountThroughFuse (folder,
                                                 "mkdir " + beside + " && bindfs --chmod-deny " + beside + " " + place);
                    case Setting::plain:
                    case Setting::fileSizeLimit: break;
                }

                return {};
            }();

            if (mounted.isNotEmpty())
                return mounted;

            // The daemon serving a FUSE mount ends once it is gone.
            const juce::ScopeGuard unmount { [&] {
                if (c.setting == Setting::fatImage || c.setting == Setting::modesRefused)
                    ::umount2 (folder.getFullPathName().toRawUTF8(), MNT_DETACH);
            } };

            const auto longName = juce::String::repeatedString ("n", 246) + ".vlt";
            const auto given = folder.getChildFile (c.given != nullptr ? juce::String (c.given) : longName);
            const auto written = c.written != nullptr ? folder.getChildFile (c.written) : given;
            written.getParentDirectory().createDirectory();

            for (const auto& link : c.links)
            {
                const auto at = folder.getChildFile (link.path);
                at.getParentDirectory().createDirectory();

                if (::symlink (link.text, at.getFullPathName().toRawUTF8()) != 0)
                    return "no link made at " + at.getFullPathName();
            }

            if (c.oldMode >= 0)
            {
                // Not through JUCE's replacement, which cannot write beside a long name.
                juce::FileOutputStream (written).writeText (oldText, false, false, nullptr);
                ::chmod (written.getFullPathName().toRawUTF8(), (mode_t) c.oldMode);
            }

            if (c.setting == Setting::smallDisk)
                fillDiskLeaving (folder, 8192);

            ::chmod (folder.getFullPathName().toRawUTF8(), (mode_t) c.folderMode);
            const auto namesBefore = namesIn (written.getParentDirectory());
            ::umask (027);

            juce::Result result = juce::Result::ok();
            juce::MemoryBlock after;
            juce::StringArray namesAfter;
            int modeAfter = -1;
            {
                const WithoutFileOverride asAUser;

                if (const auto why = WithoutFileOverride::whyModesDoNotHold (scratch); why.isNotEmpty())
                    return why;

                if (c.setting == Setting::fileSizeLimit)
                {
                    std::signal (SIGXFSZ, SIG_IGN);
                    const rlimit limit { 4096, RLIM_INFINITY };
                    ::setrlimit (RLIMIT_FSIZE, &limit);
                }

                result = CFiles::replaceAtomically (given, newText);
            }

            modeAfter = modeOf (written);
            ::chmod (written.getFullPathName().toRawUTF8(), 0644);    // readable, to compare
            written.loadFileAsData (after);
            namesAfter = namesIn (written.getParentDirectory());

            juce::StringArray faults;
            const auto expected = c.failure == nullptr ? newText : (c.oldMode >= 0 ? oldText : juce::String());

            if (c.failure == nullptr && result.failed())
                faults.add ("failed: " + result.getErrorMessage());
            else if (c.failure != nullptr && ! result.getErrorMessage().contains (c.failure))
                faults.add ("the failure says \"" + result.getErrorMessage() + "\", not why: " + c.failure);

            if (after != juce::MemoryBlock (expected.toRawUTF8(), expected.getNumBytesAsUTF8()))
                faults.add ("the file holds " + juce::String (after.getSize()) + " bytes, not "
                            + juce::String (expected.getNumBytesAsUTF8()) + " as expected");

            if (c.modeAfter != anyMode && modeAfter != c.modeAfter)
                faults.add (juce::String::formatted ("mode %o instead of %o", modeAfter, c.modeAfter));

            auto expectedNames = namesBefore;

            if (c.oldMode < 0 && c.failure == nullptr)
                expectedNames.add (written.getFileName()), expectedNames.sort (false);

            if (namesAfter != expectedNames)
                faults.add ("the folder holds " + namesAfter.joinIntoString (", ") + " instead of "
                            + expectedNames.joinIntoString (", "));

            for (const auto& link : c.links)
                if (const auto at = folder.getChildFile (link.path);
                    ! at.isSymbolicLink() || at.getNativeLinkedTarget() != link.text)
                    faults.add (juce::String ("the link ") + link.path + " is no longer the same link");

            return faults.joinIntoString ("; ");
        });

        if (report.startsWith ("SKIP: "))
            std::cout << c.name << ": " << report << std::endl;
        else
            EXPECT_TRUE (report.isEmpty()) << c.name << ": " << report;

        ::chmod (folder.getFullPathName().toRawUTF8(), 0755);
    }

    // A link's text is bytes: a name in another encoding is followed as it stands, not read as text.
    const auto folder = scratch.getChildFile ("latin").getFullPathName().toStdString();
    ::mkdir (folder.c_str(), 0755);
    std::ofstream (folder + "/caf\xe9.vlt") << oldText;
    ASSERT_EQ (::symlink ("caf\xe9.vlt", (folder + "/latin.vlt").c_str()), 0);
    EXPECT_TRUE (CFiles::replaceAtomically (juce::File (folder + "/latin.vlt"), newText).wasOk());
    std::stringstream latin;
    latin << std::ifstream (folder + "/caf\xe9.vlt").rdbuf();
    EXPECT_EQ (latin.str(), newText.toStdString());
    // JUCE reads names and links as UTF-8 only.
    ::unlink ((folder + "/caf\xe9.vlt").c_str());
    ::unlink ((folder + "/latin.vlt").c_str());

    scratch.deleteRecursively();
}
