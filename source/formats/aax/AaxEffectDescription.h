#pragma once

#include "AAX_ICollection.h"

/**
    Describes the plug-in to an AAX host's collection: one effect with the product's names,
    the dynamics category, the maker's IDs, one component per main-bus layout pair the
    processor accepts exactly (mono/mono, stereo/stereo), host bypass and multi-mono, the
    master bypass parameter and the settings chunk ID.

    Registration only (the host's registration thread); keeps no state.
*/
class AaxEffectDescription
{
public:
    /** Fills collection; returns aax::success, or aax::errorNullObject when the collection is
        null or hands out no descriptor (then nothing is added to it). */
    static aax::Result describe (AAX_ICollection* collection);

    /** Native plug-in ID of component number n: 'jcaa' + n. AudioSuite: 'jyaa' + n. */
    static std::uint32_t nativeId (int componentNumber) noexcept;
    static std::uint32_t audioSuiteId (int componentNumber) noexcept;
};
