#include "RenderGate.h"

#include "HostedSettingsChunk.h"
#include "PluginBundleHost.h"

namespace
{
// A valid chunk is one whose root element carries the same tag as the chunks this build writes.
juce::Result checkSettingsChunk (const juce::MemoryBlock& chunk, const juce::File& file)
{
    PelmoraTacetorAudioProcessor reference;
    juce::MemoryBlock ownChunk;
    reference.getStateInformation (ownChunk);

    const auto own = juce::AudioProcessor::getXmlFromBinary (ownChunk.getData(), static_cast<int> (ownChunk.getSize()));
    const auto loaded = juce::AudioProcessor::getXmlFromBinary (chunk.getData(), static_cast<int> (chunk.getSize()));

    if (own == nullptr || loaded == nullptr || ! loaded->hasTagNameIgnoringNamespace (own->getTagName()))
        return juce::Result::fail ("'" + file.getFullPathName() + "' is not a Pelmora Tacetor settings chunk");

    return juce::Result::ok();
}
} // namespace

RenderGate::~RenderGate() { release(); }

juce::Result RenderGate::create (const RenderOptions& options, std::unique_ptr<RenderGate>& gate)
{
    gate.reset();
    std::unique_ptr<RenderGate> made (new RenderGate());

    if (auto result = made->applySettings (options); result.failed())
        return result;

    if (options.plugin != juce::File())
        if (auto result = made->loadPlugin (options.plugin); result.failed())
            return result;

    gate = std::move (made);
    return juce::Result::ok();
}

juce::Result RenderGate::applySettings (const RenderOptions& options)
{
    if (options.settingsToLoad != juce::File())
    {
        const auto& file = options.settingsToLoad;
        juce::MemoryBlock chunk;

        if (! file.existsAsFile())
            return juce::Result::fail ("cannot read the settings chunk '" + file.getFullPathName() + "': no such file");

        if (! file.loadFileAsData (chunk))
            return juce::Result::fail ("cannot read the settings chunk '" + file.getFullPathName() + "'");

        if (auto result = checkSettingsChunk (chunk, file); result.failed())
            return result;

        linkedIn_.setStateInformation (chunk.getData(), static_cast<int> (chunk.getSize()));
    }

    if (options.program.has_value())
        linkedIn_.setCurrentProgram (*options.program);

    // The on switch and dual mono travel as exactly 1 or 0, as the pedal's buttons send them.
    const auto setSwitch = [this] (int index, const std::optional<bool>& on)
    {
        if (on.has_value())
            linkedIn_.setParameter (index, *on ? 1.0f : 0.0f);
    };
    const auto setValue = [this] (int index, const std::optional<float>& value)
    {
        if (value.has_value())
            linkedIn_.setParameter (index, *value);
    };

    setSwitch (0, options.gateOn);
    setSwitch (1, options.dualMono);
    setValue (2, options.threshold);
    setValue (3, options.attack);
    setValue (4, options.decay);

    linkedIn_.getStateInformation (settingsChunk_);
    return juce::Result::ok();
}

juce::Result RenderGate::loadPlugin (const juce::File& bundle)
{
    juce::String error;

    if (! bundle.exists())
        return juce::Result::fail ("no plug-in bundle at '" + bundle.getFullPathName() + "'");

    if (bundle.hasFileExtension ("vst3"))
        hosted_ = PluginBundleHost::loadVst3 (bundle, error);
    else if (bundle.hasFileExtension ("lv2"))
        hosted_ = PluginBundleHost::loadLv2 (bundle, JucePlugin_LV2URI, error);
    else
        return juce::Result::fail ("'" + bundle.getFullPathName() + "' is neither a .vst3 nor an .lv2 bundle");

    if (hosted_ == nullptr)
        return juce::Result::fail (error);

    return HostedSettingsChunk::apply (*hosted_, settingsChunk_);
}

juce::AudioProcessor& RenderGate::active() noexcept
{
    if (hosted_ != nullptr)
        return *hosted_;

    return linkedIn_;
}

juce::Result RenderGate::prepare (int numChannels, double sampleRate, int blockSize)
{
    release();

    auto& processor = active();
    const auto channels = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (channels);
    layout.outputBuses.add (channels);

    duplicateMono_ = false;

    if (! processor.setBusesLayout (layout))
    {
        layout.inputBuses.getReference (0) = juce::AudioChannelSet::stereo();
        layout.outputBuses.getReference (0) = juce::AudioChannelSet::stereo();

        if (numChannels != 1 || ! processor.setBusesLayout (layout))
            return juce::Result::fail ("the plug-in cannot process " + juce::String (numChannels) + " channels");

        duplicateMono_ = true;
        stereoScratch_.setSize (2, blockSize);
    }

    processor.setNonRealtime (true);
    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);
    prepared_ = true;

    if (hosted_ != nullptr && hosted_->getPluginDescription().pluginFormatName == "LV2" && linkedIn_.getParameter (0) <= 0.0f)
        finishSwitchingOff (numChannels, sampleRate, blockSize);

    return juce::Result::ok();
}

void RenderGate::finishSwitchingOff (int numChannels, double sampleRate, int blockSize)
{
    // JUCE's LV2 client prepares the plug-in as it is instantiated, before any host can
    // restore its state, so a restored "off" reaches the gate as a switch change at the first
    // block and crossfades to the dry signal. Silence run through first lets that crossfade
    // end before the audio starts, as if the gate had been prepared switched off, like the
    // linked-in one. Once off, the gate leaves every sample as it is.
    NoiseGate reference;
    reference.setSampleRate (static_cast<float> (sampleRate));
    reference.prepare();

    juce::AudioBuffer<float> silence (numChannels, blockSize);

    for (int done = 0; done <= reference.getFadeLength(); done += blockSize)
    {
        silence.clear();
        process (silence);
    }
}

void RenderGate::process (juce::AudioBuffer<float>& block)
{
    auto& processor = active();
    const int numSamples = block.getNumSamples();

    if (! duplicateMono_)
    {
        processor.processBlock (block, midi_);
        return;
    }

    stereoScratch_.setSize (2, numSamples, false, false, true);
    stereoScratch_.copyFrom (0, 0, block, 0, 0, numSamples);
    stereoScratch_.copyFrom (1, 0, block, 0, 0, numSamples);
    processor.processBlock (stereoScratch_, midi_);
    block.copyFrom (0, 0, stereoScratch_, 0, 0, numSamples);
}

void RenderGate::release()
{
    if (prepared_)
        active().releaseResources();

    prepared_ = false;
}
