#pragma once

namespace Vst2
{
#include "pluginterfaces/vst2.x/aeffectx.h"
}

#include <string>
#include <utility>
#include <vector>

/**
    A minimal VST 2.4 host: loads a plug-in library with dlopen, creates instances through its
    VSTPluginMain with a host callback that reports interface version 2400, and closes them.
    Test thread only; one host per test.
*/
class Vst2TestHost
{
public:
    /** Loads the library at path; isLoaded() tells whether that and its entry point worked. */
    explicit Vst2TestHost (const std::string& path);

    /** Closes every instance still open, then unloads the library. */
    ~Vst2TestHost();

    bool isLoaded() const noexcept { return entry_ != nullptr; }

    /** A new opened instance (effOpen sent), or null when the entry point returned none.
        hostVersion is what the callback answers to audioMasterVersion. */
    Vst2::AEffect* open (Vst2::VstIntPtr hostVersion = 2400);

    /** Calls the entry point with no callback at all. */
    Vst2::AEffect* openWithoutCallback();

    /** Sends effClose; the instance is gone afterwards. */
    void close (Vst2::AEffect* effect);

    /** Shorthand for the effect's dispatcher. */
    static Vst2::VstIntPtr dispatch (Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index = 0,
                                     Vst2::VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);

    /** A text the plug-in writes into a buffer for opcode (names, vendor, parameter texts). */
    static std::string text (Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index = 0);

    /** The bank (program = false) or program chunk the plug-in hands out, copied. */
    static std::vector<char> chunk (Vst2::AEffect* effect, bool program = false);

    /** Resumes with the rate (Hz) and block size, as hosts do before processing. */
    static void resume (Vst2::AEffect* effect, float sampleRate, int blockSize);

    /** What an instance told the host through its callback since it was opened. */
    struct Calls
    {
        std::vector<std::pair<int, float>> automated; // audioMasterAutomate: index, value
        int displayUpdates = 0;                       // audioMasterUpdateDisplay
    };

    /** A copy of what effect has called back so far; the plug-in may call from any thread. */
    static Calls callsOf (const Vst2::AEffect* effect);

private:
    using Entry = Vst2::AEffect* (*)(Vst2::audioMasterCallback);

    void* library_ = nullptr;
    Entry entry_ = nullptr;
    std::vector<Vst2::AEffect*> open_;
};
