#include "FxBase.h"

float FxBase::getParameter (int index) const
{
    // Callers pass valid indices; a bad one must still not read outside the array.
    if (parameters_ == nullptr || index < 0 || index >= numParameters_)
        return 0.0f;

    return parameters_[index];
}

float* FxBase::getParameters() { return parameters_; }
int FxBase::getNumParameters() const { return numParameters_; }
void FxBase::setMaxBlockSize (int size) { maxBlockSize_ = size; }
int FxBase::getMaxBlockSize() const { return maxBlockSize_; }
void FxBase::setTempo (float tempo) { tempo_ = tempo; }
float FxBase::getTempo() const { return tempo_; }
