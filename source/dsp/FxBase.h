#pragma once

#include "FxModuleBase.h"

/**
    An effect module with normalised parameters, a largest block size and the processing
    operations its owner calls.

    The concrete module owns the parameter array: it allocates it in its constructor, sets
    numParameters_ and frees it in its destructor. All values are normalised to 0..1.
*/
class FxBase : public FxModuleBase
{
public:
    /** Gates, filters or otherwise processes a stereo block in place. Audio thread. */
    virtual void processStereo (float* left, float* right, int numSamples) = 0;

    /** Processes a mono block in place. Audio thread. */
    virtual void processMono (float* samples, int numSamples) = 0;

    /** Stores a normalised value and derives the module's working value from it. */
    virtual void setParameter (int index, float value) = 0;

    /** Tells the module that the value at index changed while running; the owner calls it
        right after setParameter on the audio thread. */
    virtual void parameterChanged (int index) = 0;

    /** The default normalised value of a parameter. */
    virtual float getParameterDefault (int index) const = 0;

    /** The stored normalised value at index; 0 without a parameter array or for an index
        outside 0..getNumParameters()-1. */
    virtual float getParameter (int index) const;

    /** The parameter array itself (may be null). */
    virtual float* getParameters();

    /** The parameter's name; "" for an unknown index. Never null. */
    virtual const char* getParameterName (int index) const = 0;

    /** Number of parameters. */
    virtual int getNumParameters() const;

    /** The largest number of samples per channel one processing call may bring without
        the module allocating. */
    virtual void setMaxBlockSize (int size);
    virtual int getMaxBlockSize() const;

    /** Tempo in beats per minute, 120 until set; kept for modules that need it. */
    virtual void setTempo (float tempo);
    virtual float getTempo() const;

    /** Readies the module to run; the owner calls it last, after sample rate, block size
        and every parameter value were pushed. Not on the audio thread. */
    virtual void prepare() = 0;

protected:
    FxBase() = default;

    float* parameters_ = nullptr;
    int numParameters_ = 0;
    int maxBlockSize_ = 0;
    float tempo_ = 120.0f;
};
