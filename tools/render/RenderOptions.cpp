#include "RenderOptions.h"

#include "ParameterUnits.h"

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

    if (! decibels.has_value() || *decibels > ParameterUnits::maxThresholdDecibels)
        return badValue (option, value, "a level in dB from -oo to 0, e.g. -40");

    options.threshold = static_cast<float> (ParameterUnits::thresholdFromDecibels (*decibels));
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
    const auto path = [&] (juce::File& target) -> ValueHandler {
        return [&target, &workingDirectory] (const juce::String& option, const juce::String& value) {
            return parsePath (option, value, workingDirectory, target);
        };
    };

    const std::map<juce::String, ValueHandler> valueOptions {
        { "--threshold", [&] (auto& option, auto& value) { return parseThreshold (option, value, options); } },
        { "--attack", [&] (auto& option, auto& value) {
              return parseTime (option, value, ParameterUnits::maxAttackMilliseconds,
                                ParameterUnits::attackFromMilliseconds, options.attack);
          } },
        { "--decay", [&] (auto& option, auto& value) {
              return parseTime (option, value, ParameterUnits::maxDecayMilliseconds,
                                ParameterUnits::decayFromMilliseconds, options.decay);
          } },
        { "--dual-mono", [&] (auto& option, auto& value) { return parseSwitchOption (option, value, options.dualMono); } },
        { "--gate", [&] (auto& option, auto& value) { return parseSwitchOption (option, value, options.gateOn); } },
        { "--program", [&] (auto& option, auto& value) {
              return parseIntegerInRange (option, value, 0, 11, "a program number from 0 to 11", options.program);
          } },
        { "--block-size", [&] (auto& option, auto& value) {
              std::optional<int> size;
              auto result = parseIntegerInRange (option, value, 1, maxBlockSize,
                                                 "a whole number of frames from 1 to " + juce::String (maxBlockSize), size);
              if (result.wasOk())
                  options.blockSize = *size;
              return result;
          } },
        { "--bits", [&] (auto& option, auto& value) {
              auto result = parseIntegerInRange (option, value, 8, 32, "8, 16, 24 or 32", options.bitsPerSample);
              if (result.wasOk() && *options.bitsPerSample % 8 != 0)
                  return badValue (option, value, "8, 16, 24 or 32");
              return result;
          } },
        { "--settings", path (options.settingsToLoad) },
        { "--save-settings", path (options.settingsToSave) },
        { "--plugin", path (options.plugin) },
        { "--demo", path (options.demoDirectory) },
    };

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
    }

    if (options.showHelp)
        return juce::Result::ok();

    if (positional.size() == 2)
    {
        options.input = workingDirectory.getChildFile (positional[0]);
        options.output = workingDirectory.getChildFile (positional[1]);
    }
    else if (positional.size() != 0)
    {
        return juce::Result::fail (positional.size() == 1 ? "missing OUTPUT file (see --help)"
                                                          : "too many file names: '" + positional.joinIntoString ("' '")
                                                                + "' (see --help)");
    }

    if (options.runsDemo() && options.rendersFile())
        return juce::Result::fail ("--demo writes its own files: give no INPUT and OUTPUT with it");

    if (! options.runsDemo() && ! options.rendersFile() && options.settingsToSave == juce::File())
        return juce::Result::fail ("nothing to do: give INPUT and OUTPUT, --save-settings FILE or --demo DIR (see --help)");

    return juce::Result::ok();
}

juce::String RenderOptions::usage()
{
    return R"(Usage:
  tacetor-render [options] INPUT OUTPUT
  tacetor-render [options] --save-settings FILE
  tacetor-render --demo DIR [--plugin PATH]
  tacetor-render --help

Gates the audio file INPUT (mono or stereo) through Pelmora Tacetor, the noise gate pedal,
and writes OUTPUT at the same sample rate. The output's format follows its extension:
.wav, .flac, .aiff or .ogg. OUTPUT is replaced only once it is complete.

Gate settings, applied in this order: the settings chunk, the program, then each value given.
  --settings FILE        load a settings chunk (saved by --save-settings or a host)
  --program N            make program N current, 0..11 (default 0)
  --threshold DB         threshold in dB, -oo..0, e.g. -40 (default -oo: only digital
                         silence closes the gate)
  --attack MS            attack time in ms, 0..200 (default 2.00)
  --decay MS             decay time in ms, 0..2000 (default 100.42)
  --dual-mono on|off     one detector per channel of a stereo file (default off: linked)
  --gate on|off          the footswitch; off passes the audio unchanged (default on)
  --save-settings FILE   write the settings chunk that results

Rendering:
  --block-size N         frames per processing block, 1..65536 (default 512)
  --bits N               output bits per sample, 8/16/24/32 (default: the input's where the
                         format allows; 32 is floating point in WAV)
  --plugin PATH          run a built .vst3 or .lv2 bundle through the plug-in host instead
                         of the linked-in gate (the output is the same, bit for bit)
  -q, --quiet            no progress bar (it is only drawn on a terminal anyway)
  --demo DIR             synthesise a guitar phrase with hum and hiss, gate it with the
                         default program and with a tuned threshold, and write the WAV
                         files and a picture of the gate at work into DIR
  -h, --help             this text

Exit status: 0 done, 1 the job failed (nothing was overwritten), 2 a bad command line.
)";
}
