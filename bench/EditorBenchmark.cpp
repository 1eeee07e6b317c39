// What the pedal editor costs on the message thread: opening it (all seven pictures decoded
// afresh, the children built) and closing it, the decoding alone, one full repaint of the
// pedal with and without the about card, and a refresh tick after a host change.
#include "EmbeddedImages.h"
#include "PelmoraTacetorAudioProcessor.h"
#include "PelmoraTacetorAudioProcessorEditor.h"

#include <benchmark/benchmark.h>

namespace
{
void EditorOpenAndClose (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI framework;
    PelmoraTacetorAudioProcessor processor;

    for (auto _ : state)
    {
        PelmoraTacetorAudioProcessorEditor editor (processor);
        benchmark::DoNotOptimize (&editor);
    }
}

void DecodeAllPictures (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI framework;

    for (auto _ : state)
    {
        // The editor's six and the about panel's own copy of the card (the editor decodes
        // the card a second time only for its size).
        const juce::Image pictures[] = {
            EmbeddedImages::decodeBackground(),
            EmbeddedImages::decodeFootswitch(),
            EmbeddedImages::decodeDualMonoSwitch(),
            EmbeddedImages::decodeThresholdKnob(),
            EmbeddedImages::decodeAttackKnob(),
            EmbeddedImages::decodeDecayKnob(),
            EmbeddedImages::decodeAbout(),
            EmbeddedImages::decodeAbout(),
        };
        benchmark::DoNotOptimize (pictures);
    }
}

/** Paints the whole pedal, children included, into one reused image: a full repaint. */
void EditorRepaint (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI framework;
    PelmoraTacetorAudioProcessor processor;
    PelmoraTacetorAudioProcessorEditor editor (processor);
    const bool aboutShown = state.range (0) != 0;

    if (aboutShown)
        editor.buttonClicked (dynamic_cast<juce::Button*> (editor.getChildComponent (5)));

    juce::Image canvas (juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true);

    for (auto _ : state)
    {
        juce::Graphics g (canvas);
        editor.paintEntireComponent (g, true);
        benchmark::ClobberMemory();
    }

    state.SetLabel (aboutShown ? "about card shown" : "pedal");
}

/** One tick of the refresh timer after a host changed a value: five widgets set. */
void EditorRefreshAfterAChange (benchmark::State& state)
{
    const juce::ScopedJuceInitialiser_GUI framework;
    PelmoraTacetorAudioProcessor processor;
    PelmoraTacetorAudioProcessorEditor editor (processor);
    editor.stopTimer();
    float value = 0.0f;

    for (auto _ : state)
    {
        value = value < 1.0f ? value + 0.001f : 0.0f;
        processor.setParameter (2, value);
        editor.timerCallback();
    }
}
} // namespace

BENCHMARK (EditorOpenAndClose)->Unit (benchmark::kMillisecond);
BENCHMARK (DecodeAllPictures)->Unit (benchmark::kMillisecond);
BENCHMARK (EditorRepaint)->Arg (0)->Arg (1)->Unit (benchmark::kMicrosecond);
BENCHMARK (EditorRefreshAfterAChange)->Unit (benchmark::kMicrosecond);
