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
// And it tells the host when program names change: the settings the host restores carry the
// names, but JUCE's controller never tells the host's unit handler, so hosts kept listing the
// names they read first.

#include "Vst3StateCheck.h"

#include <pluginterfaces/base/ibstream.h>
#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivsteditcontroller.h>
#include <pluginterfaces/vst/ivstunits.h>

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

/** The reference count of one of the wrappers below: it starts with the creator's reference,
    and the release that takes it to zero deletes the wrapper. Any thread. */
class ReferenceCount
{
public:
    uint32 add() noexcept { return ++count; }

    template <typename Wrapper>
    uint32 release (Wrapper* wrapper)
    {
        const auto left = --count;

        if (left == 0)
            delete wrapper;

        return left;
    }

private:
    std::atomic<uint32> count { 1 };
};

/** Answers a queryInterface with one more reference to an interface of the asked object. */
template <typename Interface>
tresult handOut (Interface* asked, void** object)
{
    asked->addRef();
    *object = asked;
    return kResultOk;
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
            return handOut (static_cast<Vst::IComponent*> (this), object);

        if (same (asked, Vst::IAudioProcessor::iid))
            return handOut (static_cast<Vst::IAudioProcessor*> (this), object);

        return inner->queryInterface (asked, object);
    }

    uint32 PLUGIN_API addRef() override { return references.add(); }
    uint32 PLUGIN_API release() override { return references.release (this); }

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
        Vst::Sample32* single[maxBuses][maxChannels] {};
        Vst::Sample64* twice[maxBuses][maxChannels] {};
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
    ReferenceCount references;
    std::atomic<int32> maxBlock { 0 };

    // Used by process() alone, on the audio thread.
    Vst::AudioBusBuffers pieceInputs[maxBuses] {};
    Vst::AudioBusBuffers pieceOutputs[maxBuses] {};
    Channels inputChannels, outputChannels;
};

/** The wrapper's edit controller, which after being handed the component's state (a restore)
    tells the host's unit handler that the names in every program list may have changed; every other
    call and interface is the wrapper's own. Owns one reference to the wrapped controller and
    one to the host's component handler. Called on the host's UI thread. */
class GuardedController final : public Vst::IEditController
{
public:
    explicit GuardedController (Vst::IEditController* wrapped)
        : inner (wrapped)
    {
    }

    ~GuardedController()
    {
        if (handler != nullptr)
            handler->release();

        inner->release();
    }

    tresult PLUGIN_API queryInterface (const TUID asked, void** object) override
    {
        if (same (asked, FUnknown::iid) || same (asked, IPluginBase::iid) || same (asked, Vst::IEditController::iid))
            return handOut (static_cast<Vst::IEditController*> (this), object);

        return inner->queryInterface (asked, object);
    }

    uint32 PLUGIN_API addRef() override { return references.add(); }
    uint32 PLUGIN_API release() override { return references.release (this); }

    tresult PLUGIN_API initialize (FUnknown* context) override { return inner->initialize (context); }
    tresult PLUGIN_API terminate() override { return inner->terminate(); }

    tresult PLUGIN_API setComponentState (IBStream* state) override
    {
        // JUCE's controller takes what it needs from the processor and answers with the SDK
        // base class's kNotImplemented, so its answer says nothing about the names.
        const auto result = inner->setComponentState (state);
        announceProgramNames();
        return result;
    }

    tresult PLUGIN_API setState (IBStream* state) override { return inner->setState (state); }
    tresult PLUGIN_API getState (IBStream* state) override { return inner->getState (state); }
    int32 PLUGIN_API getParameterCount() override { return inner->getParameterCount(); }

    tresult PLUGIN_API getParameterInfo (int32 index, Vst::ParameterInfo& info) override
    {
        return inner->getParameterInfo (index, info);
    }

    tresult PLUGIN_API getParamStringByValue (Vst::ParamID id, Vst::ParamValue value, Vst::String128 text) override
    {
        return inner->getParamStringByValue (id, value, text);
    }

    tresult PLUGIN_API getParamValueByString (Vst::ParamID id, Vst::TChar* text, Vst::ParamValue& value) override
    {
        return inner->getParamValueByString (id, text, value);
    }

    Vst::ParamValue PLUGIN_API normalizedParamToPlain (Vst::ParamID id, Vst::ParamValue value) override
    {
        return inner->normalizedParamToPlain (id, value);
    }

    Vst::ParamValue PLUGIN_API plainParamToNormalized (Vst::ParamID id, Vst::ParamValue value) override
    {
        return inner->plainParamToNormalized (id, value);
    }

    Vst::ParamValue PLUGIN_API getParamNormalized (Vst::ParamID id) override { return inner->getParamNormalized (id); }

    tresult PLUGIN_API setParamNormalized (Vst::ParamID id, Vst::ParamValue value) override
    {
        return inner->setParamNormalized (id, value);
    }

    tresult PLUGIN_API setComponentHandler (Vst::IComponentHandler* newHandler) override
    {
        if (newHandler != nullptr)
            newHandler->addRef();

        if (handler != nullptr)
            handler->release();

        handler = newHandler;
        return inner->setComponentHandler (newHandler);
    }

    IPlugView* PLUGIN_API createView (FIDString name) override { return inner->createView (name); }

private:
    void announceProgramNames()
    {
        Vst::IUnitHandler* units = nullptr;

        if (handler == nullptr || handler->queryInterface (Vst::IUnitHandler::iid, reinterpret_cast<void**> (&units)) != kResultOk || units == nullptr)
            return;

        Vst::IUnitInfo* info = nullptr;

        if (inner->queryInterface (Vst::IUnitInfo::iid, reinterpret_cast<void**> (&info)) == kResultOk && info != nullptr)
        {
            for (int32 list = 0; list < info->getProgramListCount(); ++list)
            {
                Vst::ProgramListInfo listInfo {};

                if (info->getProgramListInfo (list, listInfo) == kResultOk)
                    units->notifyProgramListChange (listInfo.id, -1); // -1: every program
            }

            info->release();
        }

        units->release();
    }

    Vst::IEditController* inner;
    Vst::IComponentHandler* handler = nullptr;
    ReferenceCount references;
};

/** The wrapper's factory, handing out guarded components and controllers. Owns one reference
    to it. */
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
            return handOut (static_cast<IPluginFactory3*> (this), object);

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
        else if (result == kResultOk && *object != nullptr && same (asked, Vst::IEditController::iid))
            *object = static_cast<Vst::IEditController*> (new GuardedController (static_cast<Vst::IEditController*> (*object)));

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
    std::atomic<uint32> references { 1 };
};

#pragma GCC diagnostic pop

std::atomic<GuardedFactory*> factory { nullptr };

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
