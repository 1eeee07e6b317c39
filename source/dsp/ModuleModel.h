#pragma once

#include "FxBase.h"

#include <juce_events/juce_events.h>

/**
    An effect module with channel counts, a few plain settings and a process() that
    dispatches one block by input channel count.

    The broadcaster base is there for modules that report to a user interface; nothing in
    this plug-in registers a listener or sends through it, so its lock is never taken.
    Construct on the message thread's side of the program (after the framework started).
*/
class ModuleModel : public FxBase,
                    public juce::ActionBroadcaster
{
public:
    /** Processing is supplied by concrete modules; these do nothing. */
    void processStereo (float* left, float* right, int numSamples) override;
    void processMono (float* samples, int numSamples) override;

    /** The channel count process() dispatches on; 1 after construction. */
    virtual void setNumInputChannels (int numChannels);
    virtual int getNumInputChannels() const;

    /** A second channel count, only stored; 1 after construction. */
    virtual void setNumOutputChannels (int numChannels);
    virtual int getNumOutputChannels() const;

    /** Whether the module has its optional feature; false here. */
    virtual bool hasOption() const;

    /** Plain integer settings for the owner's bookkeeping; 0 after construction. */
    virtual void setTagA (int tag);
    virtual int getTagA() const;
    virtual void setTagB (int tag);
    virtual int getTagB() const;

    /** A plain flag for the owner's bookkeeping; false after construction. */
    virtual bool isMarked() const;
    virtual void setMarked();
    virtual void clearMarked();

    /** Processes one block in place by input channel count: 1 runs processMono on first
        and copies the result into second; 2 runs processStereo; any other count leaves
        both buffers alone. Audio thread. */
    virtual void process (float* first, float* second, int numSamples);

protected:
    ModuleModel();

private:
    bool marked_ = false;
    int tagA_ = 0;
    int tagB_ = 0;
    int numInputChannels_ = 1;
    int numOutputChannels_ = 1;
};
