#pragma once

/**
    Counts what the calling thread does that an audio callback must not: heap allocations and
    frees, and lock acquisitions (pthread mutexes, read-write locks, spin locks and condition
    waits, which is what std::mutex, std::shared_mutex and juce::CriticalSection come down to).

    The test executable replaces the global operator new and delete, plain malloc, calloc,
    realloc and free (except under a sanitizer, which brings its own), and the pthread lock
    functions; each forwards to the real one and counts only while a probe is armed on the
    calling thread, so other threads and unarmed code cost a flag test.

    Not counted: locks built from atomics alone (juce::SpinLock), which never enter pthreads.

    To find where a count comes from, run the test with TACETOR_PROBE_TRACE set in the
    environment: each counted allocation and lock then prints its call stack to stderr
    (addr2line -f -C -e LIBRARY OFFSET names the frames).
*/
class AudioThreadProbe
{
public:
    /** Arms the calling thread, with every count at zero. Probes do not nest. */
    AudioThreadProbe() noexcept;

    /** Disarms the calling thread. */
    ~AudioThreadProbe();

    AudioThreadProbe (const AudioThreadProbe&) = delete;
    AudioThreadProbe& operator= (const AudioThreadProbe&) = delete;

    /** Stops counting early; the counts stay readable. */
    void disarm() noexcept;

    /** Allocations (operator new of any form, and malloc, calloc, realloc where counted). */
    long allocations() const noexcept;

    /** Frees (operator delete of any form, and free where counted). */
    long frees() const noexcept;

    /** Lock acquisitions and attempts, and condition waits. */
    long locks() const noexcept;

    /** Whether plain malloc and its relatives are counted in this build (not under a sanitizer). */
    static bool countsMalloc() noexcept;
};
