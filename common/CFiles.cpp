#include "common/CFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// JUCE's own replacement (TemporaryFile, FileOutputStream) takes a short write for a
// whole one, renames a new file of the usual mode over the old one, replaces a link
// by a file, and names its temporary file after the target, which then no longer fits
// beside a long name. Hence the system's calls here, on the folder's descriptor.
namespace
{
    constexpr int maxLinksFollowed = 40;    // as the system's own limit: a loop of links ends
    constexpr int maxNameAttempts = 100;

    juce::String reasonFor (int error)
    {
        char buffer[256] {};
        return juce::String (strerror_r (error, buffer, sizeof (buffer)));
    }

    juce::Result fail (const juce::String& what, int error)
    {
        return juce::Result::fail (what + " (" + reasonFor (error) + ")");
    }

    /** fail() with the reason of the call that just failed, taken before anything else can change it. */
    template <typename What>
    juce::Result failNow (What&& describe)
    {
        const auto error = errno;
        return fail (describe(), error);
    }

    /** A descriptor closed when it goes, unless it was closed before. */
    struct Descriptor
    {
        explicit Descriptor (int fdToOwn) noexcept
            : fd (fdToOwn)
        {
        }

        ~Descriptor()
        {
            if (fd >= 0)
                ::close (fd);
        }

        /** Closes it now; false with errno set when the system reports a failure. */
        bool close() noexcept { return ::close (std::exchange (fd, -1)) == 0; }

        int fd;

        JUCE_DECLARE_NON_COPYABLE (Descriptor)
    };

    /** The path of the file that `path` names once every symbolic link is followed, as the
        system follows it: a link's text is taken as it stands, relative to the folder of the
        link as the path gives it, never tidied (a ".." after a linked folder is the linked
        folder's parent, "~" is a name), and the bytes never decoded. False (errno set) for
        a loop of links or a path that cannot be followed.
    */
    bool followLinks (std::string& path)
    {
        for (int followed = 0;; ++followed)
        {
            std::vector<char> text (4096);
            const auto length = ::readlink (path.c_str(), text.data(), text.size());

            // Not a link, or nothing there yet (a new file); anything else is the save's reason.
            if (length < 0)
                return errno == EINVAL || errno == ENOENT;

            if (followed == maxLinksFollowed || (size_t) length == text.size())
            {
                errno = followed == maxLinksFollowed ? ELOOP : ENAMETOOLONG;
                return false;
            }

            const std::string target (text.data(), (size_t) length);
            path = ! target.empty() && target.front() == '/' ? target : path.substr (0, path.rfind ('/') + 1) + target;
        }
    }

    /** Gives the file the mode, where its filesystem keeps modes: FAT, and FUSE mounts of
        phones or network shares, refuse a change of mode (EPERM, ENOSYS, EOPNOTSUPP) on a
        file that is the user's own. Failing the save there would leave a document that can
        never be saved again; the file takes what the filesystem gives it instead.
    */
    bool keepMode (int fd, mode_t mode)
    {
        if (::fchmod (fd, mode & 07777) == 0)
            return true;

        // ENOTSUP is EOPNOTSUPP on Linux.
        return errno == EPERM || errno == ENOSYS || errno == EOPNOTSUPP;
    }

    bool writeAll (int fd, const char* data, size_t size)
    {
        // A short write (a file-size limit, a disk filling up) is written on from where it
        // stopped: the next write then fails with the system's reason.
        while (size > 0)
        {
            const auto written = ::write (fd, data, size);

            if (written < 0)
            {
                if (errno == EINTR)
                    continue;

                return false;
            }

            data += written;
            size -= (size_t) written;
        }

        return true;
    }
}

juce::Result CFiles::replaceAtomically (const juce::File& file, const juce::String& text)
{
    return replaceAtomically (file, text.toRawUTF8(), text.getNumBytesAsUTF8(), Links::follow);
}

juce::Result CFiles::replaceAtomically (const juce::File& file, const void* data, size_t size, Links links)
{
    auto path = file.getFullPathName().toStdString();

    if (links == Links::follow && ! followLinks (path))
        return failNow ([&] { return "Cannot write " + file.getFullPathName(); });

    // The bytes go to the system as they are; only the messages are text.
    const auto slash = path.rfind ('/');
    const auto name = path.substr (slash + 1);
    const auto folderPath = slash == 0 ? std::string ("/") : path.substr (0, slash);
    const juce::String targetPath (juce::CharPointer_UTF8 (path.c_str())),
        folderText (juce::CharPointer_UTF8 (folderPath.c_str()));

    // A link to a folder ("songs/").
    if (name.empty())
        return fail ("Cannot replace " + targetPath, EISDIR);

    // O_PATH: a folder that may be written and entered but not listed is enough.
    const Descriptor folder (::open (folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));

    if (folder.fd < 0)
        return failNow ([&] { return "Cannot create a file in " + folderText; });

    struct stat old = {};
    const auto found = ::fstatat (folder.fd, name.c_str(), &old, links == Links::follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0;

    // A link that gives way is no file to keep the mode or the protection of.
    const auto replacing = found && ! S_ISLNK (old.st_mode);

    if (replacing)
    {
        if (S_ISDIR (old.st_mode))
            return fail ("Cannot replace " + targetPath, EISDIR);

        // The user's own protection of the file holds, although the folder would let it go.
        if (::faccessat (folder.fd, name.c_str(), W_OK, AT_EACCESS) != 0)
            return failNow ([&] { return "Cannot write " + targetPath; });
    }
    else if (! found && errno != ENOENT)
    {
        return failNow ([&] { return "Cannot write " + targetPath; });
    }

    // A name of its own, short whatever the target's name: it fits wherever the target does.
    juce::Random random;
    juce::String temporaryName;
    Descriptor out (-1);

    for (int attempt = 0; out.fd < 0; ++attempt)
    {
        temporaryName = ".~" + juce::String::toHexString (random.nextInt()).paddedLeft ('0', 8) + ".tmp";

        // Private until it is whole; a new file takes the mode that the umask leaves.
        out.fd = ::openat (folder.fd, temporaryName.toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                           replacing ? S_IRUSR | S_IWUSR : 0666);

        if (out.fd < 0 && (errno != EEXIST || attempt == maxNameAttempts))
            return failNow ([&] { return "Cannot create a file in " + folderText; });
    }

    const auto written = [&]() -> juce::Result {
        if (! writeAll (out.fd, static_cast<const char*> (data), size))
            return failNow ([&] { return "Cannot write " + targetPath; });

        // Durable, with the old file's mode, before it takes the old file's place: a crash
        // never leaves an empty document.
        if ((replacing && ! keepMode (out.fd, old.st_mode)) || ::fsync (out.fd) != 0 || ! out.close())
            return failNow ([&] { return "Cannot write " + targetPath; });

        if (::renameat (folder.fd, temporaryName.toRawUTF8(), folder.fd, name.c_str()) != 0)
            return failNow ([&] { return "Cannot replace " + targetPath; });

        return juce::Result::ok();
    }();

    if (written.failed())
    {
        ::unlinkat (folder.fd, temporaryName.toRawUTF8(), 0);
        return written;
    }

    // The rename itself reaches the disk with the folder; the file is whole either way.
    if (const Descriptor listing (::open (folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); listing.fd >= 0)
        ::fsync (listing.fd);

    return juce::Result::ok();
}

juce::String CFiles::getReadFailure (const juce::File& file)
{
    const Descriptor in (::open (file.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    return in.fd >= 0 || errno == ENOENT ? juce::String() : reasonFor (errno);
}
