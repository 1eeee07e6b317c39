#pragma once

#include "ModuleModel.h"
#include "SkewCurve.h"

#include <memory>

/**
    The plug-in's noise gate: silences the signal while its level stays at or below a
    threshold, with one-pole attack and decay envelopes on the gain, linked or dual-mono
    stereo, and a click-free crossfade when its on switch changes.

    Parameters (normalised 0..1): 0 "Bypass" (the on switch: above 0 means the gate works,
    default 1), 1 "DualMonoOn" (default 0), 2 "Threshold" (default 0), 3 "Attack" (0..200 ms,
    default 0.134), 4 "Decay" (0..2000 ms, default 0.367).

    Threading: one thread at a time. The owner prepares it while no audio runs
    (setSampleRate, setMaxBlockSize, reset, setParameter for every index, prepare), then on
    the audio thread pushes changed values (setParameter + parameterChanged) and processes.
    Processing allocates only for a block longer than the prepared largest block.
*/
class NoiseGate : public ModuleModel
{
public:
    /** The crossfade machine's states. */
    enum FadeState : int
    {
        Bypassed = 0,
        FadingIn = 1,
        Active = 2,
        FadingOut = 3
    };

    static constexpr int numGateParameters = 5;

    /** The attack and decay time constants at a normalised 1, in ms; skewCurve (v) of them below. */
    static constexpr float attackFullScaleMs = 200.0f;
    static constexpr float decayFullScaleMs = 2000.0f;

    /** The threshold's linear amplitude for a normalised value, skewCurve (v * v): the lower
        half of the range covers the quiet end. Float or double. Any thread. */
    template <typename Value>
    static Value thresholdLevel (Value value) noexcept { return skewCurve (value * value); }

    /** Builds the gate with every parameter at its default, coefficients for 44.1 kHz and
        both envelopes at 0. Call prepare() before processing. */
    NoiseGate();
    ~NoiseGate() override;

    /** Stores the rate in Hz only; push the parameters again and prepare() to apply it. */
    void setSampleRate (float sampleRate) override;

    /** Sets both envelopes to 0 (gate fully closed). */
    void resetState() override;
    void resetExtraState() override;

    /** Starts a crossfade when the on switch changed since it was last taken over; a fade
        that reverses mid-way continues from the current mix. */
    void applyChanges() override;

    /** Gates a stereo block in place: one detector on the louder channel, or one per
        channel in dual mono. Out of circuit the block passes untouched and the envelopes
        freeze, from the very sample at which a fade-out ends, so the result is the same
        however the host splits its blocks. Audio thread; a negative count does nothing. */
    void processStereo (float* left, float* right, int numSamples) override;

    /** Gates one channel in place like processStereo(); dual mono is ignored. Audio thread. */
    void processMono (float* samples, int numSamples) override;

    /** Stores a normalised value (index 0..4; others are ignored) and derives the working
        value: on switch, dual mono, linear threshold or envelope coefficient. */
    void setParameter (int index, float value) override;

    /** Index 0 starts the crossfade like applyChanges(); other indices need nothing. */
    void parameterChanged (int index) override;

    /** Defaults 1, 0, 0, 0.134, 0.367; 0 for an unknown index. */
    float getParameterDefault (int index) const override;

    /** "Bypass", "DualMonoOn", "Threshold", "Attack", "Decay"; "" for an unknown index. */
    const char* getParameterName (int index) const override;

    /** Stores the size and reallocates both dry copies to size floats, zeroed. Allocates:
        call it from the prepare path (processing calls it only for an oversized block). */
    void setMaxBlockSize (int size) override;

    /** Latches the on switch without a fade and picks the fade length from the sample
        rate: 1024 samples below 34050 Hz, 2048 below 68000, 4096 below 136000, else 8192. */
    void prepare() override;

    /** Parameter setters behind setParameter, usable directly. */
    void setActive (float value);
    void setDualMono (bool enabled);
    void setThreshold (float value);
    void setAttack (float value);
    void setDecay (float value);

    /** Working values, for the owner's tests and displays. */
    float getThresholdLinear() const noexcept { return threshold_; }
    float getAttackCoefficient() const noexcept { return attackCoeff_; }
    float getDecayCoefficient() const noexcept { return decayCoeff_; }
    float getEnvelopeA() const noexcept { return envelopeA_; }
    float getEnvelopeB() const noexcept { return envelopeB_; }
    FadeState getFadeState() const noexcept { return fadeState_; }
    int getFadeLength() const noexcept { return fadeLength_; }
    float getWetGain() const noexcept { return wetGain_; }
    float getDryGain() const noexcept { return dryGain_; }

private:
    /** How the channels of a block are gated: one channel, a pair under one envelope, or a
        pair under one envelope each. */
    enum class Layout
    {
        mono,
        linked,
        dualMono
    };

    void processInPlace (float* first, float* second, int numSamples, Layout layout);
    void gate (float* first, float* second, int numSamples, Layout layout) noexcept;
    void mixFade (float* samples, const float* dry, int numSamples) const noexcept;
    void advanceFade (int numSamples) noexcept;
    int samplesLeftInFade() const noexcept;

    std::unique_ptr<float[]> parameterStore_;

    bool activeRequested_ = true;
    bool activeApplied_ = true;
    float threshold_ = 0.0f;
    float attackCoeff_ = 0.0f;
    float decayCoeff_ = 0.0f;
    float envelopeA_ = 0.0f;
    float envelopeB_ = 0.0f;
    bool dualMono_ = false;
    std::unique_ptr<float[]> dryCopyA_;
    std::unique_ptr<float[]> dryCopyB_;
    FadeState fadeState_ = Active;
    int fadeLength_ = 2048;
    float fadeStep_ = 1.0f / 2048.0f;
    float wetGain_ = 1.0f;
    float dryGain_ = 0.0f;
};
