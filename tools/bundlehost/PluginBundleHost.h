#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/**
    Loads a built plug-in bundle into this process through JUCE's own hosting code, the way
    a host application would, and hands back the instance.

    Every function must be called on the message thread of a running JUCE
    (juce::ScopedJuceInitialiser_GUI or an application); the instance must be deleted before
    JUCE shuts down. On failure the result is null and error says why, in a sentence that
    names the bundle.
*/
class PluginBundleHost
{
public:
    /** Loads the first plug-in of the VST3 bundle folder (for example
        .../PelmoraTacetor.vst3), created for sampleRate (Hz) and blockSize (samples). */
    static std::unique_ptr<juce::AudioPluginInstance> loadVst3 (const juce::File& bundle,
                                                                juce::String& error,
                                                                double sampleRate = 48000.0,
                                                                int blockSize = 512);

    /** Loads the LV2 plug-in with the given URI from the bundle folder (for example
        .../PelmoraTacetor.lv2). JUCE's LV2 host also reads ~/.lv2, /usr/lib/lv2 and
        /usr/local/lib/lv2 (with ~ taken from HOME when the first LV2 load happens); a
        different copy of the same URI installed there would win over the bundle asked for,
        so that case fails with an error rather than loading the wrong build. */
    static std::unique_ptr<juce::AudioPluginInstance> loadLv2 (const juce::File& bundle,
                                                               const juce::String& uri,
                                                               juce::String& error,
                                                               double sampleRate = 48000.0,
                                                               int blockSize = 512);

private:
    static std::unique_ptr<juce::AudioPluginInstance> instantiate (juce::AudioPluginFormat& format,
                                                                   const juce::String& fileOrIdentifier,
                                                                   const juce::String& what,
                                                                   juce::String& error,
                                                                   double sampleRate,
                                                                   int blockSize);
};
