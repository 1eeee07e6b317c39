#include "StandaloneSignals.h"

#include <juce_events/juce_events.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
int wakeUpPipe[2] = { -1, -1 };

// Async-signal-safe: one write, errno left as the interrupted code had it.
extern "C" void requestClose (int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = write (wakeUpPipe[1], &byte, 1);
    errno = savedErrno;
}

void closeApp (int fd)
{
    char bytes[64];

    while (read (fd, bytes, sizeof (bytes)) > 0)
    {
    }

    // What the window's close button leads to: the plug-in's state is saved with the settings,
    // open dialogs are dismissed, and the app quits.
    if (auto* app = juce::JUCEApplicationBase::getInstance())
        app->systemRequestedQuit();
}
} // namespace

bool StandaloneSignals::closeAppOnTermination()
{
    if (pipe2 (wakeUpPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;

    juce::LinuxEventLoop::registerFdCallback (wakeUpPipe[0], closeApp);

    struct sigaction action = {};
    action.sa_handler = requestClose;
    action.sa_flags = SA_RESTART;
    sigemptyset (&action.sa_mask);

    return sigaction (SIGTERM, &action, nullptr) == 0 && sigaction (SIGINT, &action, nullptr) == 0;
}
