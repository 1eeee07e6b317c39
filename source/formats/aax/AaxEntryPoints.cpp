#include "AaxEntryPoints.h"

#include "AaxEffectDescription.h"

namespace
{
constexpr std::uint64_t layerVersion = 0x010000;
}

aax::Result ACFStartup (void*) { return aax::success; }

aax::Result ACFShutdown (void*) { return aax::success; }

aax::Result ACFRegisterPlugin (void*, AAX_ICollection* collection)
{
    return AaxEffectDescription::describe (collection);
}

aax::Result ACFRegisterComponent (void*, std::uint32_t, void** definition)
{
    if (definition != nullptr)
        *definition = nullptr;

    return aax::errorNotImplemented;
}

aax::Result ACFGetClassFactory (void*, const void*, const void*, void** factory)
{
    if (factory != nullptr)
        *factory = nullptr;

    return aax::errorNotImplemented;
}

aax::Result ACFCanUnloadNow (void*) { return aax::success; }

aax::Result ACFGetSDKVersion (std::uint64_t* version)
{
    if (version == nullptr)
        return aax::errorNullObject;

    *version = layerVersion;
    return aax::success;
}
