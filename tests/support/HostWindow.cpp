#include "support/HostWindow.h"

#include "support/WidgetTestSupport.h"

namespace HostWindowSupport
{
testing::AssertionResult eventually (const std::function<bool()>& condition, const std::function<juce::String()>& lastSeen)
{
    if (WidgetTestSupport::pumpUntil (condition, waitLimitMs))
        return testing::AssertionSuccess();

    return testing::AssertionFailure() << "still not so after " << waitLimitMs << " ms; last seen: " << lastSeen();
}

HostWindow::HostWindow (juce::AudioProcessor& processor, juce::Point<int> topLeft, float hostScale)
    : opened_ (processor)
{
    auto& editor = getEditor();
    editor.setScaleFactor (hostScale);
    addAndMakeVisible (editor);
    setBounds (editor.getBoundsInParent() + topLeft);
    addKeyListener (this);
    addToDesktop (0);
    setVisible (true);
}

HostWindow::~HostWindow()
{
    removeKeyListener (this);
    removeChildComponent (opened_.get());
}

PelmoraTacetorAudioProcessorEditor& HostWindow::getEditor() const
{
    return dynamic_cast<PelmoraTacetorAudioProcessorEditor&> (*opened_.get());
}

juce::Component& HostWindow::child (const juce::String& name) const
{
    auto* found = EditorTestSupport::findChild (getEditor(), name);

    if (found == nullptr)
        throw std::runtime_error ("the editor has no " + name.toStdString());

    return *found;
}

juce::Point<int> HostWindow::onScreen (juce::Point<int> point) const
{
    return getEditor().localPointToGlobal (point);
}

bool HostWindow::keyPressed (const juce::KeyPress&, juce::Component*)
{
    ++keysForHost_;
    return false;
}

bool clickAt (const HostWindow& window, juce::Point<int> point)
{
    const auto at = window.onScreen (point);
    return WidgetTestSupport::xdotool ("mousemove " + juce::String (at.x) + " " + juce::String (at.y) + " click 1");
}

testing::AssertionResult showsOnScreen (const HostWindow& window)
{
    const auto area = window.getScreenBounds();

    if (window.getEditor().getBoundsInParent().getWidth() != window.getEditor().getWidth())
        return testing::AssertionFailure() << "only a window of an unscaled editor can be found by the pedal's 1x pixels";

    if (EditorTestSupport::waitForPedal (area, waitLimitMs) == std::optional<juce::Point<int>> (area.getPosition()))
        return testing::AssertionSuccess();

    return testing::AssertionFailure() << "the pedal did not show at " << area.getPosition().toString() << " within " << waitLimitMs << " ms";
}
} // namespace HostWindowSupport
