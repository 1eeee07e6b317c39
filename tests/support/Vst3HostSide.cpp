#include "support/Vst3HostSide.h"

namespace Vst3HostSide
{
using namespace Steinberg;

Vst::IComponent* componentOf (juce::AudioPluginInstance& plugin)
{
    struct Visitor final : juce::ExtensionsVisitor
    {
        void visitVST3Client (const VST3Client& client) override { component = client.getIComponentPtr(); }
        Vst::IComponent* component = nullptr;
    } visitor;

    plugin.getExtensions (visitor);
    return visitor.component;
}

tresult PLUGIN_API ParameterQueue::getPoint (int32 index, int32& sampleOffset, Vst::ParamValue& value)
{
    if (index < 0 || index >= numPoints)
        return kInvalidArgument;

    sampleOffset = points[static_cast<size_t> (index)].first;
    value = points[static_cast<size_t> (index)].second;
    return kResultTrue;
}

tresult PLUGIN_API ParameterQueue::addPoint (int32 sampleOffset, Vst::ParamValue value, int32& index)
{
    if (numPoints == static_cast<int> (points.size()))
        return kResultFalse;

    index = numPoints;
    points[static_cast<size_t> (numPoints++)] = { sampleOffset, value };
    return kResultTrue;
}

void ParameterChanges::add (Vst::ParamID id, int32 sampleOffset, Vst::ParamValue value)
{
    int32 index = 0, point = 0;

    if (auto* queue = addParameterData (id, index))
        queue->addPoint (sampleOffset, value, point);
}

std::optional<double> ParameterChanges::lastValueOf (Vst::ParamID id) const
{
    for (int i = 0; i < numQueues; ++i)
    {
        const auto& queue = queues[static_cast<size_t> (i)];

        if (queue.id == id && queue.numPoints > 0)
            return queue.points[static_cast<size_t> (queue.numPoints - 1)].second;
    }

    return std::nullopt;
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData (int32 index)
{
    return index >= 0 && index < numQueues ? &queues[static_cast<size_t> (index)] : nullptr;
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData (const Vst::ParamID& id, int32& index)
{
    for (index = 0; index < numQueues; ++index)
        if (queues[static_cast<size_t> (index)].id == id)
            return &queues[static_cast<size_t> (index)];

    if (numQueues == static_cast<int> (queues.size()))
        return nullptr;

    auto& queue = queues[static_cast<size_t> (numQueues)];
    queue.id = id;
    queue.numPoints = 0;
    index = numQueues++;
    return &queue;
}
} // namespace Vst3HostSide
