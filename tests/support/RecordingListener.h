#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <utility>
#include <vector>

/**
    Registers itself with a processor, as a format wrapper does, and records every parameter
    change the processor announces, in order, and its host-display updates about programs. Not thread-safe: for tests that announce from
    one thread.
*/
class RecordingListener : public juce::AudioProcessorListener
{
public:
    explicit RecordingListener (juce::AudioProcessor& processor)
        : processor_ (processor)
    {
        processor_.addListener (this);
    }
    ~RecordingListener() override { processor_.removeListener (this); }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        changes.emplace_back (index, value);
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails& details) override
    {
        programUpdates += details.programChanged ? 1 : 0;
    }

    /** (parameter index, value) per announcement. */
    std::vector<std::pair<int, float>> changes;

    /** Host-display updates that said the programs (their names) changed. */
    int programUpdates = 0;

private:
    juce::AudioProcessor& processor_;
};
