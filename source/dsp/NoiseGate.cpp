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

/** One envelope step towards the open or closed target; returns the gain for the sample. */
inline float stepEnvelope (float& envelope, bool above, float attackCoeff, float decayCoeff) noexcept
{
    const float target = above ? openTarget : closedTarget;
    const float coeff = target > envelope ? attackCoeff : decayCoeff;
    envelope = target + (envelope - target) * coeff;
    return envelope - epsilon;
}

/** exp (-1 / (T * rate)) for a time constant of fullScaleMs * skewCurve (value) ms; 0 (instant)
    for a value of 0 or below. */
float envelopeCoefficient (float value, float fullScaleMs, float sampleRate) noexcept
{
    if (! (value > 0.0f))
        return 0.0f;

    return std::exp (-1000.0f / (skewCurve (value) * fullScaleMs * sampleRate));
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
    maxBlockSize_ = size;
    dryCopyA_.reset();
    dryCopyB_.reset();

    const auto count = static_cast<size_t> (std::max (size, 0));
    dryCopyA_.reset (new float[count]());
    dryCopyB_.reset (new float[count]());
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

void NoiseGate::processStereo (float* left, float* right, int numSamples)
{
    if (numSamples > maxBlockSize_)
        setMaxBlockSize (numSamples);

    const auto gate = [&] {
        if (dualMono_)
            gateDualMono (left, right, numSamples);
        else
            gateLinked (left, right, numSamples);
    };

    switch (fadeState_)
    {
        case Active:
            gate();
            return;

        case Bypassed:
            return;

        case FadingIn:
        case FadingOut:
        default:
            std::copy (left, left + numSamples, dryCopyA_.get());
            std::copy (right, right + numSamples, dryCopyB_.get());
            gate();
            mixFade (left, dryCopyA_.get(), right, dryCopyB_.get(), numSamples);
            return;
    }
}

void NoiseGate::processMono (float* samples, int numSamples)
{
    if (numSamples > maxBlockSize_)
        setMaxBlockSize (numSamples);

    switch (fadeState_)
    {
        case Active:
            gateMono (samples, numSamples);
            return;

        case Bypassed:
            return;

        case FadingIn:
        case FadingOut:
        default:
            std::copy (samples, samples + numSamples, dryCopyA_.get());
            gateMono (samples, numSamples);
            mixFade (samples, dryCopyA_.get(), nullptr, nullptr, numSamples);
            return;
    }
}

void NoiseGate::gateMono (float* samples, int numSamples) noexcept
{
    float envelope = envelopeA_;

    for (int i = 0; i < numSamples; ++i)
        samples[i] *= stepEnvelope (envelope, std::abs (samples[i]) > threshold_, attackCoeff_, decayCoeff_);

    envelopeA_ = envelope;
    envelopeB_ = envelope;
}

void NoiseGate::gateLinked (float* left, float* right, int numSamples) noexcept
{
    float envelope = envelopeA_;

    for (int i = 0; i < numSamples; ++i)
    {
        const float levelLeft = std::abs (left[i]);
        const float levelRight = std::abs (right[i]);
        const float level = levelLeft > levelRight ? levelLeft : levelRight;
        const float gain = stepEnvelope (envelope, level > threshold_, attackCoeff_, decayCoeff_);
        left[i] *= gain;
        right[i] *= gain;
    }

    envelopeA_ = envelope;
    envelopeB_ = envelope;
}

void NoiseGate::gateDualMono (float* left, float* right, int numSamples) noexcept
{
    float envelopeLeft = envelopeA_;
    float envelopeRight = envelopeB_;

    for (int i = 0; i < numSamples; ++i)
    {
        left[i] *= stepEnvelope (envelopeLeft, std::abs (left[i]) > threshold_, attackCoeff_, decayCoeff_);
        right[i] *= stepEnvelope (envelopeRight, std::abs (right[i]) > threshold_, attackCoeff_, decayCoeff_);
    }

    envelopeA_ = envelopeLeft;
    envelopeB_ = envelopeRight;
}

void NoiseGate::mixFade (float* samples, const float* dry, float* other, const float* otherDry, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
    {
        samples[i] = samples[i] * wetGain_ + dry[i] * dryGain_;

        if (other != nullptr)
            other[i] = other[i] * wetGain_ + otherDry[i] * dryGain_;

        advanceFade();
    }
}

void NoiseGate::advanceFade() noexcept
{
    if (fadeState_ == FadingIn)
    {
        if (wetGain_ < 1.0f)
        {
            wetGain_ += fadeStep_;
            dryGain_ -= fadeStep_;
        }
        else
        {
            wetGain_ = 1.0f;
            dryGain_ = 0.0f;
            fadeState_ = Active;
        }
    }
    else if (fadeState_ == FadingOut)
    {
        if (dryGain_ < 1.0f)
        {
            dryGain_ += fadeStep_;
            wetGain_ -= fadeStep_;
        }
        else
        {
            dryGain_ = 1.0f;
            wetGain_ = 0.0f;
            fadeState_ = Bypassed;
        }
    }
}
