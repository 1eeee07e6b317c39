#pragma once

#include "AaxTypes.h"

/** Properties of one processing component: IDs, stem formats and host capabilities. Owned by
    the component descriptor that handed it out. Called during registration only. */
class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;

    /** Sets property to value (replacing an earlier value). */
    virtual aax::Result AddProperty (aax::Property property, std::int32_t value) = 0;
};
