#pragma once

#include "PelmoraTacetorAudioProcessor.h"

/** The processor with every bus layout allowed. The formats offer only 2/2 and 1/1, but the
    audio callback still handles 1-in/2-out and 2-in/1-out; tests of that path use this. */
struct AnyLayoutProcessor : PelmoraTacetorAudioProcessor
{
    bool isBusesLayoutSupported (const BusesLayout&) const override { return true; }
};
