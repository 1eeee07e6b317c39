#include "NoiseGate.h"

#include "SkewCurve.h"

#include <algorithm>
#include <cmath>

namespace
{
// The targets sit a hair above 0 so that a closing envelope never sinks into subnormal
// numbers, whatever the processor's flush-to-zero mode.
constexpr float epsilon = 1e-20f;
constexpr float openTarget = 1.0f + epsilon; // exactly 1.0f in single precision
constexpr float closedTarget = epsilon;

constexpr float defaults[NoiseGate::numGateParameters] = { 1.0f, 0.0f, 0.0f, 0.134f, 0.367f };
constexpr const char* names[NoiseGate::numGateParameters] = { "Bypass", "DualMonoOn", "Threshold", "Attack", "Decay" };

bool isGateIndex (int index) noexcept
{
    return static_cast<unsigned> (index) < static_cast<unsigned> (NoiseGate::numGateParameters);
}

/** The working values of the gate core, copied out of the module for one block so that the
    compiler can keep them in registers while it writes the samples. */
struct Core
{
    float threshold, attackCoeff, decayCoeff;

    /** One envelope step towards the open or closed target; returns the gain for the sample. */
    float step (float& envelope, float level) const noexcept
    {
        // A level equal to the threshold counts as below; so does a level that is not a number.
        const float target = level > threshold ? openTarget : closedTarget;
        const float coeff = target > envelope ? attackCoeff : decayCoeff;
        envelope = target + (envelope - target) * coeff;
        return envelope - epsilon;
    }
};

/** exp (-1 / (T * rate)) for a time constant of fullScaleMs * skewCurve (value) ms; 0 (instant)
    for a value of 0 or below. */
float envelopeCoefficient (float value, float fullScaleMs, float sampleRate) noexcept
{
    if (! (value > 0.0f))
        return 0.0f;

    const float coeff = std::exp (-1000.0f / (skewCurve (value) * fullScaleMs * sampleRate));

    // A rate that is negative or not a number would give a coefficient above 1 or NaN, and the
    // envelope would run away or stay NaN for good; such a rate gets an instant response.
    return coeff <= 1.0f ? coeff : 0.0f;
}

/** Moves the crossfade on by one sample: the rising weight by one step towards 1, the falling
    one down by the same step, and the state to its end once the rising weight has arrived. */
inline void advanceFade (NoiseGate::FadeState& state, float& rising, float& falling, float step) noexcept
{
    if (rising < 1.0f)
    {
        rising += step;
        falling -= step;
    }
    else
    {
        rising = 1.0f;
        falling = 0.0f;
        state = state == NoiseGate::FadingIn ? NoiseGate::Active : NoiseGate::Bypassed;
    }
}
} // namespace

NoiseGate::NoiseGate()
    : parameterStore_ (new float[numGateParameters]())
{
    parameters_ = parameterStore_.get();
    numParameters_ = numGateParameters;
    setName ("Noise Gate");

    for (int index = 0; index < numGateParameters; ++index)
        setParameter (index, defaults[index]);

    resetState();
    resetExtraState();
}

NoiseGate::~NoiseGate()
{
    parameters_ = nullptr;
}

void NoiseGate::setSampleRate (float sampleRate) { sampleRate_ = sampleRate; }

void NoiseGate::resetState()
{
    envelopeA_ = 0.0f;
    envelopeB_ = 0.0f;
}

void NoiseGate::resetExtraState() {}

void NoiseGate::applyChanges()
{
    if (activeApplied_ == activeRequested_)
        return;

    fadeState_ = activeRequested_ ? FadingIn : FadingOut;
    activeApplied_ = activeRequested_;
}

void NoiseGate::setParameter (int index, float value)
{
    if (! isGateIndex (index))
        return;

    parameters_[index] = value;

    switch (index)
    {
        case 0: setActive (value); break;
        case 1: setDualMono (value > 0.0f); break;
        case 2: setThreshold (value); break;
        case 3: setAttack (value); break;
        case 4: setDecay (value); break;
        default: break;
    }
}

void NoiseGate::parameterChanged (int index)
{
    if (index == 0)
        applyChanges();
}

float NoiseGate::getParameterDefault (int index) const
{
    return isGateIndex (index) ? defaults[index] : 0.0f;
}

const char* NoiseGate::getParameterName (int index) const
{
    return isGateIndex (index) ? names[index] : "";
}

void NoiseGate::setActive (float value) { activeRequested_ = value > 0.0f; }
void NoiseGate::setDualMono (bool enabled) { dualMono_ = enabled; }
void NoiseGate::setThreshold (float value) { threshold_ = skewCurve (value * value); }
void NoiseGate::setAttack (float value) { attackCoeff_ = envelopeCoefficient (value, 200.0f, sampleRate_); }
void NoiseGate::setDecay (float value) { decayCoeff_ = envelopeCoefficient (value, 2000.0f, sampleRate_); }

void NoiseGate::setMaxBlockSize (int size)
{
    dryCopyA_.reset();
    dryCopyB_.reset();

    // The size is taken over only once both copies exist: should an allocation fail, the
    // module is left with a largest block of 0 and tries again on the next block.
    maxBlockSize_ = 0;
    const auto count = static_cast<size_t> (std::max (size, 0));
    dryCopyA_.reset (new float[count]());
    dryCopyB_.reset (new float[count]());
    maxBlockSize_ = size;
}

void NoiseGate::prepare()
{
    activeApplied_ = activeRequested_;
    fadeState_ = activeApplied_ ? Active : Bypassed;
    wetGain_ = activeApplied_ ? 1.0f : 0.0f;
    dryGain_ = activeApplied_ ? 0.0f : 1.0f;

    // Powers of two, so that the fade's steps add up to exactly 1. A rate that is not a
    // number fails every comparison and gets the longest fade.
    if (sampleRate_ < 34050.0f)
        fadeLength_ = 1024;
    else if (sampleRate_ < 68000.0f)
        fadeLength_ = 2048;
    else if (sampleRate_ < 136000.0f)
        fadeLength_ = 4096;
    else
        fadeLength_ = 8192;

    fadeStep_ = 1.0f / static_cast<float> (fadeLength_);
    applyChanges();
}

int NoiseGate::samplesLeftInFade() const noexcept
{
    // The rising weight moves in exact steps of 1 / fadeLength_ (a power of two) from an exact
    // 0 or 1, so this count is exact: the steps still to go, plus the sample that carries the
    // full weight and after which the state changes.
    const float rising = fadeState_ == FadingIn ? wetGain_ : dryGain_;
    return std::max (static_cast<int> (std::ceil ((1.0f - rising) / fadeStep_)), 0) + 1;
}

void NoiseGate::processStereo (float* left, float* right, int numSamples)
{
    processInPlace (left, right, numSamples, dualMono_ ? &NoiseGate::gateDualMono : &NoiseGate::gateLinked);
}

void NoiseGate::processMono (float* samples, int numSamples)
{
    processInPlace (samples, nullptr, numSamples, &NoiseGate::gateMono);
}

void NoiseGate::processInPlace (float* first, float* second, int numSamples, GateCore gate)
{
    if (numSamples < 0)
        return;

    if (numSamples > maxBlockSize_)
        setMaxBlockSize (numSamples);

    if (fadeState_ == Bypassed)
        return;

    int faded = 0;

    if (fadeState_ != Active)
    {
        faded = std::min (numSamples, samplesLeftInFade());
        std::copy (first, first + faded, dryCopyA_.get());

        if (second != nullptr)
            std::copy (second, second + faded, dryCopyB_.get());

        (this->*gate) (first, second, faded);
        mixFade (first, dryCopyA_.get(), second, dryCopyB_.get(), faded);
    }

    // The rest of a block in which a fade ended is treated as the next block would be: gated
    // after a fade-in, untouched (envelopes frozen) after a fade-out. The output then does not
    // depend on where the host's blocks begin.
    if (fadeState_ == Active)
        (this->*gate) (first + faded, second == nullptr ? nullptr : second + faded, numSamples - faded);
}

void NoiseGate::gateMono (float* samples, float*, int numSamples) noexcept
{
    const Core core { threshold_, attackCoeff_, decayCoeff_ };
    float envelope = envelopeA_;

    for (int i = 0; i < numSamples; ++i)
        samples[i] *= core.step (envelope, std::abs (samples[i]));

    envelopeA_ = envelope;
    envelopeB_ = envelope;
}

void NoiseGate::gateLinked (float* left, float* right, int numSamples) noexcept
{
    const Core core { threshold_, attackCoeff_, decayCoeff_ };
    float envelope = envelopeA_;

    for (int i = 0; i < numSamples; ++i)
    {
        const float levelLeft = std::abs (left[i]);
        const float levelRight = std::abs (right[i]);
        const float gain = core.step (envelope, levelLeft > levelRight ? levelLeft : levelRight);
        left[i] *= gain;
        right[i] *= gain;
    }

    envelopeA_ = envelope;
    envelopeB_ = envelope;
}

void NoiseGate::gateDualMono (float* left, float* right, int numSamples) noexcept
{
    const Core core { threshold_, attackCoeff_, decayCoeff_ };
    float envelopeLeft = envelopeA_;
    float envelopeRight = envelopeB_;

    for (int i = 0; i < numSamples; ++i)
    {
        left[i] *= core.step (envelopeLeft, std::abs (left[i]));
        right[i] *= core.step (envelopeRight, std::abs (right[i]));
    }

    envelopeA_ = envelopeLeft;
    envelopeB_ = envelopeRight;
}

void NoiseGate::mixFade (float* samples, const float* dry, float* other, const float* otherDry, int numSamples) noexcept
{
    auto state = fadeState_;
    float wet = wetGain_;
    float dryGain = dryGain_;
    float& rising = state == FadingIn ? wet : dryGain;
    float& falling = state == FadingIn ? dryGain : wet;

    for (int i = 0; i < numSamples; ++i)
    {
        samples[i] = samples[i] * wet + dry[i] * dryGain;

        if (other != nullptr)
            other[i] = other[i] * wet + otherDry[i] * dryGain;

        advanceFade (state, rising, falling, fadeStep_);
    }

    fadeState_ = state;
    wetGain_ = wet;
    dryGain_ = dryGain;
}
