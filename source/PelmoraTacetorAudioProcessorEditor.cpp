#include "PelmoraTacetorAudioProcessorEditor.h"

#include "EmbeddedImages.h"

namespace
{
// Parameter indices, in the order hosts, programs and the gate share.
constexpr int bypassIndex = 0;
constexpr int dualMonoIndex = 1;
constexpr int thresholdIndex = 2;
constexpr int attackIndex = 3;
constexpr int decayIndex = 4;

constexpr int knobY = 40;
} // namespace

PelmoraTacetorAudioProcessorEditor::PelmoraTacetorAudioProcessorEditor (PelmoraTacetorAudioProcessor& p)
    : juce::AudioProcessorEditor (p)
{
    setLookAndFeel (&lookAndFeel_);

    // The window is as large as the pedal picture, fixed before any child exists.
    backgroundImage_ = EmbeddedImages::decodeBackground();
    setSize (backgroundImage_.getWidth(), backgroundImage_.getHeight());

    // One local picture at a time: each widget keeps its own reference to its strip.
    juce::Image picture = EmbeddedImages::decodeFootswitch();
    bypassButton_ = std::make_unique<Orvane4StateButton3PDT> ("bypassButton_");
    addSwitch (*bypassButton_, picture, {222, 266, 90, 99}, bypassIndex);

    picture = EmbeddedImages::decodeDualMonoSwitch();
    dualMonoOnButton_ = std::make_unique<Orvane2StateButton> ("dualMonoOnButton_");
    addSwitch (*dualMonoOnButton_, picture, {12, 167, 113, 125}, dualMonoIndex);

    picture = EmbeddedImages::decodeThresholdKnob();
    thresholdKnob_ = std::make_unique<TacetorThresholdKnob> ("thresholdKnob_");
    addKnob (*thresholdKnob_, picture, 17, thresholdIndex);

    picture = EmbeddedImages::decodeAttackKnob();
    attackKnob_ = std::make_unique<TacetorAttackKnob> ("attackKnob_");
    addKnob (*attackKnob_, picture, 113, attackIndex);

    picture = EmbeddedImages::decodeDecayKnob();
    decayKnob_ = std::make_unique<TacetorDecayKnob> ("decayKnob_");
    addKnob (*decayKnob_, picture, 209, decayIndex);

    // No picture: an invisible click area over the logo lettering of the background. Added
    // after the footswitch, it wins the strip where the two overlap (x 222..237).
    aboutShowButton_ = std::make_unique<Orvane2StateKickButton> ("aboutShowButton_");
    addAndMakeVisible (aboutShowButton_.get());
    aboutShowButton_->setBounds (15, 313, 223, 40);
    aboutShowButton_->addListener (this);

    // The panel paints its own copy of the about picture; this one only gives the size.
    picture = EmbeddedImages::decodeAbout();
    aboutContainer_ = std::make_unique<OrvaneSplashScreen> ("aboutContainer_");
    addChildComponent (aboutContainer_.get());
    aboutContainer_->setBounds (0, 0, picture.getWidth(), picture.getHeight());

    // The first tick shows whatever changed while the pedal was being built.
    getTacetorProcessor().parametersChanged_.store (true);
    startTimer (refreshIntervalMs);
}

PelmoraTacetorAudioProcessorEditor::~PelmoraTacetorAudioProcessorEditor()
{
    // Children first, in the order they were added, while everything they may call back
    // into (the editor as their listener, the look-and-feel they draw with) still exists.
    bypassButton_.reset();
    dualMonoOnButton_.reset();
    thresholdKnob_.reset();
    attackKnob_.reset();
    decayKnob_.reset();
    aboutShowButton_.reset();
    aboutContainer_.reset();

    // The editor itself uses the look-and-feel too; it lets go of it here so that the
    // member, destroyed after every other member, is no longer in use by any component.
    setLookAndFeel (nullptr);
}

PelmoraTacetorAudioProcessor& PelmoraTacetorAudioProcessorEditor::getTacetorProcessor() const noexcept
{
    // The only constructor takes this type, so the base's reference is always one.
    return static_cast<PelmoraTacetorAudioProcessor&> (processor);
}

void PelmoraTacetorAudioProcessorEditor::addSwitch (FilmstripButton& button, juce::Image strip, juce::Rectangle<int> bounds, int parameterIndex)
{
    addAndMakeVisible (button);
    button.setImage (std::move (strip));
    button.setBounds (bounds);
    button.setToggleState (getTacetorProcessor().getParameter (parameterIndex) > 0.0f, juce::dontSendNotification);
    button.addListener (this);
}

void PelmoraTacetorAudioProcessorEditor::addKnob (OrvaneKnob& knob, juce::Image strip, int x, int parameterIndex)
{
    auto& tacetor = getTacetorProcessor();

    addAndMakeVisible (knob);
    knob.setImage (std::move (strip));
    knob.setBounds (x, knobY, 96, 73);
    knob.setValue (tacetor.getParameter (parameterIndex), juce::dontSendNotification);
    knob.setDoubleClickReturnValue (true, tacetor.getParameterDefaultValue (parameterIndex));

    // Still unparented while being built, so the value bubble opens as a desktop window of
    // its own, which a host's window cannot clip.
    knob.setPopupDisplayEnabled (true, false, getParentComponent());
    knob.addListener (this);
}

void PelmoraTacetorAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.drawImage (backgroundImage_,
                 0, 0, backgroundImage_.getWidth(), backgroundImage_.getHeight(),
                 0, 0, backgroundImage_.getWidth(), backgroundImage_.getHeight());
}

void PelmoraTacetorAudioProcessorEditor::timerCallback()
{
    // Cleared before the values are read, not after: a host write landing between the reads
    // and a later clear would otherwise be lost until some other change came along. This way
    // such a write raises the flag again and the next tick shows it.
    if (! getTacetorProcessor().parametersChanged_.exchange (false))
        return;

    showProcessorValues();
}

void PelmoraTacetorAudioProcessorEditor::showProcessorValues()
{
    auto& tacetor = getTacetorProcessor();

    bypassButton_->setToggleState (tacetor.getParameter (bypassIndex) > 0.0f, juce::dontSendNotification);
    dualMonoOnButton_->setToggleState (tacetor.getParameter (dualMonoIndex) > 0.0f, juce::dontSendNotification);
    thresholdKnob_->setValue (tacetor.getParameter (thresholdIndex), juce::dontSendNotification);
    attackKnob_->setValue (tacetor.getParameter (attackIndex), juce::dontSendNotification);
    decayKnob_->setValue (tacetor.getParameter (decayIndex), juce::dontSendNotification);
}

void PelmoraTacetorAudioProcessorEditor::writeAndAnnounce (int index, float value)
{
    auto& tacetor = getTacetorProcessor();
    tacetor.setParameter (index, value);
    tacetor.sendParamChangeMessageToListeners (index, value);
}

void PelmoraTacetorAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    // The switches flip their toggle state before telling their listeners: this is the new state.
    if (button == bypassButton_.get())
    {
        writeAndAnnounce (bypassIndex, button->getToggleState() ? 1.0f : 0.0f);
    }
    else if (button == dualMonoOnButton_.get())
    {
        writeAndAnnounce (dualMonoIndex, button->getToggleState() ? 1.0f : 0.0f);
    }
    else if (button == aboutShowButton_.get())
    {
        aboutContainer_->setVersionText (versionText());
        aboutContainer_->showPanel();
    }
}

void PelmoraTacetorAudioProcessorEditor::sliderValueChanged (juce::Slider* slider)
{
    int index = -1;

    if (slider == thresholdKnob_.get())
        index = thresholdIndex;
    else if (slider == attackKnob_.get())
        index = attackIndex;
    else if (slider == decayKnob_.get())
        index = decayIndex;

    if (index >= 0)
        writeAndAnnounce (index, static_cast<float> (slider->getValue()));
}

juce::String PelmoraTacetorAudioProcessorEditor::versionText()
{
    return juce::String (JucePlugin_VersionString) + " (64bit)";
}
