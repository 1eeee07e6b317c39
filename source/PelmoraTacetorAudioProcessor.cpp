#include "PelmoraTacetorAudioProcessor.h"

#include "HostText.h"
#include "ParameterText.h"
#include "PelmoraTacetorAudioProcessorEditor.h"
#include "SettingsChunk.h"
#include "formats/vst2/Vst2ProgramNameRequest.h"

#include <algorithm>

namespace
{
constexpr const char* hostNames[PelmoraTacetorAudioProcessor::numParameters] = {
    "bypass", "dualmono", "threshold", "attack", "decay"
};

// Compared as unsigned so that a negative index is outside too.
bool isParameterIndex (int index) noexcept
{
    return static_cast<unsigned> (index) < static_cast<unsigned> (PelmoraTacetorAudioProcessor::numParameters);
}

bool isProgramIndex (int index) noexcept
{
    return static_cast<unsigned> (index) < static_cast<unsigned> (PelmoraTacetorAudioProcessor::numPrograms);
}

// A not-a-number value always counts as changed, so it reaches the gate like any other.
bool differs (float value, float lastPushed) noexcept { return ! (value == lastPushed); }
} // namespace

PelmoraTacetorAudioProcessor::PelmoraTacetorAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
{
    initialisePrograms();
}

PelmoraTacetorAudioProcessor::~PelmoraTacetorAudioProcessor() = default;

const juce::String PelmoraTacetorAudioProcessor::getName() const { return "Pelmora Tacetor"; }

bool PelmoraTacetorAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    static constexpr short configurations[][2] = { JucePlugin_PreferredChannelConfigurations };

    if (! containsLayout (layouts, configurations))
        return false;

    if (wrapperType == wrapperType_VST)
        return true;

    // The counts match a configuration; the channels must also be what the count stands for.
    const auto isPlain = [] (const juce::AudioChannelSet& set)
    { return set == juce::AudioChannelSet::canonicalChannelSet (set.size()); };

    return isPlain (layouts.getMainInputChannelSet()) && isPlain (layouts.getMainOutputChannelSet());
}

void PelmoraTacetorAudioProcessor::initialisePrograms()
{
    currentProgram_.store (0);

    for (auto& slot : programs_)
    {
        slot.name = "Init";

        for (int index = 0; index < numParameters; ++index)
            slot.set (index, getParameterDefaultValue (index));
    }
}

ProgramSlot& PelmoraTacetorAudioProcessor::currentSlot() noexcept
{
    return programs_[static_cast<size_t> (currentProgram_.load (std::memory_order_acquire))];
}

//==============================================================================
void PelmoraTacetorAudioProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    gate_.setSampleRate (static_cast<float> (sampleRate));
    gate_.setMaxBlockSize (std::max (maximumExpectedSamplesPerBlock, minimumGateBlockSize));
    pushCurrentProgramToGate();
}

void PelmoraTacetorAudioProcessor::pushCurrentProgramToGate()
{
    const auto& slot = currentSlot();
    gate_.reset();

    lastBypassOn_ = slot.get (0) > 0.0f;
    gate_.setParameter (0, lastBypassOn_ ? 1.0f : 0.0f);
    lastDualMonoOn_ = slot.get (1) > 0.0f;
    gate_.setParameter (1, lastDualMonoOn_ ? 1.0f : 0.0f);

    lastThreshold_ = slot.get (2);
    gate_.setParameter (2, lastThreshold_);
    lastAttack_ = slot.get (3);
    gate_.setParameter (3, lastAttack_);
    lastDecay_ = slot.get (4);
    gate_.setParameter (4, lastDecay_);

    gate_.prepare();
}

void PelmoraTacetorAudioProcessor::releaseResources() {}

void PelmoraTacetorAudioProcessor::pushChangedValuesToGate (const ProgramSlot& slot) noexcept
{
    const auto pushSwitch = [this] (int index, bool on, bool& lastOn)
    {
        if (on == lastOn)
            return;

        gate_.setParameter (index, on ? 1.0f : 0.0f);
        gate_.parameterChanged (index);
        lastOn = on;
    };

    const auto pushValue = [this] (int index, float value, float& lastValue)
    {
        if (! differs (value, lastValue))
            return;

        gate_.setParameter (index, value);
        gate_.parameterChanged (index);
        lastValue = value;
    };

    pushSwitch (0, slot.get (0) > 0.0f, lastBypassOn_);
    pushSwitch (1, slot.get (1) > 0.0f, lastDualMonoOn_);
    pushValue (2, slot.get (2), lastThreshold_);
    pushValue (3, slot.get (3), lastAttack_);
    pushValue (4, slot.get (4), lastDecay_);
}

void PelmoraTacetorAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    announcePendingProgram();
    const int numSamples = buffer.getNumSamples();

    // A host may hand over a buffer without channels; there is nothing to gate then.
    if (buffer.getNumChannels() < 1)
        return;

    float* left = buffer.getWritePointer (0);
    const bool stereoIn = getTotalNumInputChannels() > 1;
    const bool stereoOut = getTotalNumOutputChannels() > 1;
    float* right = (stereoIn || stereoOut) && buffer.getNumChannels() > 1 ? buffer.getWritePointer (1) : nullptr;

    pushChangedValuesToGate (currentSlot());

    if (stereoIn && right != nullptr)
    {
        gate_.processStereo (left, right, numSamples);
    }
    else
    {
        gate_.processMono (left, numSamples);

        if (stereoOut && right != nullptr)
            std::copy (left, left + numSamples, right);
    }
}

void PelmoraTacetorAudioProcessor::processBlockBypassed (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    announcePendingProgram();
    AudioProcessor::processBlockBypassed (buffer, midi);
}

bool PelmoraTacetorAudioProcessor::silenceInProducesSilenceOut() const { return false; }
double PelmoraTacetorAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool PelmoraTacetorAudioProcessor::acceptsMidi() const { return false; }
bool PelmoraTacetorAudioProcessor::producesMidi() const { return false; }

juce::AudioProcessorEditor* PelmoraTacetorAudioProcessor::createEditor()
{
    return new PelmoraTacetorAudioProcessorEditor (*this);
}

bool PelmoraTacetorAudioProcessor::hasEditor() const { return true; }

//==============================================================================
int PelmoraTacetorAudioProcessor::getNumParameters() { return numParameters; }

const juce::String PelmoraTacetorAudioProcessor::getParameterName (int index)
{
    return isParameterIndex (index) ? hostNames[index] : "";
}

juce::String PelmoraTacetorAudioProcessor::getParameterID (int index)
{
    return getParameterName (index);
}

float PelmoraTacetorAudioProcessor::getParameter (int index)
{
    return isParameterIndex (index) ? currentSlot().get (index) : 0.0f;
}

const juce::String PelmoraTacetorAudioProcessor::getParameterText (int index)
{
    return isParameterIndex (index) ? ParameterText::hostText (index, currentSlot().get (index)) : juce::String();
}

float PelmoraTacetorAudioProcessor::getParameterDefaultValue (int index)
{
    return gate_.getParameterDefault (index);
}

void PelmoraTacetorAudioProcessor::setParameter (int index, float value)
{
    if (! isParameterIndex (index))
        return;

    currentSlot().set (index, value);
    parametersChanged_.store (true, std::memory_order_release);
}

//==============================================================================
int PelmoraTacetorAudioProcessor::getNumPrograms() { return numPrograms; }

int PelmoraTacetorAudioProcessor::getCurrentProgram() { return currentProgram_.load(); }

void PelmoraTacetorAudioProcessor::setCurrentProgram (int index)
{
    selectProgram (index, announcesProgramsFromNextBlock());
}

bool PelmoraTacetorAudioProcessor::announcesProgramsFromNextBlock() const
{
    return wrapperType == wrapperType_VST3 && ! juce::MessageManager::existsAndIsCurrentThread();
}

void PelmoraTacetorAudioProcessor::selectProgram (int index, bool announceFromNextBlock)
{
    if (! isProgramIndex (index))
        return;

    currentProgram_.store (index, std::memory_order_release);

    if (announceFromNextBlock)
        programToAnnounce_.store (true, std::memory_order_release);
    else
        announceCurrentProgram();

    parametersChanged_.store (true, std::memory_order_release);
}

void PelmoraTacetorAudioProcessor::announceCurrentProgram()
{
    // Announced so that the host's displays and automation follow the program. The values are
    // not written back through setParameter: that writes into whichever slot is current by
    // then, and a program change on another thread meanwhile would get this program's values.
    const auto& slot = currentSlot();

    for (int i = 0; i < numParameters; ++i)
        sendParamChangeMessageToListeners (i, slot.get (i));
}

void PelmoraTacetorAudioProcessor::announcePendingProgram()
{
    // A plain load first: the exchange, a write, is only needed in the rare block that has one.
    if (programToAnnounce_.load (std::memory_order_relaxed) && programToAnnounce_.exchange (false, std::memory_order_acq_rel))
        announceCurrentProgram();
}

const juce::String PelmoraTacetorAudioProcessor::getProgramName (int index)
{
    return isProgramIndex (index) ? programs_[static_cast<size_t> (index)].name : juce::String();
}

void PelmoraTacetorAudioProcessor::changeProgramName (int index, const juce::String& newName)
{
    if (! isProgramIndex (index))
        return;

    programs_[static_cast<size_t> (index)].name = newName;
    updateHostDisplay (ChangeDetails().withProgramChanged (true));
}

juce::pointer_sized_int PelmoraTacetorAudioProcessor::handleVstManufacturerSpecific (juce::int32 index,
                                                                                     juce::pointer_sized_int value,
                                                                                     void* ptr,
                                                                                     float)
{
    if (index != Vst2ProgramNameRequest::index || value != Vst2ProgramNameRequest::value || ptr == nullptr)
        return 0;

    changeProgramName (getCurrentProgram(), HostText::fromUnlabelledBytes (static_cast<const char*> (ptr)));
    return 1;
}

//==============================================================================
std::array<juce::String, PelmoraTacetorAudioProcessor::numParameters> PelmoraTacetorAudioProcessor::parameterNames()
{
    std::array<juce::String, numParameters> names;

    for (int index = 0; index < numParameters; ++index)
        names[static_cast<size_t> (index)] = getParameterName (index);

    return names;
}

void PelmoraTacetorAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    SettingsChunk::Contents contents;
    contents.activePreset = currentProgram_.load();

    // Straight from the table, unclamped: what the host stores is what the slots hold.
    for (const auto& slot : programs_)
    {
        SettingsChunk::Program program { slot.name, {} };

        for (int index = 0; index < numParameters; ++index)
            program.values[static_cast<size_t> (index)] = slot.get (index);

        contents.programs.push_back (program);
    }

    SettingsChunk::write (contents, parameterNames(), destData);
}

void PelmoraTacetorAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    std::array<float, numParameters> defaults;

    for (int index = 0; index < numParameters; ++index)
        defaults[static_cast<size_t> (index)] = getParameterDefaultValue (index);

    const auto contents = SettingsChunk::read (data, sizeInBytes, numPrograms, parameterNames(), defaults);

    if (! contents.has_value())
        return;

    // The program is selected before the table is filled, so the audio thread, which reads
    // the current slot at each block, moves over to it and then sees its values arrive.
    const int active = contents->activePreset;

    if (isProgramIndex (active))
        currentProgram_.store (active, std::memory_order_release);

    for (size_t i = 0; i < programs_.size(); ++i)
    {
        const auto& program = contents->programs[i];
        programs_[i].name = program.name;

        for (int index = 0; index < numParameters; ++index)
            programs_[i].set (index, program.values[static_cast<size_t> (index)]);
    }

    // Tells the host and the editor the restored values; ignored, like any other call, for an
    // index outside the table. Announced at once, whatever the format: JUCE's VST3 wrapper
    // passes the restored values to its controller itself and drops announcements made while
    // it restores.
    selectProgram (active, false);
    updateHostDisplay (ChangeDetails().withProgramChanged (true));
}

void PelmoraTacetorAudioProcessor::getCurrentProgramStateInformation (juce::MemoryBlock& destData)
{
    getStateInformation (destData);
}

void PelmoraTacetorAudioProcessor::setCurrentProgramStateInformation (const void* data, int sizeInBytes)
{
    setStateInformation (data, sizeInBytes);
}

//==============================================================================
const juce::String PelmoraTacetorAudioProcessor::getInputChannelName (int channelIndex) const
{
    return juce::String (channelIndex + 1);
}

const juce::String PelmoraTacetorAudioProcessor::getOutputChannelName (int channelIndex) const
{
    return juce::String (channelIndex + 1);
}

bool PelmoraTacetorAudioProcessor::isInputChannelStereoPair (int) const { return true; }
bool PelmoraTacetorAudioProcessor::isOutputChannelStereoPair (int) const { return true; }

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new PelmoraTacetorAudioProcessor();
}
