#include "DspBase.h"

void DspBase::setSampleRate (float sampleRate) { sampleRate_ = sampleRate; }
float DspBase::getSampleRate() const { return sampleRate_; }
const char* DspBase::getName() const { return name_ != nullptr ? name_ : ""; }

void DspBase::reset()
{
    resetState();
    resetExtraState();
}

void DspBase::resetState() {}
void DspBase::resetExtraState() {}
void DspBase::applyChanges() {}
