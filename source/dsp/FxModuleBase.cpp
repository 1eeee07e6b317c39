#include "FxModuleBase.h"

FxModuleBase::FxModuleBase() { setName ("FxModuleBase"); }
