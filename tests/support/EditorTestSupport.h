#pragma once

#include "support/WidgetTestSupport.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

/**
    Helpers for the pedal editor's tests: what a host hears from a processor, the editor's
    children by name, reference pictures of the pedal drawn in this process, and screenshots
    of the virtual display compared pixel for pixel. Message thread (the test's own).
*/
namespace EditorTestSupport
{
/** Records the value changes and gesture messages a processor announces, as a format
    wrapper or a host would hear them. Register it with addListener. */
struct ParameterLog : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int) override { ++gestures; }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int) override { ++gestures; }

    /** The changes for index only, in order. */
    std::vector<float> valuesOf (int index) const;

    std::vector<std::pair<int, float>> changes;
    int gestures = 0;
};

/** A processor's editor opened and closed as a host's format wrapper does it: created through
    createEditorIfNeeded, and the processor told (editorBeingDeleted) before it is deleted. */
class HostOpenedEditor
{
public:
    explicit HostOpenedEditor (juce::AudioProcessor& processor);
    ~HostOpenedEditor();

    /** The editor; nullptr once closed. */
    juce::AudioProcessorEditor* get() const noexcept { return editor_.get(); }

    /** Closes the editor now (the destructor does it otherwise). */
    void close();

private:
    juce::AudioProcessor& processor_;
    std::unique_ptr<juce::AudioProcessorEditor> editor_;

    JUCE_DECLARE_NON_COPYABLE (HostOpenedEditor)
};

/** Parameter values in index order: on switch, dual mono, threshold, attack, decay. */
using Values = std::array<float, 5>;

/** The processor's defaults. */
inline constexpr Values defaultValues { 1.0f, 0.0f, 0.0f, 0.134f, 0.367f };

/** The editor's child component named name (nullptr when there is none). */
juce::Component* findChild (juce::Component& editor, const juce::String& name);

/** The pedal as this process draws it: a fresh processor's editor showing values, with the
    about panel open when aboutShown, painted into an opaque 325 × 366 image. */
juce::Image referencePedal (const Values& values, bool aboutShown = false);

/** Frame k of a decoded filmstrip of numFrames frames, as its own image. */
juce::Image stripFrame (const juce::Image& strip, int numFrames, int frame);

/** How many pixels of area inside image differ from expected (drawn at area's size);
    every pixel counts as differing when area lies outside image. Alpha is ignored. */
int countDifferences (const juce::Image& image, juce::Rectangle<int> area, const juce::Image& expected);

/** Why the X display cannot hold the screenshots these tests compare pixel for pixel (none,
    too small, fewer than 24 bits of colour); empty when it can. */
juce::String whyDisplayCannotShowPixels();

/** The whole virtual display as an image (ImageMagick's import); invalid when it fails. */
juce::Image screenshot();

/** Takes screenshots, running the message loop in between, until matches holds for one or
    timeoutMs passes; returns the last one. */
juce::Image waitForScreen (const std::function<bool (const juce::Image&)>& matches, int timeoutMs = WidgetTestSupport::waitLimitMs);

/** Screenshots until area of the display shows expected exactly or timeoutMs passes;
    returns how many pixels differ in the last one, which goes to lastScreen when given. */
int differencesAfterWaiting (juce::Rectangle<int> area, const juce::Image& expected, juce::Image* lastScreen = nullptr, int timeoutMs = WidgetTestSupport::waitLimitMs);

/** Moves the real pointer to (x, y) of the pedal shown at pedal (screen coordinates), then
    does action with xdotool ("click 1", "mousedown 1", or nothing). */
bool pointerAt (juce::Point<int> pedal, int x, int y, const juce::String& action = {});

/** Where the pedal background's top band shows in a screenshot, searched within area (the
    window that holds the editor); nullopt when it is not there. */
std::optional<juce::Point<int>> findPedal (const juce::Image& screen, juce::Rectangle<int> area);

/** Screenshots until the pedal shows within window (findPedal) or timeoutMs passes. */
std::optional<juce::Point<int>> waitForPedal (juce::Rectangle<int> window, int timeoutMs = WidgetTestSupport::waitLimitMs);

/** When TACETOR_SCREENSHOT_DIR is set, saves area of image there as name.png. */
void saveIfRequested (const juce::Image& image, juce::Rectangle<int> area, const juce::String& name);
} // namespace EditorTestSupport
