#pragma once

#include "AAX_IComponentDescriptor.h"

/** Describes one effect: its names, category, components, bypass parameter and chunk. Owned by
    the collection that handed it out. Called during registration only. */
class AAX_IEffectDescriptor
{
public:
    virtual ~AAX_IEffectDescriptor() = default;

    /** Adds a name; hosts pick the longest that fits, so the short one comes first. */
    virtual aax::Result AddName (const char* name) = 0;

    /** Adds category bits (2: dynamics). */
    virtual aax::Result AddCategory (std::uint32_t category) = 0;

    /** A new component descriptor owned by this effect; null when none can be made. */
    virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;

    /** Adds a described component to the effect. */
    virtual aax::Result AddComponent (AAX_IComponentDescriptor* component) = 0;

    /** The parameter the host's master bypass drives: its ID and its display name. */
    virtual aax::Result SetMasterBypassParameter (const char* identifier, const char* name) = 0;

    /** The four-character ID of the settings chunk the plug-in stores in sessions. */
    virtual aax::Result AddChunkId (std::uint32_t chunkId) = 0;
};
