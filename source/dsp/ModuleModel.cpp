#include "ModuleModel.h"

#include <algorithm>

ModuleModel::ModuleModel() { setName ("ModuleModel"); }

void ModuleModel::processStereo (float*, float*, int) {}
void ModuleModel::processMono (float*, int) {}

void ModuleModel::setNumInputChannels (int numChannels) { numInputChannels_ = numChannels; }
int ModuleModel::getNumInputChannels() const { return numInputChannels_; }
void ModuleModel::setNumOutputChannels (int numChannels) { numOutputChannels_ = numChannels; }
int ModuleModel::getNumOutputChannels() const { return numOutputChannels_; }
bool ModuleModel::hasOption() const { return false; }
void ModuleModel::setTagA (int tag) { tagA_ = tag; }
int ModuleModel::getTagA() const { return tagA_; }
void ModuleModel::setTagB (int tag) { tagB_ = tag; }
int ModuleModel::getTagB() const { return tagB_; }
bool ModuleModel::isMarked() const { return marked_; }
void ModuleModel::setMarked() { marked_ = true; }
void ModuleModel::clearMarked() { marked_ = false; }

void ModuleModel::process (float* first, float* second, int numSamples)
{
    switch (getNumInputChannels())
    {
        case 1:
            processMono (first, numSamples);
            std::copy_n (first, numSamples, second); // copies nothing for a count below 1
            break;

        case 2:
            processStereo (first, second, numSamples);
            break;

        default:
            break;
    }
}
