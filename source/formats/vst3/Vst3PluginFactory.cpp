// The VST3 entry point of the plug-in bundle (built into the VST3 target only).
//
// JUCE's VST3 wrapper does the work; its own GetPluginFactory is renamed at build time and
// this one sits in front of it. It guards two host inputs the wrapper trusts:
//  - State: the wrapper also reads VST2-era state layouts and trusts the sizes written inside
//    them, so a short or corrupted project file could make it read outside the block or crash
//    the host. Such state is refused with kResultFalse and the plug-in keeps its settings.
//  - Block length: the wrapper copies each block's input into scratch buffers sized for the
//    longest block the host announced, so a longer block overran them. Longer blocks are
//    processed in announced-size pieces instead.

#include "Vst3StateCheck.h"

#include <pluginterfaces/base/ibstream.h>
#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>

#include <algorithm>
#include <atomic>
#include <vector>

extern "C" Steinberg::IPluginFactory* PLUGIN_API tacetorJuceGetPluginFactory();

namespace
{
using namespace Steinberg;

bool same (const void* a, const void* b) { return FUnknownPrivate::iidEqual (a, b); }

/** Reads the whole stream from its start; false when it cannot be read or is too large. */
bool readAll (IBStream& stream, std::vector<char>& bytes)
{
    if (stream.seek (0, IBStream::kIBSeekSet, nullptr) != kResultTrue)
        return false;

    char block[4096];

    for (;;)
    {
        int32 read = 0;

        if (stream.read (block, static_cast<int32> (sizeof (block)), &read) != kResultOk || read <= 0)
            return true;

        if (bytes.size() + static_cast<size_t> (read) > 0x7fffffff)
            return false;

        bytes.insert (bytes.end(), block, block + read);
    }
}

// The SDK's interfaces have no virtual destructors by design: objects delete themselves in
// release(), so no one deletes them through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

/** The wrapper's component and audio processor, with state checked first and long blocks cut
    to the announced maximum; every other interface is the wrapper's own. Owns one reference
    to each wrapped interface. */
class GuardedComponent final : public Vst::IComponent, public Vst::IAudioProcessor
{
public:
    /** Null when the wrapped component has no audio processor (never for JUCE's). */
    static Vst::IComponent* wrap (Vst::IComponent* wrapped)
    {
        Vst::IAudioProcessor* processor = nullptr;

        if (wrapped->queryInterface (Vst::IAudioProcessor::iid, reinterpret_cast<void**> (&processor)) != kResultOk || processor == nullptr)
        {
            wrapped->release();
            return nullptr;
        }

        return static_cast<Vst::IComponent*> (new GuardedComponent (wrapped, processor));
    }

    ~GuardedComponent()
    {
        audio->release();
        inner->release();
    }

    tresult PLUGIN_API queryInterface (const TUID asked, void** object) override
    {
        if (same (asked, FUnknown::iid) || same (asked, IPluginBase::iid) || same (asked, Vst::IComponent::iid))
        {
            addRef();
            *object = static_cast<Vst::IComponent*> (this);
            return kResultOk;
        }

        if (same (asked, Vst::IAudioProcessor::iid))
        {
            addRef();
            *object = static_cast<Vst::IAudioProcessor*> (this);
            return kResultOk;
        }

        return inner->queryInterface (asked, object);
    }

    uint32 PLUGIN_API addRef() override { return ++references; }

    uint32 PLUGIN_API release() override
    {
        const auto left = --references;

        if (left == 0)
            delete this;

        return left;
    }

    tresult PLUGIN_API initialize (FUnknown* context) override { return inner->initialize (context); }
    tresult PLUGIN_API terminate() override { return inner->terminate(); }
    tresult PLUGIN_API getControllerClassId (TUID classId) override { return inner->getControllerClassId (classId); }
    tresult PLUGIN_API setIoMode (Vst::IoMode mode) override { return inner->setIoMode (mode); }
    int32 PLUGIN_API getBusCount (Vst::MediaType type, Vst::BusDirection direction) override { return inner->getBusCount (type, direction); }

    tresult PLUGIN_API getBusInfo (Vst::MediaType type, Vst::BusDirection direction, int32 index, Vst::BusInfo& bus) override
    {
        return inner->getBusInfo (type, direction, index, bus);
    }

    tresult PLUGIN_API getRoutingInfo (Vst::RoutingInfo& in, Vst::RoutingInfo& out) override { return inner->getRoutingInfo (in, out); }

    tresult PLUGIN_API activateBus (Vst::MediaType type, Vst::BusDirection direction, int32 index, TBool state) override
    {
        return inner->activateBus (type, direction, index, state);
    }

    tresult PLUGIN_API setActive (TBool state) override { return inner->setActive (state); }
    tresult PLUGIN_API getState (IBStream* state) override { return inner->getState (state); }

    tresult PLUGIN_API setState (IBStream* state) override
    {
        if (state == nullptr)
            return kInvalidArgument;

        std::vector<char> bytes;

        if (! readAll (*state, bytes) || ! Vst3StateCheck::isSafe (bytes.data(), bytes.size()))
            return kResultFalse;

        return inner->setState (state); // the wrapper seeks back to the start itself
    }

    tresult PLUGIN_API setBusArrangements (Vst::SpeakerArrangement* inputs, int32 numIns, Vst::SpeakerArrangement* outputs, int32 numOuts) override
    {
        return audio->setBusArrangements (inputs, numIns, outputs, numOuts);
    }

    tresult PLUGIN_API getBusArrangement (Vst::BusDirection direction, int32 index, Vst::SpeakerArrangement& arrangement) override
    {
        return audio->getBusArrangement (direction, index, arrangement);
    }

    tresult PLUGIN_API canProcessSampleSize (int32 size) override { return audio->canProcessSampleSize (size); }
    uint32 PLUGIN_API getLatencySamples() override { return audio->getLatencySamples(); }
    uint32 PLUGIN_API getTailSamples() override { return audio->getTailSamples(); }
    tresult PLUGIN_API setProcessing (TBool state) override { return audio->setProcessing (state); }

    tresult PLUGIN_API setupProcessing (Vst::ProcessSetup& setup) override
    {
        const auto result = audio->setupProcessing (setup);
        maxBlock = result == kResultOk ? setup.maxSamplesPerBlock : 0;
        return result;
    }

    tresult PLUGIN_API process (Vst::ProcessData& data) override
    {
        const int32 limit = maxBlock.load();

        if (data.numSamples <= limit || limit <= 0)
            return audio->process (data);

        if (data.numInputs > maxBuses || data.numOutputs > maxBuses)
            return kResultFalse;

        // Parameter changes and events come once, with the first piece.
        auto piece = data;
        tresult result = kResultOk;

        for (int32 done = 0; done < data.numSamples && result == kResultOk; done += piece.numSamples)
        {
            piece.numSamples = std::min (limit, data.numSamples - done);

            if (! offsetBuses (data.inputs, data.numInputs, done, data.symbolicSampleSize, pieceInputs, inputChannels) || ! offsetBuses (data.outputs, data.numOutputs, done, data.symbolicSampleSize, pieceOutputs, outputChannels))
                return kResultFalse;

            piece.inputs = data.numInputs > 0 ? pieceInputs : nullptr;
            piece.outputs = data.numOutputs > 0 ? pieceOutputs : nullptr;
            result = audio->process (piece);
            piece.inputParameterChanges = nullptr;
            piece.inputEvents = nullptr;
        }

        return result;
    }

private:
    GuardedComponent (Vst::IComponent* wrapped, Vst::IAudioProcessor* processor)
        : inner (wrapped)
        , audio (processor)
    {
    }

    static constexpr int32 maxBuses = 4;
    static constexpr int32 maxChannels = 16;

    /** Points pieces at the host's buses from sample offset on, in storage made beforehand. */
    struct Channels
    {
        Vst::Sample32* single[maxBuses][maxChannels]{};
        Vst::Sample64* twice[maxBuses][maxChannels]{};
    };

    static bool offsetBuses (const Vst::AudioBusBuffers* buses, int32 count, int32 offset, int32 sampleSize,
                             Vst::AudioBusBuffers* pieces, Channels& channels)
    {
        for (int32 bus = 0; bus < count; ++bus)
        {
            const auto& source = buses[bus];
            auto& target = pieces[bus];

            if (source.numChannels > maxChannels)
                return false;

            target = source;

            if (sampleSize == Vst::kSample64)
            {
                if (source.channelBuffers64 != nullptr)
                {
                    for (int32 channel = 0; channel < source.numChannels; ++channel)
                        channels.twice[bus][channel] = source.channelBuffers64[channel] + offset;

                    target.channelBuffers64 = channels.twice[bus];
                }
            }
            else if (source.channelBuffers32 != nullptr)
            {
                for (int32 channel = 0; channel < source.numChannels; ++channel)
                    channels.single[bus][channel] = source.channelBuffers32[channel] + offset;

                target.channelBuffers32 = channels.single[bus];
            }
        }

        return true;
    }

    Vst::IComponent* inner;
    Vst::IAudioProcessor* audio;
    std::atomic<uint32> references{1};
    std::atomic<int32> maxBlock{0};

    // Used by process() alone, on the audio thread.
    Vst::AudioBusBuffers pieceInputs[maxBuses]{};
    Vst::AudioBusBuffers pieceOutputs[maxBuses]{};
    Channels inputChannels, outputChannels;
};

/** The wrapper's factory, handing out guarded components. Owns one reference to it. */
class GuardedFactory final : public IPluginFactory3
{
public:
    explicit GuardedFactory (IPluginFactory* wrapped)
        : inner (wrapped)
    {
    }
    ~GuardedFactory() { inner->release(); }

    tresult PLUGIN_API queryInterface (const TUID asked, void** object) override
    {
        if (same (asked, FUnknown::iid) || same (asked, IPluginFactory::iid) || same (asked, IPluginFactory2::iid) || same (asked, IPluginFactory3::iid))
        {
            addRef();
            *object = this;
            return kResultOk;
        }

        *object = nullptr;
        return kNoInterface;
    }

    uint32 PLUGIN_API addRef() override { return ++references; }
    uint32 PLUGIN_API release() override;

    tresult PLUGIN_API getFactoryInfo (PFactoryInfo* info) override { return inner->getFactoryInfo (info); }
    int32 PLUGIN_API countClasses() override { return inner->countClasses(); }
    tresult PLUGIN_API getClassInfo (int32 index, PClassInfo* info) override { return inner->getClassInfo (index, info); }
    tresult PLUGIN_API getClassInfo2 (int32 index, PClassInfo2* info) override
    {
        return withInner<IPluginFactory2> ([&] (auto& f)
                                           { return f.getClassInfo2 (index, info); });
    }
    tresult PLUGIN_API getClassInfoUnicode (int32 index, PClassInfoW* info) override
    {
        return withInner<IPluginFactory3> ([&] (auto& f)
                                           { return f.getClassInfoUnicode (index, info); });
    }
    tresult PLUGIN_API setHostContext (FUnknown* context) override
    {
        return withInner<IPluginFactory3> ([&] (auto& f)
                                           { return f.setHostContext (context); });
    }

    tresult PLUGIN_API createInstance (FIDString cid, FIDString asked, void** object) override
    {
        const auto result = inner->createInstance (cid, asked, object);

        if (result == kResultOk && *object != nullptr && same (asked, Vst::IComponent::iid))
            *object = GuardedComponent::wrap (static_cast<Vst::IComponent*> (*object));

        if (result == kResultOk && *object == nullptr)
            return kNoInterface;

        return result;
    }

private:
    template <typename Interface, typename Call>
    tresult withInner (Call&& call)
    {
        Interface* newer = nullptr;

        if (inner->queryInterface (Interface::iid, reinterpret_cast<void**> (&newer)) != kResultOk || newer == nullptr)
            return kNotImplemented;

        const auto result = call (*newer);
        newer->release();
        return result;
    }

    IPluginFactory* inner;
    std::atomic<uint32> references{1};
};

#pragma GCC diagnostic pop

std::atomic<GuardedFactory*> factory{nullptr};

uint32 PLUGIN_API GuardedFactory::release()
{
    const auto left = --references;

    if (left == 0)
    {
        factory = nullptr;
        delete this;
    }

    return left;
}
} // namespace

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
    // Hosts call this on their main thread; each call hands out one reference.
    if (auto* existing = factory.load())
    {
        existing->addRef();
        return existing;
    }

    auto* created = new GuardedFactory (tacetorJuceGetPluginFactory());
    factory = created;
    return created;
}
