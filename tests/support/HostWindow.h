#pragma once

#include "PelmoraTacetorAudioProcessorEditor.h"
#include "support/EditorTestSupport.h"
#include "support/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

/**
    Helpers for tests that put the pedal into real windows on the display, as hosts do, and
    wait on what they show or write. Message thread (the test's own).
*/
namespace HostWindowSupport
{
using WidgetTestSupport::waitLimitMs;

/** Runs the message loop until condition holds or waitLimitMs pass; fails with what
    lastSeen describes at the end. */
testing::AssertionResult eventually (const std::function<bool()>& condition, const std::function<juce::String()>& lastSeen);

/**
    A processor's editor in a borderless window of its own at topLeft on the display, held the
    way a host's plug-in window holds it: inside a wrapper component that never takes the
    keyboard focus. Keys the pedal leaves alone reach the wrapper, which counts them: they are
    the keys the host would get. With a host scale other than 1, the editor is scaled as a
    host's content scale factor scales it, and the window is as large as the scaled editor.
*/
class HostWindow : public juce::Component, private juce::KeyListener
{
public:
    HostWindow (juce::AudioProcessor& processor, juce::Point<int> topLeft, float hostScale = 1.0f);
    ~HostWindow() override;

    PelmoraTacetorAudioProcessorEditor& getEditor() const;

    /** The editor's child named name. */
    juce::Component& child (const juce::String& name) const;

    /** Where point of the editor is on the screen. */
    juce::Point<int> onScreen (juce::Point<int> point) const;

    /** Keys that went past the pedal to its host so far. */
    int getKeysForHost() const noexcept { return keysForHost_; }

private:
    using juce::Component::keyPressed;
    bool keyPressed (const juce::KeyPress& key, juce::Component* origin) override;

    EditorTestSupport::HostOpenedEditor opened_;
    int keysForHost_ = 0;
};

/** Moves the real pointer to point of window's editor and clicks there. */
bool clickAt (const HostWindow& window, juce::Point<int> point);

/** Waits until window's pedal shows on the display at its place (screenshots). */
testing::AssertionResult showsOnScreen (const HostWindow& window);
} // namespace HostWindowSupport
