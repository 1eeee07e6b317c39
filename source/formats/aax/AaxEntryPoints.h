#pragma once

#include "AAX_ICollection.h"

// The seven module entry points an AAX host calls, with the plain C names it looks for. Here
// they serve our own description layer: registration describes the plug-in into the host's
// collection; the factory and component calls, which need the vendor's runtime, answer
// aax::errorNotImplemented. All are for the host's module-loading thread.

extern "C"
{
    /** Module start-up: nothing to set up. Returns aax::success. */
    aax::Result ACFStartup (void* host);

    /** Module shut-down: nothing to release. Returns aax::success. */
    aax::Result ACFShutdown (void* host);

    /** Describes the plug-in into collection (see AaxEffectDescription::describe). */
    aax::Result ACFRegisterPlugin (void* host, AAX_ICollection* collection);

    /** No separately registered components: sets *definition to null when given. */
    aax::Result ACFRegisterComponent (void* host, std::uint32_t index, void** definition);

    /** No class factory without the vendor runtime: sets *factory to null when given. */
    aax::Result ACFGetClassFactory (void* host, const void* classId, const void* interfaceId, void** factory);

    /** The module keeps no objects alive between calls, so it may always be unloaded: success. */
    aax::Result ACFCanUnloadNow (void* host);

    /** Writes this layer's interface version (0xMMmmpp) to *version when given. */
    aax::Result ACFGetSDKVersion (std::uint64_t* version);
}
