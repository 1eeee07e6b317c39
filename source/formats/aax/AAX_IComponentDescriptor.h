#pragma once

#include "AAX_IPropertyMap.h"

/** One processing component of an effect: a fixed input/output layout with its IDs. Owned by
    the effect descriptor that handed it out. Called during registration only. */
class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;

    /** A new, empty property map owned by this component; null when none can be made. */
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;

    /** Declares the component's (native and AudioSuite) processing with these properties. */
    virtual aax::Result AddProcessProc (AAX_IPropertyMap* properties) = 0;
};
