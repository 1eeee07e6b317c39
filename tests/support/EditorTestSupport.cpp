#include "support/EditorTestSupport.h"

#include "EmbeddedImages.h"
#include "PedalGeometry.h"
#include "PelmoraTacetorAudioProcessor.h"
#include "PelmoraTacetorAudioProcessorEditor.h"
#include "support/WidgetTestSupport.h"

#include <cstdlib>

namespace EditorTestSupport
{
void ParameterLog::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    changes.emplace_back (index, value);
}

std::vector<float> ParameterLog::valuesOf (int index) const
{
    std::vector<float> values;

    for (const auto& [changedIndex, value] : changes)
        if (changedIndex == index)
            values.push_back (value);

    return values;
}

HostOpenedEditor::HostOpenedEditor (juce::AudioProcessor& processor)
    : processor_ (processor)
    , editor_ (processor.createEditorIfNeeded())
{
}

HostOpenedEditor::~HostOpenedEditor() { close(); }

void HostOpenedEditor::close()
{
    if (editor_ != nullptr)
        processor_.editorBeingDeleted (editor_.get());

    editor_.reset();
}

juce::Component* findChild (juce::Component& editor, const juce::String& name)
{
    for (auto* child : editor.getChildren())
        if (child->getName() == name)
            return child;

    return nullptr;
}

juce::Image referencePedal (const Values& values, bool aboutShown)
{
    PelmoraTacetorAudioProcessor processor;

    for (int index = 0; index < static_cast<int> (values.size()); ++index)
        processor.setParameter (index, values[static_cast<size_t> (index)]);

    const HostOpenedEditor editor (processor);
    auto& pedal = dynamic_cast<PelmoraTacetorAudioProcessorEditor&> (*editor.get());

    if (aboutShown)
        pedal.buttonClicked (dynamic_cast<juce::Button*> (findChild (pedal, "aboutShowButton_")));

    return pedal.createComponentSnapshot (pedal.getLocalBounds(), true);
}

juce::Image stripFrame (const juce::Image& strip, int numFrames, int frame)
{
    const int height = strip.getHeight() / numFrames;
    return strip.getClippedImage ({ 0, frame * height, strip.getWidth(), height }).createCopy();
}

int countDifferences (const juce::Image& image, juce::Rectangle<int> area, const juce::Image& expected)
{
    if (! image.getBounds().contains (area))
        return area.getWidth() * area.getHeight();

    int differing = 0;

    for (int y = 0; y < area.getHeight(); ++y)
        for (int x = 0; x < area.getWidth(); ++x)
        {
            const auto seen = image.getPixelAt (area.getX() + x, area.getY() + y);
            const auto wanted = expected.getPixelAt (x, y);

            if (seen.getRed() != wanted.getRed() || seen.getGreen() != wanted.getGreen() || seen.getBlue() != wanted.getBlue())
                ++differing;
        }

    return differing;
}

juce::Image screenshot()
{
    const juce::TemporaryFile file (".png");
    juce::ChildProcess import;

    if (! import.start (juce::StringArray { "import", "-window", "root", file.getFile().getFullPathName() }, 0) || ! import.waitForProcessToFinish (20000))
        return {};

    return juce::ImageFileFormat::loadFrom (file.getFile());
}

juce::Image waitForScreen (const std::function<bool (const juce::Image&)>& matches, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + static_cast<juce::uint32> (timeoutMs);
    juce::Image screen;

    do
    {
        WidgetTestSupport::pump (50);
        screen = screenshot();
    } while (! matches (screen) && juce::Time::getMillisecondCounter() < end);

    return screen;
}

int differencesAfterWaiting (juce::Rectangle<int> area, const juce::Image& expected, juce::Image* lastScreen, int timeoutMs)
{
    const auto screen = waitForScreen ([&] (const juce::Image& image)
                                       { return countDifferences (image, area, expected) == 0; },
                                       timeoutMs);
    if (lastScreen != nullptr)
        *lastScreen = screen;

    return countDifferences (screen, area, expected);
}

bool pointerAt (juce::Point<int> pedal, int x, int y, const juce::String& action)
{
    return WidgetTestSupport::xdotool ("mousemove " + juce::String (pedal.x + x) + " " + juce::String (pedal.y + y) + " " + action);
}

std::optional<juce::Point<int>> findPedal (const juce::Image& screen, juce::Rectangle<int> area)
{
    // The band above the knobs is background in every state except with the about card open.
    const auto& pedal = PedalGeometry::pedal;
    const auto bandArea = pedal.withBottom (PedalGeometry::knobs[0].bounds.getY());
    const auto band = EmbeddedImages::decodeBackground().getClippedImage (bandArea).createCopy();
    const auto searched = area.getIntersection (screen.getBounds());

    for (int y = searched.getY(); y + pedal.getHeight() <= searched.getBottom(); ++y)
        for (int x = searched.getX(); x + pedal.getWidth() <= searched.getRight(); ++x)
            if (screen.getPixelAt (x + 20, y + 20) == band.getPixelAt (20, 20) && countDifferences (screen, bandArea + juce::Point<int> (x, y), band) == 0)
                return juce::Point<int> (x, y);

    return std::nullopt;
}

std::optional<juce::Point<int>> waitForPedal (juce::Rectangle<int> window, int timeoutMs)
{
    std::optional<juce::Point<int>> found;
    waitForScreen ([&] (const juce::Image& screen)
                   { return (found = findPedal (screen, window)).has_value(); },
                   timeoutMs);
    return found;
}

void saveIfRequested (const juce::Image& image, juce::Rectangle<int> area, const juce::String& name)
{
    const char* folder = std::getenv ("TACETOR_SCREENSHOT_DIR");

    if (folder == nullptr || *folder == 0 || ! image.isValid())
        return;

    const auto file = juce::File (juce::CharPointer_UTF8 (folder)).getChildFile (name + ".png");
    file.deleteFile();
    juce::FileOutputStream stream (file);
    juce::PNGImageFormat png;

    if (stream.openedOk())
        png.writeImageToStream (image.getClippedImage (area.getIntersection (image.getBounds())), stream);
}
} // namespace EditorTestSupport
