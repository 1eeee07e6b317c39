#pragma once

/**
    Root of the effect-module chain: a sample rate, a display name and the reset hooks.

    Modules work on plain float arrays and know nothing of the framework's audio classes.
    A module is driven by one thread at a time (its owner's prepare path, then the audio
    thread); nothing in the chain locks or waits.
*/
class DspBase
{
public:
    /** Sample rate 44100 Hz, no name. */
    DspBase() = default;
    virtual ~DspBase() = default;

    DspBase (const DspBase&) = delete;
    DspBase& operator= (const DspBase&) = delete;

    /** Stores the sample rate in Hz. Nothing derived from it is recomputed: the owner pushes
        the parameters again and prepares after changing it. */
    virtual void setSampleRate (float sampleRate);

    /** The sample rate in Hz last stored. */
    virtual float getSampleRate() const;

    /** The module's display name; "" when none was set. Never null. */
    virtual const char* getName() const;

    /** Calls resetState(), then resetExtraState(). */
    virtual void reset();

    /** Clears the running state (envelopes and the like). Does nothing here. */
    virtual void resetState();

    /** Clears any further state a module keeps. Does nothing here. */
    virtual void resetExtraState();

    /** Takes over pending switch changes. Does nothing here. */
    virtual void applyChanges();

protected:
    /** Sets the display name; the text must outlive the module (a string literal). */
    void setName (const char* name) noexcept { name_ = name; }

    float sampleRate_ = 44100.0f;

private:
    const char* name_ = nullptr;
};
