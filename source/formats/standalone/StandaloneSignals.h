#pragma once

/**
    Makes SIGTERM and SIGINT close the Standalone app the way its window's close button does:
    the app saves the plug-in's state and its settings, then quits with status 0. Without it
    SIGTERM kills the app on the spot and JUCE's own SIGINT handler quits without saving, so
    both lose whatever changed since the app started.

    The handlers only write to a pipe; the app is closed on the message thread, where JUCE's
    event loop reads that pipe.
*/
namespace StandaloneSignals
{
/** Installs the handlers, replacing JUCE's SIGINT handler. Call on the message thread once JUCE
    is initialised and before the app's event loop runs. False when the pipe or a handler could
    not be set up; the app then runs with the signals' usual behaviour. */
bool closeAppOnTermination();
} // namespace StandaloneSignals
