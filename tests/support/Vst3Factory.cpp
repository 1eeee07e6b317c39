#include "support/Vst3Factory.h"

#include <pluginterfaces/base/ipluginbase.h>

#include <algorithm>
#include <dlfcn.h>

Vst3Factory Vst3Factory::read (const std::string& bundlePath)
{
    Vst3Factory result;
    const auto libraryPath = bundlePath + "/Contents/x86_64-linux/PelmoraTacetor.so";
    auto* library = dlopen (libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);

    if (library == nullptr)
        return result;

    // Linux hosts call ModuleEntry before anything else and ModuleExit last.
    using ModuleEntry = bool (*) (void*);
    using ModuleExit = bool (*)();
    using GetFactory = Steinberg::IPluginFactory* (*)();
    auto entry = reinterpret_cast<ModuleEntry> (dlsym (library, "ModuleEntry"));
    auto exit = reinterpret_cast<ModuleExit> (dlsym (library, "ModuleExit"));
    auto getFactory = reinterpret_cast<GetFactory> (dlsym (library, "GetPluginFactory"));

    if (entry != nullptr && getFactory != nullptr && entry (library))
    {
        if (auto* factory = getFactory())
        {
            Steinberg::PFactoryInfo info;
            factory->getFactoryInfo (&info);
            result.vendor = info.vendor;
            result.url = info.url;
            result.email = info.email;
            result.flags = static_cast<int> (info.flags);

            for (Steinberg::int32 i = 0; i < factory->countClasses(); ++i)
            {
                Steinberg::PClassInfo classInfo;
                factory->getClassInfo (i, &classInfo);
                ClassInfo entryInfo;
                std::copy (std::begin (classInfo.cid), std::end (classInfo.cid), entryInfo.classId.begin());
                entryInfo.cardinality = static_cast<int> (classInfo.cardinality);
                entryInfo.category = classInfo.category;
                entryInfo.name = classInfo.name;
                result.classes.push_back (entryInfo);
            }

            factory->release();
            result.loaded = true;
        }
    }

    if (exit != nullptr)
        exit();

    dlclose (library);
    return result;
}
