#include "AaxEffectDescription.h"

#include "PelmoraTacetorAudioProcessor.h"

namespace
{
using aax::StemFormat;

constexpr StemFormat candidateFormats[] = {
    StemFormat::none,
    StemFormat::mono,
    StemFormat::stereo,
    StemFormat::lcr,
    StemFormat::quad,
    StemFormat::fivePointZero,
    StemFormat::fivePointOne,
    StemFormat::sevenPointZero,
    StemFormat::sevenPointOne,
};

juce::AudioChannelSet channelSetFor (StemFormat format)
{
    switch (format)
    {
        case StemFormat::mono:
            return juce::AudioChannelSet::mono();
        case StemFormat::stereo:
            return juce::AudioChannelSet::stereo();
        case StemFormat::lcr:
            return juce::AudioChannelSet::createLCR();
        case StemFormat::quad:
            return juce::AudioChannelSet::quadraphonic();
        case StemFormat::fivePointZero:
            return juce::AudioChannelSet::create5point0();
        case StemFormat::fivePointOne:
            return juce::AudioChannelSet::create5point1();
        case StemFormat::sevenPointZero:
            return juce::AudioChannelSet::create7point0();
        case StemFormat::sevenPointOne:
            return juce::AudioChannelSet::create7point1();
        case StemFormat::none:
            break;
    }

    return juce::AudioChannelSet::disabled();
}

// "Accepts exactly": the processor takes the layout and then reports that very layout back.
bool acceptsExactly (juce::AudioProcessor& processor, StemFormat input, StemFormat output)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (channelSetFor (input));
    layout.outputBuses.add (channelSetFor (output));
    return processor.setBusesLayout (layout) && processor.getBusesLayout() == layout;
}

aax::Result describeComponent (AAX_IEffectDescriptor& effect, int number, StemFormat input, StemFormat output)
{
    auto* component = effect.NewComponentDescriptor();
    auto* properties = component != nullptr ? component->NewPropertyMap() : nullptr;

    if (properties == nullptr)
        return aax::errorNullObject;

    const auto set = [properties] (aax::Property property, auto value)
    { properties->AddProperty (property, static_cast<std::int32_t> (value)); };

    set (aax::Property::manufacturerId, JucePlugin_AAXManufacturerCode);
    set (aax::Property::productId, JucePlugin_AAXProductId);
    set (aax::Property::nativePlugInId, AaxEffectDescription::nativeId (number));
    set (aax::Property::audioSuitePlugInId, AaxEffectDescription::audioSuiteId (number));
    set (aax::Property::inputStemFormat, input);
    set (aax::Property::outputStemFormat, output);
    set (aax::Property::canBypass, JucePlugin_AAXDisableBypass ? 0 : 1);
    set (aax::Property::supportsMultiMono, JucePlugin_AAXDisableMultiMono ? 0 : 1);

    component->AddProcessProc (properties);
    return effect.AddComponent (component);
}
} // namespace

std::uint32_t AaxEffectDescription::nativeId (int componentNumber) noexcept
{
    return aax::fourCC ("jcaa") + static_cast<std::uint32_t> (componentNumber);
}

std::uint32_t AaxEffectDescription::audioSuiteId (int componentNumber) noexcept
{
    return aax::fourCC ("jyaa") + static_cast<std::uint32_t> (componentNumber);
}

aax::Result AaxEffectDescription::describe (AAX_ICollection* collection)
{
    auto* effect = collection != nullptr ? collection->NewDescriptor() : nullptr;

    if (effect == nullptr)
        return aax::errorNullObject;

    effect->AddName (JucePlugin_Desc);
    effect->AddName (JucePlugin_Name);
    effect->AddCategory (JucePlugin_AAXCategory);
    effect->SetMasterBypassParameter ("MasterBypassID", "Master Bypass");
    effect->AddChunkId (aax::fourCC ("juce"));

    {
        // A throw-away processor answers the layout questions; it never prepares or processes.
        PelmoraTacetorAudioProcessor processor;
        int number = 0;

        for (auto input : candidateFormats)
        {
            for (auto output : candidateFormats)
            {
                if (! acceptsExactly (processor, input, output))
                    continue;

                if (const auto result = describeComponent (*effect, number, input, output); result != aax::success)
                    return result;

                ++number;
            }
        }
    }

    collection->AddEffect (JUCE_STRINGIFY (JucePlugin_AAXIdentifier), effect);
    collection->SetManufacturerName (JucePlugin_Manufacturer);
    collection->AddPackageName (JucePlugin_Desc);
    collection->AddPackageName (JucePlugin_Name);
    collection->SetPackageVersion (JucePlugin_VersionCode);
    return aax::success;
}
