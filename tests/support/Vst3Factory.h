#pragma once

#include <array>
#include <string>
#include <vector>

/** What the VST3 SDK's plug-in factory of a built bundle tells a host, read through the SDK's
    own IPluginFactory interface straight from the bundle's library. Test thread only. */
struct Vst3Factory
{
    struct ClassInfo
    {
        std::array<unsigned char, 16> classId {};
        int cardinality = 0;
        std::string category, name;
    };

    bool loaded = false;
    std::string vendor, url, email;
    int flags = 0;
    std::vector<ClassInfo> classes;

    /** Loads bundlePath's x86_64 Linux library, reads the factory and unloads it again. */
    static Vst3Factory read (const std::string& bundlePath);
};
