#pragma once

#include <juce_core/juce_core.h>

#include <functional>

/**
    Writing a file so that a failure never leaves a half-written file behind or destroys an
    existing one: the content goes to a temporary file beside the target, which replaces the
    target only once it is complete, with the target's permissions.
*/
namespace OutputFile
{
/** Why target cannot be written, or ok: its folder must exist and target must not be a
    folder. Does not touch the disk beyond looking. */
juce::Result checkWritable (const juce::File& target);

/** Calls write with a temporary file in target's folder; when write succeeds, moves the
    temporary file over target, giving it the permissions of the file it replaces. On any
    failure the temporary file is deleted, target is left as it was and the result says why.
    Main thread only (one replace at a time, which removeTemporaryFile() can find). */
juce::Result replace (const juce::File& target, const std::function<juce::Result (const juce::File& temporary)>& write);

/** Writes bytes to target through replace(). */
juce::Result replaceWithData (const juce::File& target, const juce::MemoryBlock& bytes);

/** Deletes the temporary file of the replace() under way; false when none is under way.
    Async-signal-safe: for a signal handler that is about to end the process. */
bool removeTemporaryFile() noexcept;
} // namespace OutputFile
