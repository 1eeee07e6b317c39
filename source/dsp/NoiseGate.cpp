#include "NoiseGate.h"

#include "GateCore.h"

#include <algorithm>
#include <cmath>

#include <emmintrin.h>

namespace
{
constexpr float defaults[NoiseGate::numGateParameters] = { 1.0f, 0.0f, 0.0f, 0.134f, 0.367f };
constexpr const char* names[NoiseGate::numGateParameters] = { "Bypass", "DualMonoOn", "Threshold", "Attack", "Decay" };

bool isGateIndex (int index) noexcept
{
    return static_cast<unsigned> (index) < static_cast<unsigned> (NoiseGate::numGateParameters);
}

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
void NoiseGate::setThreshold (float value) { threshold_ = thresholdLevel (value); }
void NoiseGate::setAttack (float value) { attackCoeff_ = envelopeCoefficient (value, attackFullScaleMs, sampleRate_); }
void NoiseGate::setDecay (float value) { decayCoeff_ = envelopeCoefficient (value, decayFullScaleMs, sampleRate_); }

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
    processInPlace (left, right, numSamples, dualMono_ ? Layout::dualMono : Layout::linked);
}

void NoiseGate::processMono (float* samples, int numSamples)
{
    processInPlace (samples, nullptr, numSamples, Layout::mono);
}

void NoiseGate::processInPlace (float* first, float* second, int numSamples, Layout layout)
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

        gate (first, second, faded, layout);
        mixFade (first, dryCopyA_.get(), faded);

        if (second != nullptr)
            mixFade (second, dryCopyB_.get(), faded);

        advanceFade (faded);
    }

    // The rest of a block in which a fade ended is treated as the next block would be: gated
    // after a fade-in, untouched (envelopes frozen) after a fade-out. The output then does not
    // depend on where the host's blocks begin.
    if (fadeState_ == Active)
        gate (first + faded, second == nullptr ? nullptr : second + faded, numSamples - faded, layout);
}

void NoiseGate::gate (float* first, float* second, int numSamples, Layout layout) noexcept
{
    const GateCore core { threshold_, attackCoeff_, decayCoeff_ };

    switch (layout)
    {
        case Layout::mono:
            core.processMono (first, numSamples, envelopeA_);
            envelopeB_ = envelopeA_;
            break;
        case Layout::linked:
            core.processLinked (first, second, numSamples, envelopeA_);
            envelopeB_ = envelopeA_;
            break;
        case Layout::dualMono:
            core.processDualMono (first, second, numSamples, envelopeA_, envelopeB_);
            break;
    }
}

void NoiseGate::mixFade (float* samples, const float* dry, int numSamples) const noexcept
{
    // Sample k of the fade mixes with the rising weight (m + k) / L, where m / L is the weight
    // now: the weights move in steps of 1 / L (a power of two) from an exact 0 or 1, and every
    // multiple of 1 / L up to 1 is a float, so adding the step k times gives exactly the
    // product computed here, and the falling weight is exactly (L - m - k) / L (step counts
    // below 2^24 are exact floats too). The caller never mixes past the sample with the full
    // weight. Computed this way, four samples' weights need no chain of additions.
    const bool fadingIn = fadeState_ == FadingIn;
    const float stepsDone = (fadingIn ? wetGain_ : dryGain_) * static_cast<float> (fadeLength_);
    const __m128 step = _mm_set1_ps (fadeStep_);
    const __m128 allSteps = _mm_set1_ps (static_cast<float> (fadeLength_));
    __m128 risingSteps = _mm_add_ps (_mm_set1_ps (stepsDone), _mm_setr_ps (0.0f, 1.0f, 2.0f, 3.0f));
    int i = 0;

    for (; i + 4 <= numSamples; i += 4)
    {
        const __m128 rising = _mm_mul_ps (risingSteps, step);
        const __m128 falling = _mm_mul_ps (_mm_sub_ps (allSteps, risingSteps), step);
        const __m128 wet = fadingIn ? rising : falling;
        const __m128 dryWeight = fadingIn ? falling : rising;
        _mm_storeu_ps (samples + i, _mm_add_ps (_mm_mul_ps (_mm_loadu_ps (samples + i), wet), _mm_mul_ps (_mm_loadu_ps (dry + i), dryWeight)));
        risingSteps = _mm_add_ps (risingSteps, _mm_set1_ps (4.0f));
    }

    for (; i < numSamples; ++i)
    {
        const float rising = (stepsDone + static_cast<float> (i)) * fadeStep_;
        const float falling = (static_cast<float> (fadeLength_) - stepsDone - static_cast<float> (i)) * fadeStep_;
        samples[i] = samples[i] * (fadingIn ? rising : falling) + dry[i] * (fadingIn ? falling : rising);
    }
}

void NoiseGate::advanceFade (int numSamples) noexcept
{
    float& rising = fadeState_ == FadingIn ? wetGain_ : dryGain_;
    float& falling = fadeState_ == FadingIn ? dryGain_ : wetGain_;

    if (numSamples == samplesLeftInFade())
    {
        rising = 1.0f;
        falling = 0.0f;
        fadeState_ = fadeState_ == FadingIn ? Active : Bypassed;
        return;
    }

    // Exact for the same reasons as the weights in mixFade().
    const float stepsDone = rising * static_cast<float> (fadeLength_) + static_cast<float> (numSamples);
    rising = stepsDone * fadeStep_;
    falling = (static_cast<float> (fadeLength_) - stepsDone) * fadeStep_;
}
