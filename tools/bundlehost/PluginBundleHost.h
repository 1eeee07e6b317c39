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
        different copy of the same URI installed there that would win over the bundle asked for
        makes it fail with an error rather than load the wrong build (see findShadowingLv2Copy). */
    static std::unique_ptr<juce::AudioPluginInstance> loadLv2 (const juce::File& bundle,
                                                               const juce::String& uri,
                                                               juce::String& error,
                                                               double sampleRate = 48000.0,
                                                               int blockSize = 512);

    /** The copy of uri among the LV2 folders in locations (searched in their order) that
        JUCE's LV2 host would load instead of bundle, or an empty File when there is none.
        The host keeps the first copy of a URI it reads unless a later one declares a newer
        version (lv2:minorVersion, lv2:microVersion), and reads the folders in order but one
        folder's bundles in no defined order. So a copy shadows the bundle when it lies in an
        earlier folder or the same one, when the bundle lies in none of them (it is read
        last), or when it declares a newer version. An older or equal copy in a later folder,
        such as the installed package in /usr/lib/lv2 behind ~/.lv2, is harmless. Any thread. */
    static juce::File findShadowingLv2Copy (const juce::FileSearchPath& locations, const juce::File& bundle, const juce::String& uri);

private:
    static std::unique_ptr<juce::AudioPluginInstance> instantiate (juce::AudioPluginFormat& format,
                                                                   const juce::String& fileOrIdentifier,
                                                                   const juce::String& what,
                                                                   juce::String& error,
                                                                   double sampleRate,
                                                                   int blockSize);
};
