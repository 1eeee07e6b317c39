// Runs every test with the framework started, as a host would have it: components, timers
// and the message manager need it, and plug-in instances must go before it does. The home
// folder is a private one, so plug-in hosts find this build's bundles and nothing else.
#include "support/TestHome.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    const TestHome home;
    const juce::ScopedJuceInitialiser_GUI framework;
    return RUN_ALL_TESTS();
}
