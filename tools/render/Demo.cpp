#include "Demo.h"

#include "GatePicture.h"
#include "GuitarPhrase.h"
#include "OutputAudio.h"
#include "OutputFile.h"
#include "ParameterScale.h"
#include "RenderGate.h"

#include <cmath>

namespace Demo
{
namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr int bitsPerSample = 24;

juce::Result gate (const RenderOptions& options, const juce::AudioBuffer<float>& dry, juce::AudioBuffer<float>& gated)
{
    std::unique_ptr<RenderGate> renderGate;

    if (auto result = RenderGate::create (options, renderGate); result.failed())
        return result;

    if (auto result = renderGate->prepare (1, sampleRate, blockSize); result.failed())
        return result;

    gated.makeCopyOf (dry);

    for (int start = 0; start < gated.getNumSamples(); start += blockSize)
    {
        juce::AudioBuffer<float> block (gated.getArrayOfWritePointers(), 1, start,
                                        std::min (blockSize, gated.getNumSamples() - start));
        renderGate->process (block);
    }

    renderGate->release();
    return juce::Result::ok();
}

juce::Result writeWav (const juce::File& target, const juce::AudioBuffer<float>& audio)
{
    return OutputFile::replace (target, [&audio] (const juce::File& temporary)
                                {
        const auto numFrames = audio.getNumSamples();
        std::unique_ptr<OutputAudio> output;

        if (auto result = OutputAudio::create (temporary, OutputAudio::Container::wav, SampleFormat::integer (bitsPerSample), 1, sampleRate, numFrames, output); result.failed())
            return result;

        const auto* samples = audio.getReadPointer (0);
        const std::vector<double> mono (samples, samples + numFrames);

        if (auto result = output->write (mono.data(), numFrames); result.failed())
            return result;

        return output->finish(); });
}

juce::Result writePicture (const juce::File& target, const juce::Image& image)
{
    return OutputFile::replace (target, [&image] (const juce::File& temporary)
                                {
        juce::FileOutputStream stream (temporary);
        juce::PNGImageFormat png;

        return stream.openedOk() && png.writeImageToStream (image, stream) && stream.getStatus().wasOk()
                   ? juce::Result::ok()
                   : juce::Result::fail ("cannot write '" + temporary.getFullPathName() + "'"); });
}

double decibels (double amplitude) { return 20.0 * std::log10 (amplitude); }

juce::String levelText (double amplitude)
{
    return amplitude > 0.0 ? juce::String (decibels (amplitude), 1) + " dBFS" : juce::String ("silence");
}

// The RMS level of audio over the phrase's pauses, where only the noise floor sounds.
double pauseLevel (const GuitarPhrase& phrase, const juce::AudioBuffer<float>& audio)
{
    double sum = 0.0;
    juce::int64 count = 0;

    for (const auto& pause : phrase.getPauses())
    {
        const auto from = static_cast<int> (pause.start * sampleRate);
        const auto to = static_cast<int> (pause.end * sampleRate);

        for (int i = from; i < to; ++i)
            sum += static_cast<double> (audio.getSample (0, i)) * audio.getSample (0, i);

        count += to - from;
    }

    return count > 0 ? std::sqrt (sum / static_cast<double> (count)) : 0.0;
}
} // namespace

juce::Result run (const juce::File& directory, const juce::File& plugin, juce::String& report)
{
    if (directory.existsAsFile())
        return juce::Result::fail ("cannot write the demo into '" + directory.getFullPathName() + "': it is a file");

    if (auto result = directory.createDirectory(); result.failed())
        return juce::Result::fail ("cannot create '" + directory.getFullPathName() + "': " + result.getErrorMessage());

    const GuitarPhrase phrase (sampleRate);
    const auto& dry = phrase.getAudio();

    RenderOptions defaults;
    defaults.plugin = plugin;
    RenderOptions tuned = defaults;
    tuned.threshold = static_cast<float> (ParameterScale::thresholdFromDecibels (tunedThresholdDecibels));

    juce::AudioBuffer<float> gatedDefault, gatedTuned;

    if (auto result = gate (defaults, dry, gatedDefault); result.failed())
        return result;

    if (auto result = gate (tuned, dry, gatedTuned); result.failed())
        return result;

    const auto file = [&directory] (const char* name)
    { return directory.getChildFile (name); };
    const auto thresholdText = juce::String (tunedThresholdDecibels, 0) + " dB";

    std::vector<GatePicture::Panel> panels {
        { "Dry: plucked notes, with 50 Hz hum and hiss between them", &dry, {}, std::nullopt },
        { "Default program (threshold -oo): only digital silence closes the gate, so hum and hiss pass", &gatedDefault,
          GatePicture::measureGain (dry, gatedDefault), std::nullopt },
        { "Threshold " + thresholdText + ": the gate closes between the notes and opens on each pluck", &gatedTuned,
          GatePicture::measureGain (dry, gatedTuned), tunedThresholdDecibels },
    };

    const auto picture = GatePicture::draw ("Pelmora Tacetor: one guitar phrase, dry and gated", panels, sampleRate);

    using NamedAudio = std::pair<const char*, const juce::AudioBuffer<float>*>;

    for (const auto& [name, audio] : { NamedAudio { "guitar-dry.wav", &dry },
                                       NamedAudio { "guitar-gated-default.wav", &gatedDefault },
                                       NamedAudio { "guitar-gated-tuned.wav", &gatedTuned } })
        if (auto result = writeWav (file (name), *audio); result.failed())
            return result;

    if (auto result = writePicture (file ("gate-demo.png"), picture); result.failed())
        return result;

    const auto& floor = phrase.getNoiseFloor();
    report << "Pelmora Tacetor demo: a " << juce::String (phrase.getLengthSeconds(), 1) << " s guitar phrase at "
           << juce::String (sampleRate, 0) << " Hz, gated "
           << (plugin == juce::File() ? juce::String ("in-process") : "through " + plugin.getFullPathName()) << "\n"
           << "  hum and hiss alone peak at " << levelText (floor.getMagnitude (0, 0, floor.getNumSamples())) << "\n"
           << "  level between the notes (RMS):\n"
           << "    dry                                " << levelText (pauseLevel (phrase, dry)) << "\n"
           << "    default program (threshold -oo)    " << levelText (pauseLevel (phrase, gatedDefault)) << "\n"
           << "    threshold " << thresholdText.paddedRight (' ', 25) << levelText (pauseLevel (phrase, gatedTuned)) << "\n"
           << "Wrote into " << directory.getFullPathName() << ":\n"
           << "  guitar-dry.wav, guitar-gated-default.wav, guitar-gated-tuned.wav (" << bitsPerSample
           << "-bit WAV), gate-demo.png\n";

    return juce::Result::ok();
}
} // namespace Demo
