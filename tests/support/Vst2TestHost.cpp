#include "support/Vst2TestHost.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <dlfcn.h>
#include <map>
#include <mutex>

namespace
{
// VSTPluginMain asks for the host's version before there is an effect record, so the answer
// for the next instance waits here.
std::atomic<Vst2::VstIntPtr> versionToReport { 2400 };

std::mutex callsLock;
std::map<const Vst2::AEffect*, Vst2TestHost::Calls> calls;

Vst2::VstIntPtr hostCallback (Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index, Vst2::VstIntPtr, void*, float opt)
{
    // Only these take the lock: the others come from the audio thread every block.
    if (opcode == Vst2::audioMasterAutomate || opcode == Vst2::audioMasterUpdateDisplay)
    {
        const std::scoped_lock lock (callsLock);
        auto& record = calls[effect];

        if (opcode == Vst2::audioMasterAutomate)
            record.automated.emplace_back (index, opt);
        else
            ++record.displayUpdates;
    }

    return opcode == Vst2::audioMasterVersion ? versionToReport.load() : 0;
}
} // namespace

Vst2TestHost::Vst2TestHost (const std::string& path)
{
    library_ = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);

    if (library_ != nullptr)
        entry_ = reinterpret_cast<Entry> (dlsym (library_, "VSTPluginMain"));
}

Vst2TestHost::~Vst2TestHost()
{
    while (! open_.empty())
        close (open_.back());

    if (library_ != nullptr)
        dlclose (library_);
}

Vst2::AEffect* Vst2TestHost::open (Vst2::VstIntPtr hostVersion)
{
    versionToReport = hostVersion;
    auto* effect = entry_ != nullptr ? entry_ (hostCallback) : nullptr;

    if (effect != nullptr)
    {
        {
            const std::scoped_lock lock (callsLock);
            calls.erase (effect); // a closed instance's address may come back
        }

        dispatch (effect, Vst2::effOpen);
        open_.push_back (effect);
    }

    return effect;
}

Vst2::AEffect* Vst2TestHost::openWithoutCallback() { return entry_ != nullptr ? entry_ (nullptr) : nullptr; }

void Vst2TestHost::close (Vst2::AEffect* effect)
{
    open_.erase (std::remove (open_.begin(), open_.end(), effect), open_.end());
    dispatch (effect, Vst2::effMainsChanged, 0, 0);
    dispatch (effect, Vst2::effClose);
}

Vst2::VstIntPtr Vst2TestHost::dispatch (Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index,
                                        Vst2::VstIntPtr value, void* ptr, float opt)
{
    return effect->dispatcher (effect, opcode, index, value, ptr, opt);
}

std::string Vst2TestHost::text (Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index)
{
    char buffer[256] = {};
    dispatch (effect, opcode, index, 0, buffer);
    return buffer;
}

std::vector<char> Vst2TestHost::chunk (Vst2::AEffect* effect, bool program)
{
    void* data = nullptr;
    const auto size = dispatch (effect, Vst2::effGetChunk, program ? 1 : 0, 0, &data);

    if (data == nullptr || size <= 0)
        return {};

    const auto* bytes = static_cast<const char*> (data);
    return { bytes, bytes + size };
}

void Vst2TestHost::resume (Vst2::AEffect* effect, float sampleRate, int blockSize)
{
    dispatch (effect, Vst2::effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch (effect, Vst2::effSetBlockSize, 0, blockSize);
    dispatch (effect, Vst2::effMainsChanged, 0, 1);
}

Vst2TestHost::Calls Vst2TestHost::callsOf (const Vst2::AEffect* effect)
{
    const std::scoped_lock lock (callsLock);
    const auto found = calls.find (effect);
    return found != calls.end() ? found->second : Calls {};
}
