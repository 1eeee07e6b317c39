#pragma once

#include "AAX_IEffectDescriptor.h"

/** The host's collection of effects that a plug-in package registers into. Called during
    registration only, on the host's registration thread. */
class AAX_ICollection
{
public:
    virtual ~AAX_ICollection() = default;

    /** A new effect descriptor owned by the collection; null when none can be made. */
    virtual AAX_IEffectDescriptor* NewDescriptor() = 0;

    /** Adds a filled descriptor under its reverse-domain effect identifier. */
    virtual aax::Result AddEffect (const char* effectIdentifier, AAX_IEffectDescriptor* descriptor) = 0;

    virtual aax::Result SetManufacturerName (const char* name) = 0;

    /** Adds a package name; the short one comes first. */
    virtual aax::Result AddPackageName (const char* name) = 0;

    /** The package version as 0xMMmmpp (major, minor, patch). */
    virtual aax::Result SetPackageVersion (std::uint32_t version) = 0;
};
