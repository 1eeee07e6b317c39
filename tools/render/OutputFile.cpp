#include "OutputFile.h"

namespace OutputFile
{
juce::Result checkWritable (const juce::File& target)
{
    const auto folder = target.getParentDirectory();

    if (target.isDirectory())
        return juce::Result::fail ("cannot write '" + target.getFullPathName() + "': it is a folder");

    if (! folder.isDirectory())
        return juce::Result::fail ("cannot write '" + target.getFullPathName() + "': the folder '"
                                   + folder.getFullPathName() + "' does not exist");

    return juce::Result::ok();
}

juce::Result replace (const juce::File& target, const std::function<juce::Result (const juce::File&)>& write)
{
    if (auto result = checkWritable (target); result.failed())
        return result;

    // The temporary file lives beside the target so that the final move is a rename within
    // one file system, which either happens whole or not at all.
    juce::TemporaryFile temporary (target, juce::TemporaryFile::useHiddenFile);

    if (! temporary.getFile().create().wasOk())
        return juce::Result::fail ("cannot write into the folder '" + target.getParentDirectory().getFullPathName() + "'");

    if (auto result = write (temporary.getFile()); result.failed())
        return result;

    if (! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("cannot replace '" + target.getFullPathName() + "'");

    return juce::Result::ok();
}

juce::Result replaceWithData (const juce::File& target, const juce::MemoryBlock& bytes)
{
    return replace (target, [&bytes] (const juce::File& temporary) {
        // Through a stream rather than File::replaceWithData, which deletes the file for an
        // empty block instead of leaving it empty.
        juce::FileOutputStream stream (temporary);

        if (stream.openedOk() && stream.write (bytes.getData(), bytes.getSize()))
            stream.flush();

        return stream.getStatus().wasOk() && stream.openedOk()
                   ? juce::Result::ok()
                   : juce::Result::fail ("cannot write '" + temporary.getFullPathName() + "'");
    });
}
} // namespace OutputFile
