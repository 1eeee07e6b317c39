#include "RenderOptions.h"

#include "OutputAudio.h"
#include "ParameterScale.h"

#include <cmath>
#include <cstdlib>
#include <functional>

namespace
{
// A number that fills the whole text, with an optional unit after it ("-40", "-40dB",
// "20 ms"); infinities and NaN are refused here and handled by the callers that allow them.
std::optional<double> parseNumber (juce::String text, const char* unit)
{
    text = text.trim();

    if (text.endsWithIgnoreCase (unit))
        text = text.dropLastCharacters (static_cast<int> (std::strlen (unit))).trimEnd();

    if (text.isEmpty())
        return std::nullopt;

    const auto utf8 = text.toStdString();
    char* end = nullptr;
    const double value = std::strtod (utf8.c_str(), &end);

    if (end != utf8.c_str() + utf8.size() || ! std::isfinite (value))
        return std::nullopt;

    return value;
}

std::optional<int> parseInteger (const juce::String& text)
{
    const auto value = parseNumber (text, "");

    if (! value.has_value() || *value != std::floor (*value) || std::abs (*value) > 1.0e9)
        return std::nullopt;

    return static_cast<int> (*value);
}

std::optional<bool> parseSwitch (const juce::String& text)
{
    const auto word = text.trim().toLowerCase();

    if (word == "on" || word == "yes" || word == "true" || word == "1")
        return true;

    if (word == "off" || word == "no" || word == "false" || word == "0")
        return false;

    return std::nullopt;
}

juce::Result badValue (const juce::String& option, const juce::String& value, const juce::String& expected)
{
    return juce::Result::fail ("bad value '" + value + "' for " + option + ": expected " + expected);
}

juce::Result parseThreshold (const juce::String& option, const juce::String& value, RenderOptions& options)
{
    const auto word = value.trim().toLowerCase();

    if (word == "-oo" || word == "-inf" || word == "-infinity")
    {
        options.threshold = 0.0f;
        return juce::Result::ok();
    }

    const auto decibels = parseNumber (value, "dB");

    if (! decibels.has_value() || *decibels > ParameterScale::maxThresholdDecibels)
        return badValue (option, value, "a level in dB from -oo to 0, e.g. -40");

    options.threshold = static_cast<float> (ParameterScale::thresholdFromDecibels (*decibels));
    return juce::Result::ok();
}

juce::Result parseTime (const juce::String& option, const juce::String& value, double maxMilliseconds,
                        double (*toNormalised) (double) noexcept, std::optional<float>& target)
{
    const auto milliseconds = parseNumber (value, "ms");

    if (! milliseconds.has_value() || *milliseconds < 0.0 || *milliseconds > maxMilliseconds)
        return badValue (option, value, "a time in ms from 0 to " + juce::String (maxMilliseconds, 0));

    target = static_cast<float> (toNormalised (*milliseconds));
    return juce::Result::ok();
}

juce::Result parseSwitchOption (const juce::String& option, const juce::String& value, std::optional<bool>& target)
{
    target = parseSwitch (value);
    return target.has_value() ? juce::Result::ok() : badValue (option, value, "on or off");
}

juce::Result parseIntegerInRange (const juce::String& option, const juce::String& value, int low, int high,
                                  const juce::String& what, std::optional<int>& target)
{
    const auto number = parseInteger (value);

    if (! number.has_value() || *number < low || *number > high)
        return badValue (option, value, what);

    target = number;
    return juce::Result::ok();
}

juce::Result parsePath (const juce::String& option, const juce::String& value, const juce::File& workingDirectory,
                        juce::File& target)
{
    if (value.trim().isEmpty())
        return badValue (option, value, "a path");

    target = workingDirectory.getChildFile (value);
    return juce::Result::ok();
}

using ValueHandler = std::function<juce::Result (const juce::String& option, const juce::String& value)>;
} // namespace

juce::Result RenderOptions::parse (const juce::StringArray& arguments, const juce::File& workingDirectory,
                                   RenderOptions& options)
{
    const auto path = [&] (juce::File& target) -> ValueHandler
    {
        return [&target, &workingDirectory] (const juce::String& option, const juce::String& value)
        {
            return parsePath (option, value, workingDirectory, target);
        };
    };

    const std::map<juce::String, ValueHandler> valueOptions {
        { "--threshold", [&] (auto& option, auto& value)
          { return parseThreshold (option, value, options); } },
        { "--attack", [&] (auto& option, auto& value)
          {
              return parseTime (option, value, ParameterScale::maxAttackMilliseconds,
                                ParameterScale::attackFromMilliseconds, options.attack);
          } },
        { "--decay", [&] (auto& option, auto& value)
          {
              return parseTime (option, value, ParameterScale::maxDecayMilliseconds,
                                ParameterScale::decayFromMilliseconds, options.decay);
          } },
        { "--dual-mono", [&] (auto& option, auto& value)
          { return parseSwitchOption (option, value, options.dualMono); } },
        { "--gate", [&] (auto& option, auto& value)
          { return parseSwitchOption (option, value, options.gateOn); } },
        { "--program", [&] (auto& option, auto& value)
          {
              return parseIntegerInRange (option, value, 0, 11, "a program number from 0 to 11", options.program);
          } },
        { "--block-size", [&] (auto& option, auto& value)
          {
              std::optional<int> size;
              auto result = parseIntegerInRange (option, value, 1, maxBlockSize,
                                                 "a whole number of frames from 1 to " + juce::String (maxBlockSize), size);
              if (result.wasOk())
                  options.blockSize = *size;
              return result;
          } },
        { "--bits", [&] (auto& option, auto& value)
          {
              options.sampleFormat = SampleFormat::fromOptionText (value);
              return options.sampleFormat.has_value() ? juce::Result::ok()
                                                      : badValue (option, value, "8, 16, 24 or 32 (integer), 32f or 64f (floating point)");
          } },
        { "--settings", path (options.settingsToLoad) },
        { "--save-settings", path (options.settingsToSave) },
        { "--plugin", path (options.plugin) },
        { "--demo", path (options.demoDirectory) },
        { "-o", path (options.outputDirectory) },
        { "--output-dir", path (options.outputDirectory) },
    };

    // Every option given, for the ones that do not go together.
    juce::StringArray given;

    juce::StringArray positional;

    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];

        if (argument == "-h" || argument == "--help")
        {
            options.showHelp = true;
            continue;
        }

        if (argument == "-q" || argument == "--quiet")
        {
            options.quiet = true;
            continue;
        }

        if (argument == "--allow-truncated")
        {
            options.allowTruncated = true;
            given.add (argument);
            continue;
        }

        // "--" ends the options, so that file names starting with a dash can be given.
        if (argument == "--")
        {
            for (++i; i < arguments.size(); ++i)
                positional.add (arguments[i]);
            break;
        }

        if (! argument.startsWith ("-") || argument == "-")
        {
            positional.add (argument);
            continue;
        }

        const auto name = argument.upToFirstOccurrenceOf ("=", false, false);
        const auto handler = valueOptions.find (name);

        if (handler == valueOptions.end())
            return juce::Result::fail ("unknown option '" + name + "' (see --help)");

        juce::String value;

        if (argument.containsChar ('='))
            value = argument.fromFirstOccurrenceOf ("=", false, false);
        else if (i + 1 < arguments.size())
            value = arguments[++i]; // taken as it stands: "-40" is a value, not an option
        else
            return juce::Result::fail ("option " + name + " needs a value (see --help)");

        if (auto result = handler->second (name, value); result.failed())
            return result;

        given.add (name);
    }

    if (options.showHelp)
        return juce::Result::ok();

    if (options.runsDemo())
    {
        for (const auto& option : given)
            if (option != "--demo" && option != "--plugin")
                return juce::Result::fail ("--demo gates with its own settings (the default program, then a threshold of -40 dB): " + option + " does not go with it");

        if (! positional.isEmpty())
            return juce::Result::fail ("--demo writes its own files: give no INPUT and OUTPUT with it");

        return juce::Result::ok();
    }

    const auto file = [&workingDirectory] (const juce::String& name)
    { return workingDirectory.getChildFile (name); };

    if (options.outputDirectory != juce::File())
    {
        if (positional.isEmpty())
            return juce::Result::fail ("-o " + options.outputDirectory.getFullPathName() + " needs INPUT files to write into it (see --help)");

        for (const auto& name : positional)
        {
            const auto input = file (name);
            const auto output = options.outputFor (input);

            if (output == input)
                return juce::Result::fail ("'" + input.getFullPathName() + "' is already in " + options.outputDirectory.getFullPathName() + ": gating it there would replace it; choose another folder with -o");

            for (const auto& earlier : options.inputs)
                if (options.outputFor (earlier) == output)
                    return juce::Result::fail ("'" + earlier.getFullPathName() + "' and '" + input.getFullPathName() + "' would both be written to '" + output.getFullPathName() + "'");

            options.inputs.add (input);
        }

        return juce::Result::ok();
    }

    if (positional.size() == 2)
    {
        options.inputs.add (file (positional[0]));
        options.output = file (positional[1]);

        // In a batch a badly named file fails alone; a single OUTPUT is the command line's.
        return OutputAudio::checkName (options.output, options.sampleFormat);
    }

    if (positional.size() > 2)
        return juce::Result::fail ("too many file names: '" + positional.joinIntoString ("' '") + "' (several INPUT files go into a folder with -o DIR; see --help)");

    if (positional.size() == 1)
        return juce::Result::fail ("missing OUTPUT file (see --help)");

    if (options.settingsToSave == juce::File())
        return juce::Result::fail ("nothing to do: give INPUT and OUTPUT, INPUT... -o DIR, --save-settings FILE or --demo DIR (see --help)");

    return juce::Result::ok();
}

juce::File RenderOptions::outputFor (const juce::File& input) const
{
    return outputDirectory != juce::File() ? outputDirectory.getChildFile (input.getFileName()) : output;
}

juce::String RenderOptions::usage()
{
    return R"(Usage:
  tacetor-render [options] INPUT OUTPUT
  tacetor-render [options] INPUT... -o DIR
  tacetor-render [options] --save-settings FILE
  tacetor-render --demo DIR [--plugin PATH]
  tacetor-render --help

Gates the audio file INPUT (mono or stereo) through Pelmora Tacetor, the noise gate pedal,
and writes OUTPUT at the same sample rate. The output's format follows its extension:
.wav, .aiff, .flac or .ogg. OUTPUT is replaced only once it is complete, and keeps the
permissions of the file it replaces. With -o, each INPUT is written into the folder DIR
under its own name; a file that fails does not stop the others.

Inputs: WAV (integer, floating-point, mu-law and A-law samples; RF64 too), AIFF and
AIFF-C, FLAC up to 24 bits, Ogg Vorbis. Before anything is written the renderer checks that each input
holds every frame its header declares, and refuses one that does not; damage found while
decoding fails the file too, never turning into silence.

Gate settings, applied in this order: the settings chunk, the program, then each value given.
  --settings FILE        load a settings chunk (saved by --save-settings or a host)
  --program N            make program N current, 0..11 (default 0)
  --threshold DB         threshold in dB, -oo..0, e.g. -40 (default -oo: only digital
                         silence closes the gate)
  --attack MS            attack time in ms, 0..200 (default 2.00)
  --decay MS             decay time in ms, 0..2000 (default 100.42)
  --dual-mono on|off     one detector per channel of a stereo file (default off: linked)
  --gate on|off          the footswitch; off passes every sample through unchanged, bit for
                         bit where the output has the input's format (default on)
  --save-settings FILE   write the settings chunk that results

Rendering:
  -o, --output-dir DIR   gate every INPUT into DIR (created if missing), keeping its name
  --block-size N         frames per processing block, 1..65536 (default 512)
  --bits N               output samples: 8, 16, 24 or 32 (integer), 32f or 64f (floating
                         point). Default: the input's own, where the output format holds it;
                         otherwise the nearest it holds, and the renderer says so. Integer
                         output rounds each sample to the nearest step and clips samples at or
                         above full scale to the largest value the format holds; floating
                         point output keeps them.
  --allow-truncated      render a truncated input's frames that are present (and say so)
                         instead of refusing it
  --plugin PATH          run a built .vst3 or .lv2 bundle through the plug-in host instead
                         of the linked-in gate (the output is the same, bit for bit)
  -q, --quiet            no progress bar (it is only drawn on a terminal anyway) and no
                         summary after a batch that went well
  --demo DIR             synthesise a guitar phrase with hum and hiss, gate it with the
                         default program and with a threshold of -40 dB, and write the WAV
                         files and a picture of the gate at work into DIR
  -h, --help             this text

Exit status: 0 done; 1 a file could not be read or written (a damaged or missing input, a
settings chunk or plug-in that cannot be loaded, an output that cannot be written), in which
case no existing file was overwritten by a partial one; 2 the command line is wrong. A signal
that ends the renderer (Ctrl-C, a closed terminal, a kill) first deletes its temporary file.
)";
}
