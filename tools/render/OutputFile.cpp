#include "OutputFile.h"

#include <atomic>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace OutputFile
{
namespace
{
// The path of the temporary file being written, for a signal handler: a plain array and a
// flag set only once the path is complete, both readable from a handler at any moment.
char pendingPath[4096];
volatile std::sig_atomic_t pathIsPending = 0;

// Makes the temporary file's path known to removeTemporaryFile() for its lifetime, from
// before the file exists until after it has been renamed or deleted.
class PendingTemporary
{
public:
    explicit PendingTemporary (const juce::File& temporary)
    {
        const auto path = temporary.getFullPathName().toStdString();

        if (path.size() >= sizeof (pendingPath))
            return;

        path.copy (pendingPath, path.size());
        pendingPath[path.size()] = '\0';
        std::atomic_signal_fence (std::memory_order_seq_cst);
        pathIsPending = 1;
    }

    ~PendingTemporary()
    {
        pathIsPending = 0;
        std::atomic_signal_fence (std::memory_order_seq_cst);
    }

    JUCE_DECLARE_NON_COPYABLE (PendingTemporary)
};

void copyPermissions (const juce::File& from, const juce::File& to)
{
    struct stat status;

    if (::stat (from.getFullPathName().toRawUTF8(), &status) == 0)
        ::chmod (to.getFullPathName().toRawUTF8(), status.st_mode & 07777);
}
} // namespace

juce::Result checkWritable (const juce::File& target)
{
    const auto folder = target.getParentDirectory();

    if (target.isDirectory())
        return juce::Result::fail ("cannot write '" + target.getFullPathName() + "': it is a folder");

    if (! folder.isDirectory())
        return juce::Result::fail ("cannot write '" + target.getFullPathName() + "': the folder '" + folder.getFullPathName() + "' does not exist");

    return juce::Result::ok();
}

juce::Result replace (const juce::File& target, const std::function<juce::Result (const juce::File&)>& write)
{
    if (auto result = checkWritable (target); result.failed())
        return result;

    // The temporary file lives beside the target so that the final move is a rename within
    // one file system, which either happens whole or not at all.
    juce::TemporaryFile temporary (target, juce::TemporaryFile::useHiddenFile);
    const PendingTemporary pending (temporary.getFile());

    if (! temporary.getFile().create().wasOk())
        return juce::Result::fail ("cannot write into the folder '" + target.getParentDirectory().getFullPathName() + "'");

    if (auto result = write (temporary.getFile()); result.failed())
        return result;

    if (target.existsAsFile())
        copyPermissions (target, temporary.getFile());

    if (! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("cannot replace '" + target.getFullPathName() + "'");

    return juce::Result::ok();
}

juce::Result replaceWithData (const juce::File& target, const juce::MemoryBlock& bytes)
{
    return replace (target, [&bytes, &target] (const juce::File& temporary)
                    {
        // Through a stream rather than File::replaceWithData, which deletes the file for an
        // empty block instead of leaving it empty.
        juce::FileOutputStream stream (temporary);

        if (stream.openedOk() && stream.write (bytes.getData(), bytes.getSize()))
            stream.flush();

        return stream.getStatus().wasOk() && stream.openedOk()
                   ? juce::Result::ok()
                   : juce::Result::fail ("cannot write '" + target.getFullPathName() + "': " + stream.getStatus().getErrorMessage()); });
}

bool removeTemporaryFile() noexcept
{
    if (pathIsPending == 0)
        return false;

    ::unlink (pendingPath);
    return true;
}
} // namespace OutputFile
