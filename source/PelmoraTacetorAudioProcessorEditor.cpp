#include "PelmoraTacetorAudioProcessorEditor.h"

#include <algorithm>

namespace
{
// Parameter indices, in the order hosts, programs and the gate share.
constexpr int bypassIndex = 0;
constexpr int dualMonoIndex = 1;
constexpr int thresholdIndex = 2;
constexpr int attackIndex = 3;
constexpr int decayIndex = 4;

// Shows widget at its control's place, drawn from its control's strip at either scale.
template <typename Widget>
void addStrip (juce::Component& editor, Widget& widget, const PedalGeometry::Control& control)
{
    editor.addAndMakeVisible (widget);
    widget.setImage (EmbeddedImages::decode (EmbeddedImages::stored (control.picture)));
    widget.setDoubleSizeImage ([picture = control.picture]
                               { return EmbeddedImages::decodeDoubleSize (picture); });
    widget.setBounds (control.bounds);
}
} // namespace

PelmoraTacetorAudioProcessorEditor::PelmoraTacetorAudioProcessorEditor (PelmoraTacetorAudioProcessor& p)
    : juce::AudioProcessorEditor (p)
{
    setLookAndFeel (&lookAndFeel_);

    // The window is as large as the pedal picture, fixed before any child exists.
    backgroundImage_.setImage (EmbeddedImages::decodeBackground());
    backgroundImage_.setDoubleSizeImage ([]
                                         { return EmbeddedImages::decodeDoubleSize (EmbeddedImages::Picture::background); });
    setSize (backgroundImage_.getFrameWidth(), backgroundImage_.getFrameHeight());

    // The editor holds the focus whenever its window has it and nobody tabbed into a control:
    // left to the framework, the window's focus would land on the first control instead.
    setFocusContainerType (FocusContainerType::keyboardFocusContainer);
    setWantsKeyboardFocus (true);
    setMouseClickGrabsKeyboardFocus (false);
    setTitle (JucePlugin_Name);
    setDescription (juce::String ("Noise gate pedal by ") + JucePlugin_Manufacturer + ", version " + JucePlugin_VersionString);

    bypassButton_ = std::make_unique<Orvane4StateButton3PDT> ("bypassButton_");
    addSwitch (*bypassButton_, PedalGeometry::footswitch, bypassIndex);

    dualMonoOnButton_ = std::make_unique<Orvane2StateButton> ("dualMonoOnButton_");
    addSwitch (*dualMonoOnButton_, PedalGeometry::dualMonoSwitch, dualMonoIndex);

    thresholdKnob_ = std::make_unique<TacetorThresholdKnob> ("thresholdKnob_");
    addKnob (*thresholdKnob_, PedalGeometry::knobs[0], thresholdIndex);

    attackKnob_ = std::make_unique<TacetorAttackKnob> ("attackKnob_");
    addKnob (*attackKnob_, PedalGeometry::knobs[1], attackIndex);

    decayKnob_ = std::make_unique<TacetorDecayKnob> ("decayKnob_");
    addKnob (*decayKnob_, PedalGeometry::knobs[2], decayIndex);

    // Tab order and the names screen readers say: the knobs left to right, then the switches.
    makeReachable (*thresholdKnob_, "Threshold", 1);
    makeReachable (*attackKnob_, "Attack", 2);
    makeReachable (*decayKnob_, "Decay", 3);
    makeReachable (*dualMonoOnButton_, "Dual mono", 4);
    makeReachable (*bypassButton_, "Gate on", 5);

    // No picture: an invisible click area over the logo lettering of the background. Added
    // after the footswitch, it wins the strip where the two overlap (x 222..237). Neither
    // keys nor screen readers reach it: what the card says, the editor's description says.
    aboutShowButton_ = std::make_unique<Orvane2StateKickButton> ("aboutShowButton_");
    addAndMakeVisible (aboutShowButton_.get());
    aboutShowButton_->setBounds (PedalGeometry::aboutClickArea);
    aboutShowButton_->addListener (this);
    aboutShowButton_->setWantsKeyboardFocus (false);
    aboutShowButton_->setAccessible (false);

    // The panel paints its own copy of the about picture; this one only gives the size.
    const auto about = EmbeddedImages::decodeAbout();
    aboutContainer_ = std::make_unique<OrvaneSplashScreen> ("aboutContainer_");
    addChildComponent (aboutContainer_.get());
    aboutContainer_->setBounds (0, 0, about.getWidth(), about.getHeight());
    aboutContainer_->setTitle (juce::String ("About ") + JucePlugin_Name);
    aboutContainer_->setDescription (juce::String (JucePlugin_Manufacturer) + " " + JucePlugin_Name + ", version " + versionText());

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

void PelmoraTacetorAudioProcessorEditor::addSwitch (FilmstripButton& button, const PedalGeometry::Control& control, int parameterIndex)
{
    addStrip (*this, button, control);
    button.setToggleState (getTacetorProcessor().getParameter (parameterIndex) > 0.0f, juce::dontSendNotification);
    button.addListener (this);
}

void PelmoraTacetorAudioProcessorEditor::addKnob (OrvaneKnob& knob, const PedalGeometry::Control& control, int parameterIndex)
{
    auto& tacetor = getTacetorProcessor();

    addStrip (*this, knob, control);
    knob.setValue (tacetor.getParameter (parameterIndex), juce::dontSendNotification);
    knob.setDoubleClickReturnValue (true, tacetor.getParameterDefaultValue (parameterIndex));

    // Still unparented while being built, so the value bubble opens as a desktop window of
    // its own, which a host's window cannot clip.
    knob.setPopupDisplayEnabled (true, false, getParentComponent());
    knob.addListener (this);

    // Screen readers say what the host says. The knob writes its value straight into the
    // processor, so after a change both texts agree at once.
    knob.setAccessibleValueText ([&tacetor, parameterIndex]
                                 { return tacetor.getParameterText (parameterIndex); });
}

void PelmoraTacetorAudioProcessorEditor::makeReachable (juce::Component& control, const juce::String& title, int focusOrder)
{
    control.setTitle (title);
    control.setExplicitFocusOrder (focusOrder);
}

void PelmoraTacetorAudioProcessorEditor::paint (juce::Graphics& g)
{
    backgroundImage_.drawFrame (g, 0, { backgroundImage_.getFrameWidth(), backgroundImage_.getFrameHeight() });
}

bool PelmoraTacetorAudioProcessorEditor::keyPressed (const juce::KeyPress& key)
{
    const auto mods = key.getModifiers();

    if (key.getKeyCode() == juce::KeyPress::tabKey && ! (mods.isCtrlDown() || mods.isAltDown() || mods.isCommandDown()))
    {
        // Taken even while the card is up, so that the framework does not move the focus
        // onto a control under it.
        if (! aboutContainer_->isVisible())
            moveFocusAlongControls (! mods.isShiftDown());

        return true;
    }

    if (key == juce::KeyPress (juce::KeyPress::escapeKey) && hasKeyboardFocus (true) && ! hasKeyboardFocus (false))
    {
        grabKeyboardFocus();
        return true;
    }

    return false;
}

void PelmoraTacetorAudioProcessorEditor::focusGained (FocusChangeType cause)
{
    if (cause == focusChangedByTabKey && ! aboutContainer_->isVisible())
        moveFocusAlongControls (true);
}

void PelmoraTacetorAudioProcessorEditor::moveFocusAlongControls (bool forwards)
{
    // The traverser lists the controls that take the focus, in their explicit order.
    const auto controls = createKeyboardFocusTraverser()->getAllComponents (this);

    if (controls.empty())
        return;

    const auto count = static_cast<long> (controls.size());
    const auto at = std::find (controls.begin(), controls.end(), getCurrentlyFocusedComponent()) - controls.begin();
    const auto next = at == count ? (forwards ? 0 : count - 1)
                                  : (at + (forwards ? 1 : count - 1)) % count;
    controls[static_cast<size_t> (next)]->grabKeyboardFocus();
}

std::unique_ptr<juce::AccessibilityHandler> PelmoraTacetorAudioProcessorEditor::createAccessibilityHandler()
{
    return std::make_unique<juce::AccessibilityHandler> (*this, juce::AccessibilityRole::group);
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
        showAboutCard();
    }
}

void PelmoraTacetorAudioProcessorEditor::showAboutCard()
{
    if (hasKeyboardFocus (true))
        grabKeyboardFocus();

    aboutContainer_->setVersionText (versionText());
    aboutContainer_->showPanel();
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
