#pragma once

#include "ProgramSlot.h"
#include "dsp/NoiseGate.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

/**
    The object every host sees: five parameters kept inside a table of twelve programs, the
    noise gate they drive, and the settings chunk the host stores with its projects.

    There is no separate live parameter set: the values hosts automate and the editor shows
    are those of the current program slot. Writes only store into the slot and raise
    parametersChanged_; the audio callback pushes what changed into the gate at the start of
    the next block, and the editor's timer polls the flag.

    Threads: processBlock on the audio thread; prepareToPlay/releaseResources while no
    audio runs; setParameter from any thread; programs and state from the host's non-audio
    threads; the editor on the message thread. Nothing here locks or waits.
*/
class PelmoraTacetorAudioProcessor : public juce::AudioProcessor,
                                     public juce::VSTCallbackHandler
{
public:
    static constexpr int numParameters = ProgramSlot::numValues;
    static constexpr int numPrograms = 12;

    /** The gate's buffers always hold at least this many samples per channel, so ordinary
        host blocks never make it allocate on the audio thread. */
    static constexpr int minimumGateBlockSize = 16384;

    /** One stereo in, one stereo out; twelve "Init" programs at the defaults; program 0. */
    PelmoraTacetorAudioProcessor();
    ~PelmoraTacetorAudioProcessor() override;

    const juce::String getName() const override;

    /** Sizes, resets, loads and prepares the gate for the rate (Hz) and the largest block. */
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;

    /** Pushes changed values into the gate, then gates the block in place. Audio thread;
        allocates nothing for blocks up to the prepared size and takes no lock of its own. Only
        the first block after a VST3 host selected a program off JUCE's message thread announces
        that program's values (see setCurrentProgram), through JUCE's notification path, which
        takes two short JUCE locks per value (the processor's listeners, the message thread's id). */
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;

    /** Leaves the block as it is, like JUCE's own version; a program selection that waits to
        be announced is announced here too, so a host that bypasses the plug-in still hears
        it. Audio thread. */
    void processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlockBypassed;

    /** True only for one main input and one main output that are both mono or both stereo
        (left and right): the channel configurations every format offers. Two channels of
        another kind (centre and LFE, a side or surround pair) are refused. In a VST2 host the
        counts alone decide, as JUCE's VST2 wrapper does: hosts there describe two channels with
        arrangement types of every kind. Any thread that is not processing. */
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    bool silenceInProducesSilenceOut() const override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    /** A new pedal editor (PelmoraTacetorAudioProcessorEditor) on this processor; the caller
        owns it. Message thread. */
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    // The parameter interface hosts see: index 0 "bypass" (the on switch), 1 "dualmono",
    // 2 "threshold", 3 "attack", 4 "decay"; values normalised 0..1.

    /** 5. */
    int getNumParameters() override;

    /** The host name for index 0..4; "" otherwise. */
    const juce::String getParameterName (int index) override;
    using juce::AudioProcessor::getParameterName;

    /** A stable identifier per parameter: its host name. Hosts store it in projects. */
    juce::String getParameterID (int index) override;

    /** The current program's value at index 0..4; 0 otherwise. Any thread. */
    float getParameter (int index) override;

    /** The value as text with its unit ("On", "-oo", "-32.04 dB", "2.00 ms"); "" for an
        index outside 0..4. Not for the audio thread (it builds a string). */
    const juce::String getParameterText (int index) override;
    using juce::AudioProcessor::getParameterText;

    /** The gate's default for index. */
    float getParameterDefaultValue (int index) override;

    /** Stores value at index 0..4 of the current program and raises the change flag; any
        other index is ignored. Any thread; never waits. The gate follows at the next block. */
    void setParameter (int index, float value) override;

    /** Tells every registered listener (the format wrapper, and through it the host) that
        parameter index 0..4 now has value; the editor calls it after setParameter for each
        user gesture. Message thread when called from the editor. */
    using juce::AudioProcessor::sendParamChangeMessageToListeners;

    /** 12. */
    int getNumPrograms() override;
    int getCurrentProgram() override;

    /** Makes program index (0..11) current and tells every listener its five values; an
        index outside the table is ignored without notification. Non-audio thread.

        In a VST3 host, when called off JUCE's message thread, the values are announced from
        the next block instead, as they stand then: JUCE's VST3 wrapper holds what is announced
        off its message thread until the end of the next process() call and reports it to the
        host from there, so values taken now would undo a host's write made in between. */
    void setCurrentProgram (int index) override;

    /** The name of program index 0..11; "" for any other index. Non-audio thread. */
    const juce::String getProgramName (int index) override;

    /** Renames program index 0..11 (others are ignored) and tells the host that program names
        changed (a host-display update with program details); no flag and no parameter
        announcement. Non-audio thread. */
    void changeProgramName (int index, const juce::String& newName) override;

    /** A VST2 host's new name for the current program, passed on by our VST2 entry point
        (Vst2ProgramNameRequest): read as UTF-8 when it is well-formed UTF-8, otherwise as
        8-bit text (HostText). Any other vendor-specific call answers 0. Non-audio thread. */
    juce::pointer_sized_int handleVstManufacturerSpecific (juce::int32 index,
                                                           juce::pointer_sized_int value,
                                                           void* ptr,
                                                           float opt) override;

    /** The settings chunk: the whole program table and the current program. The current-
        program variants write and read the very same block. A restore announces the current
        program's values at once and tells the host that program names changed. Non-audio
        thread. */
    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    void getCurrentProgramStateInformation (juce::MemoryBlock& destData) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

    /** "1", "2", ...: the channel's number. */
    const juce::String getInputChannelName (int channelIndex) const override;
    const juce::String getOutputChannelName (int channelIndex) const override;

    /** Every channel belongs to a stereo pair. */
    bool isInputChannelStereoPair (int index) const override;
    bool isOutputChannelStereoPair (int index) const override;

    /** The gate, for tests and benchmarks that look inside. Not thread-safe. */
    const NoiseGate& getGate() const noexcept { return gate_; }

    /** Set whenever a parameter value or the current program changes; the editor's timer
        reads and clears it. */
    std::atomic<bool> parametersChanged_ { false };

private:
    ProgramSlot& currentSlot() noexcept;
    std::array<juce::String, numParameters> parameterNames();
    void initialisePrograms();
    void pushCurrentProgramToGate();
    void pushChangedValuesToGate (const ProgramSlot& slot) noexcept;
    void selectProgram (int index, bool announceFromNextBlock);
    void announceCurrentProgram();
    void announcePendingProgram();
    bool announcesProgramsFromNextBlock() const;

    std::atomic<int> currentProgram_ { 0 };
    std::atomic<bool> programToAnnounce_ { false };
    std::array<ProgramSlot, numPrograms> programs_;
    bool lastBypassOn_ = true;
    bool lastDualMonoOn_ = false;
    NoiseGate gate_;
    float lastThreshold_ = 0.0f;
    float lastAttack_ = 0.0f;
    float lastDecay_ = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PelmoraTacetorAudioProcessor)
};
