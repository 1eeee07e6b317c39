#pragma once

#include "DspBase.h"

/** Marks an effect module in the chain. Adds nothing but its name; never a finished object
    by itself. */
class FxModuleBase : public DspBase
{
protected:
    FxModuleBase();
};
