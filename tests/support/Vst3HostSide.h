#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivstparameterchanges.h>

#include <array>
#include <optional>

/**
    What a test needs to call a VST3 component loaded through JUCE's hosting straight, as a host
    does: the component itself, and host-side parameter change lists that live on the test's
    stack and never allocate (so they can sit inside an allocation count). Test thread only.
*/
namespace Vst3HostSide
{
/** The VST3 component behind a plug-in JUCE's VST3 hosting loaded; null for any other. */
Steinberg::Vst::IComponent* componentOf (juce::AudioPluginInstance& plugin);

// The SDK's interfaces have no virtual destructors by design; these objects live on the stack.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

/** A host-side object of one SDK interface: no counting of references, no other interfaces. */
template <typename Interface>
class StackObject : public Interface
{
public:
    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID, void** object) override
    {
        *object = nullptr;
        return Steinberg::kNoInterface;
    }

    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

/** One parameter's points within a block, up to four. */
class ParameterQueue final : public StackObject<Steinberg::Vst::IParamValueQueue>
{
public:
    Steinberg::Vst::ParamID id = 0;
    int numPoints = 0;
    std::array<std::pair<Steinberg::int32, Steinberg::Vst::ParamValue>, 4> points {};

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return numPoints; }
    Steinberg::tresult PLUGIN_API getPoint (Steinberg::int32 index, Steinberg::int32& sampleOffset, Steinberg::Vst::ParamValue& value) override;
    Steinberg::tresult PLUGIN_API addPoint (Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value, Steinberg::int32& index) override;
};

/** A block's parameter changes, up to eight parameters: what a host sends in, or what the
    plug-in reports out. */
class ParameterChanges final : public StackObject<Steinberg::Vst::IParameterChanges>
{
public:
    /** Forgets every change. */
    void clear() noexcept { numQueues = 0; }

    /** Adds a point for parameter id (a new queue for a parameter not seen yet). */
    void add (Steinberg::Vst::ParamID id, Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value);

    /** The last point's value for parameter id, if it has any. */
    std::optional<double> lastValueOf (Steinberg::Vst::ParamID id) const;

    Steinberg::int32 PLUGIN_API getParameterCount() override { return numQueues; }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData (Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData (const Steinberg::Vst::ParamID& id, Steinberg::int32& index) override;

private:
    std::array<ParameterQueue, 8> queues {};
    int numQueues = 0;
};

#pragma GCC diagnostic pop
} // namespace Vst3HostSide
