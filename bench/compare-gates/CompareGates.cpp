// Runs our LV2 build and the stereo gates Debian ships through JUCE's LV2 host in one
// process, checks that each one really gates a realistic signal with comparable settings,
// and times them with Google Benchmark at three block sizes. Run by bench/compare-gates.sh,
// which installs the other gates; a gate that is missing is reported and left out.
#include "ParameterScale.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_events/juce_events.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <tuple>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int largestBlock = 4096;
constexpr int blockSizes[] = { 64, 512, 4096 };
constexpr double thresholdDecibels = -50.0;
constexpr double attackMs = 2.0;
constexpr double releaseMs = 100.0;

/** A gate to compare: its LV2 URI and the settings (parameter ID -> text in the port's own
    units or a scale point label) that make it a hard gate at the common threshold, attack
    and release. */
struct GateSpec
{
    juce::String name;
    juce::String uri;
    std::vector<std::pair<juce::String, juce::String>> settings;
};

juce::String number (double value) { return juce::String (value, 6); }

double amplitude (double decibels) { return std::pow (10.0, decibels / 20.0); }

std::vector<GateSpec> gateSpecs()
{
    return {
        { "Pelmora Tacetor",
          JucePlugin_LV2URI,
          { { "threshold", number (ParameterScale::thresholdFromDecibels (thresholdDecibels)) },
            { "attack", number (ParameterScale::attackFromMilliseconds (attackMs)) },
            { "decay", number (ParameterScale::decayFromMilliseconds (releaseMs)) } } },
        { "Calf Gate",
          "http://calf.sourceforge.net/plugins/Gate",
          { { "threshold", number (amplitude (thresholdDecibels)) },
            { "range", "0.000016" }, // the deepest reduction it offers, -96 dB
            { "ratio", "20" },
            { "attack", number (attackMs) },
            { "release", number (releaseMs) },
            { "knee", "1" },
            { "detection", "Peak" },
            { "stereo_link", "Maximum" } } },
        { "LSP Gate Stereo",
          "http://lsp-plug.in/plugins/lv2/gate_stereo",
          { { "scm", "Peak" },
            { "gt", "0.03" }, // -30 dB: at -50 dB it does not close on this floor
            { "at", number (attackMs) },
            { "rt", number (releaseMs) },
            { "gr", "0.000251" } } }, // -72 dB, its deepest
        { "ZamGateX2",
          "urn:zamaudio:ZamGateX2",
          { { "thr", number (thresholdDecibels) },
            { "att", number (attackMs) },
            { "rel", number (releaseMs) },
            { "close", "-50" } } }, // its deepest
        { "MDA Dynamics (gate)",
          "http://drobilla.net/plugins/mda/Dynamics",
          // The compressor out of the way (threshold at 0 dB, no make-up, limiter off, all
          // wet); its gate's settings are plain 0..1 values.
          { { "thresh", "1" },
            { "output", "0" },
            { "limiter", "1" },
            { "mix", "1" },
            { "gate_thr", "0.6" }, // lower settings do not close on this floor
            { "gate_att", "0.1" },
            { "gate_rel", "0.3" } } },
    };
}

/** Noise bursts at -40 to -6 dBFS, 80 to 250 ms long, over a quiet floor (-70 dBFS RMS) of
    0.6 to 1.2 s between them, long enough for every gate to have closed in the second half;
    those halves and the bursts are remembered for the gating check. */
struct TestSignal
{
    juce::AudioBuffer<float> audio { 2, static_cast<int> (8.0 * sampleRate) };
    std::vector<juce::Range<int>> floorTails; // the second half of each floor stretch
    std::vector<juce::Range<int>> bursts;

    TestSignal()
    {
        juce::Random random (2024);
        bool burst = false;

        for (int position = 0; position < audio.getNumSamples();)
        {
            const auto seconds = burst ? 0.08 + 0.17 * random.nextDouble() : 0.6 + 0.6 * random.nextDouble();
            const int end = std::min (audio.getNumSamples(), position + static_cast<int> (seconds * sampleRate));
            const auto level = static_cast<float> (amplitude (burst ? -40.0 + 34.0 * random.nextDouble() : -70.0)) * 1.73f;

            for (int channel = 0; channel < 2; ++channel)
                for (int i = position; i < end; ++i)
                    audio.setSample (channel, i, level * (random.nextFloat() * 2.0f - 1.0f));

            if (burst)
                bursts.push_back ({ position + (end - position) / 5, end });
            else if (position > 0)
                floorTails.push_back ({ end - (end - position) / 2, end });

            position = end;
            burst = ! burst;
        }
    }
};

double rms (const juce::AudioBuffer<float>& audio, const std::vector<juce::Range<int>>& ranges)
{
    double sum = 0.0;
    double count = 0.0;

    for (const auto& range : ranges)
        for (int channel = 0; channel < 2; ++channel)
            for (int i = range.getStart(); i < range.getEnd(); ++i)
            {
                sum += static_cast<double> (audio.getSample (channel, i)) * audio.getSample (channel, i);
                count += 1.0;
            }

    return std::sqrt (sum / count);
}

/** One loaded gate: the instance, a work buffer wide enough for all its channels (a side
    chain input stays silent) and the position in the test signal. */
struct LoadedGate
{
    GateSpec spec;
    std::unique_ptr<juce::AudioPluginInstance> instance;
    juce::AudioBuffer<float> work;
    juce::MidiBuffer midi;
    int position = 0;

    void process (const juce::AudioBuffer<float>& source, int numSamples)
    {
        if (position + numSamples > source.getNumSamples())
            position = 0;

        work.setSize (work.getNumChannels(), numSamples, false, false, true);
        work.clear();

        for (int channel = 0; channel < 2; ++channel)
            work.copyFrom (channel, 0, source, channel, position, numSamples);

        instance->processBlock (work, midi);
        position += numSamples;
    }
};

juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& id)
{
    for (auto* parameter : instance.getParameters())
    {
        // Port parameters are known by their symbols, JUCE's own parameters by URIs ending in them.
        const auto* hosted = dynamic_cast<juce::AudioPluginInstance::HostedParameter*> (parameter);
        const auto parameterId = hosted != nullptr ? hosted->getParameterID() : juce::String();

        if (parameterId == id || parameterId.endsWith (":" + id))
            return parameter;
    }

    return nullptr;
}

juce::Result load (juce::LV2PluginFormat& format, LoadedGate& gate)
{
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile (types, gate.spec.uri);

    if (types.isEmpty())
        return juce::Result::fail ("not installed");

    juce::String error;
    gate.instance = format.createInstanceFromDescription (*types[0], sampleRate, largestBlock, error);

    if (gate.instance == nullptr)
        return juce::Result::fail ("could not be created: " + error);

    // JUCE's LV2 host makes a new instance when preparing, carrying over only what the old
    // one reported as its state: values are set afterwards, and reach the plug-in with the
    // next block.
    gate.instance->setNonRealtime (false);
    gate.instance->prepareToPlay (sampleRate, largestBlock);

    for (const auto& [id, text] : gate.spec.settings)
    {
        auto* parameter = findParameter (*gate.instance, id);

        if (parameter == nullptr)
            return juce::Result::fail ("has no parameter " + id);

        parameter->setValueNotifyingHost (parameter->getValueForText (text));
    }

    gate.work.setSize (std::max ({ 2, gate.instance->getTotalNumInputChannels(), gate.instance->getTotalNumOutputChannels() }),
                       largestBlock);
    return juce::Result::ok();
}

/** Runs the whole signal through the gate and reports, in dB, how much it lowers the floor
    and the bursts. */
std::pair<double, double> measureGating (LoadedGate& gate, const TestSignal& signal)
{
    juce::AudioBuffer<float> output (2, signal.audio.getNumSamples());
    gate.position = 0;

    for (int start = 0; start < signal.audio.getNumSamples(); start += 512)
    {
        const int count = std::min (512, signal.audio.getNumSamples() - start);
        gate.process (signal.audio, count);

        for (int channel = 0; channel < 2; ++channel)
            output.copyFrom (channel, start, gate.work, channel, 0, count);
    }

    const auto change = [&] (const std::vector<juce::Range<int>>& ranges)
    {
        return 20.0 * std::log10 (std::max (rms (output, ranges), 1.0e-30) / rms (signal.audio, ranges));
    };

    return { change (signal.floorTails), change (signal.bursts) };
}

/** Collects ns per frame for every gate and block size over the repetitions, and prints them
    side by side once every benchmark has run. */
class TableReporter : public benchmark::ConsoleReporter
{
public:
    explicit TableReporter (std::map<std::string, std::pair<juce::String, int>> namesIn)
        : names (std::move (namesIn))
    {
    }

    void ReportRuns (const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns (runs);

        for (const auto& run : runs)
        {
            const auto found = names.find (run.run_name.function_name);

            if (run.run_type != Run::RT_Iteration || run.error_occurred || found == names.end())
                continue;

            const auto& [gate, block] = found->second;
            nsPerFrame[gate][block].push_back (run.GetAdjustedCPUTime() / block);
        }
    }

    /** Prints the table, then how many times faster than the fastest of the others the first
        gate in order is, per block size. A gate or block size left out by a filter is skipped. */
    void printTable (const juce::StringArray& order) const
    {
        std::cout << "\nCPU ns per frame (stereo, 48 kHz; median of the repetitions, [min - max]):\n"
                  << juce::String ("gate").paddedRight (' ', 22);

        for (int block : blockSizes)
            std::cout << juce::String (juce::String (block) + " frames").paddedRight (' ', 24);

        std::cout << "\n";

        for (const auto& gate : order)
        {
            if (nsPerFrame.find (gate) == nsPerFrame.end())
                continue;

            std::cout << gate.paddedRight (' ', 22);

            for (int block : blockSizes)
            {
                auto values = measured (gate, block);
                std::sort (values.begin(), values.end());
                const auto text = values.empty() ? juce::String ("-")
                                                 : juce::String (values[values.size() / 2], 2) + " [" + juce::String (values.front(), 2) + " - " + juce::String (values.back(), 2) + "]";
                std::cout << text.paddedRight (' ', 24);
            }

            std::cout << "\n";
        }

        if (order.isEmpty())
            return;

        std::cout << "\n"
                  << order[0] << " against the fastest other gate (its median / ours):";

        for (int block : blockSizes)
        {
            const double ours = median (order[0], block);
            double fastest = 0.0;
            juce::String fastestName;

            for (int i = 1; i < order.size(); ++i)
                if (const double other = median (order[i], block); other > 0.0 && (fastest == 0.0 || other < fastest))
                    std::tie (fastest, fastestName) = std::make_pair (other, order[i]);

            if (ours > 0.0 && fastest > 0.0)
                std::cout << "  " << block << " frames: " << juce::String (fastest / ours, 2) << "x (" << fastestName << ")";
        }

        std::cout << "\n";
    }

private:
    std::vector<double> measured (const juce::String& gate, int block) const
    {
        const auto row = nsPerFrame.find (gate);

        if (row == nsPerFrame.end())
            return {};

        const auto cell = row->second.find (block);
        return cell == row->second.end() ? std::vector<double>() : cell->second;
    }

    /** The median ns per frame, or 0 when nothing was measured. */
    double median (const juce::String& gate, int block) const
    {
        auto values = measured (gate, block);
        std::sort (values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    }

    std::map<std::string, std::pair<juce::String, int>> names;
    std::map<juce::String, std::map<int, std::vector<double>>> nsPerFrame;
};
} // namespace

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI framework;
    benchmark::Initialize (&argc, argv);

    const TestSignal signal;
    juce::LV2PluginFormat format;
    std::vector<std::unique_ptr<LoadedGate>> gates;
    juce::StringArray order;
    std::map<std::string, std::pair<juce::String, int>> names;

    std::cout << "Settings: threshold " << thresholdDecibels << " dBFS (LSP and MDA higher: lower ones do not close on this floor), attack " << attackMs << " ms, release "
              << releaseMs << " ms, deepest reduction each gate offers; peak detection, stereo linked.\n"
              << "Gating check on the test signal (floor at -70 dBFS RMS, bursts -40..-6 dBFS), change in level:\n";

    for (auto& spec : gateSpecs())
    {
        auto gate = std::make_unique<LoadedGate>();
        gate->spec = spec;
        std::cout << "  " << spec.name.paddedRight (' ', 22);

        if (auto result = load (format, *gate); result.failed())
        {
            std::cout << "left out: " << result.getErrorMessage() << "\n";
            continue;
        }

        const auto [floorChange, burstChange] = measureGating (*gate, signal);
        juce::StringArray shown;

        for (const auto& setting : spec.settings)
            if (auto* parameter = findParameter (*gate->instance, setting.first))
                shown.add (setting.first + "=" + parameter->getCurrentValueAsText());

        std::cout << "floor " << juce::String (floorChange, 1) << " dB, bursts " << juce::String (burstChange, 2) << " dB"
                  << "\n      (" << shown.joinIntoString (", ") << ")";

        // A gate that does not pull the floor down by 20 dB, or that dents the bursts, is not
        // doing the job the others are timed at.
        if (floorChange > -20.0 || std::abs (burstChange) > 1.0)
        {
            std::cout << "  -> not gating with these settings, left out\n";
            continue;
        }

        std::cout << "\n";
        order.add (spec.name);

        for (int block : blockSizes)
        {
            const auto name = (spec.name + " @" + juce::String (block)).toStdString();
            names[name] = { spec.name, block };
            benchmark::RegisterBenchmark (name.c_str(), [gatePointer = gate.get(), &signal, block] (benchmark::State& state)
                                          {
                for (auto _ : state)
                    gatePointer->process (signal.audio, block); })
                ->Unit (benchmark::kNanosecond);
        }

        gates.push_back (std::move (gate));
    }

    // Timings shrink towards each other on a busy machine: the load goes with every table.
    const auto loadAverage = []
    { return juce::File ("/proc/loadavg").loadFileAsString().upToFirstOccurrenceOf (" ", false, false); };

    const auto loadAtStart = loadAverage();
    TableReporter reporter (names);
    benchmark::RunSpecifiedBenchmarks (&reporter);
    reporter.printTable (order);
    std::cout << "Load average " << loadAtStart << " at start, " << loadAverage() << " at end.\n";
    benchmark::Shutdown();

    for (auto& gate : gates)
        gate->instance->releaseResources();

    return 0;
}
