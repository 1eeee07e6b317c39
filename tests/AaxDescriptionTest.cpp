// The AAX description, as a host's registration would record it.
#include "formats/aax/AaxEffectDescription.h"
#include "formats/aax/AaxEntryPoints.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
struct RecordingPropertyMap : AAX_IPropertyMap
{
    aax::Result AddProperty (aax::Property property, std::int32_t value) override
    {
        values[property] = value;
        return aax::success;
    }

    std::int32_t get (aax::Property property) const { return values.at (property); }

    std::map<aax::Property, std::int32_t> values;
};

struct RecordingComponent : AAX_IComponentDescriptor
{
    AAX_IPropertyMap* NewPropertyMap() override
    {
        maps.push_back (std::make_unique<RecordingPropertyMap>());
        return maps.back().get();
    }

    aax::Result AddProcessProc (AAX_IPropertyMap* properties) override
    {
        processProperties = dynamic_cast<RecordingPropertyMap*> (properties);
        return aax::success;
    }

    std::vector<std::unique_ptr<RecordingPropertyMap>> maps;
    RecordingPropertyMap* processProperties = nullptr;
};

struct RecordingEffect : AAX_IEffectDescriptor
{
    aax::Result AddName (const char* name) override
    {
        names.emplace_back (name);
        return aax::success;
    }
    aax::Result AddCategory (std::uint32_t bits) override
    {
        category |= bits;
        return aax::success;
    }

    AAX_IComponentDescriptor* NewComponentDescriptor() override
    {
        made.push_back (std::make_unique<RecordingComponent>());
        return made.back().get();
    }

    aax::Result AddComponent (AAX_IComponentDescriptor* component) override
    {
        added.push_back (dynamic_cast<RecordingComponent*> (component));
        return aax::success;
    }

    aax::Result SetMasterBypassParameter (const char* id, const char* name) override
    {
        bypassId = id;
        bypassName = name;
        return aax::success;
    }

    aax::Result AddChunkId (std::uint32_t id) override
    {
        chunkIds.push_back (id);
        return aax::success;
    }

    std::vector<std::string> names;
    std::uint32_t category = 0;
    std::vector<std::unique_ptr<RecordingComponent>> made;
    std::vector<RecordingComponent*> added;
    std::string bypassId, bypassName;
    std::vector<std::uint32_t> chunkIds;
};

struct RecordingCollection : AAX_ICollection
{
    AAX_IEffectDescriptor* NewDescriptor() override
    {
        if (! handsOutDescriptors)
            return nullptr;

        made.push_back (std::make_unique<RecordingEffect>());
        return made.back().get();
    }

    aax::Result AddEffect (const char* id, AAX_IEffectDescriptor* descriptor) override
    {
        effects.emplace_back (id, dynamic_cast<RecordingEffect*> (descriptor));
        return aax::success;
    }

    aax::Result SetManufacturerName (const char* name) override
    {
        manufacturer = name;
        return aax::success;
    }
    aax::Result AddPackageName (const char* name) override
    {
        packageNames.emplace_back (name);
        return aax::success;
    }
    aax::Result SetPackageVersion (std::uint32_t v) override
    {
        version = v;
        return aax::success;
    }

    bool handsOutDescriptors = true;
    std::vector<std::unique_ptr<RecordingEffect>> made;
    std::vector<std::pair<std::string, RecordingEffect*>> effects;
    std::string manufacturer;
    std::vector<std::string> packageNames;
    std::uint32_t version = 0;
};

std::int32_t code (const char (&text)[5]) { return static_cast<std::int32_t> (aax::fourCC (text)); }
} // namespace

TEST (AaxDescription, RegistersOneDynamicsEffectWithTheProductIdentity)
{
    RecordingCollection collection;
    ASSERT_EQ (ACFRegisterPlugin (nullptr, &collection), aax::success);

    ASSERT_EQ (collection.effects.size(), 1u);
    EXPECT_EQ (collection.effects[0].first, "com.orvane.PelmoraTacetor");
    EXPECT_EQ (collection.manufacturer, "Orvane");
    EXPECT_EQ (collection.packageNames, (std::vector<std::string> { "Tacetor", "Pelmora Tacetor" }));
    EXPECT_EQ (collection.version, 0x10000u);

    const auto& effect = *collection.effects[0].second;
    EXPECT_EQ (effect.names, (std::vector<std::string> { "Tacetor", "Pelmora Tacetor" }));
    EXPECT_EQ (effect.category, 2u);
    EXPECT_EQ (effect.bypassId, "MasterBypassID");
    EXPECT_EQ (effect.bypassName, "Master Bypass");
    EXPECT_EQ (effect.chunkIds, (std::vector<std::uint32_t> { 0x6A756365u }));
}

TEST (AaxDescription, OffersMonoThenStereoComponentsOnlyWithConsecutiveIds)
{
    RecordingCollection collection;
    ASSERT_EQ (AaxEffectDescription::describe (&collection), aax::success);
    const auto& components = collection.effects.at (0).second->added;
    ASSERT_EQ (components.size(), 2u);

    const aax::StemFormat expectedStems[] = { aax::StemFormat::mono, aax::StemFormat::stereo };
    const std::int32_t expectedNative[] = { code ("jcaa"), code ("jcab") };
    const std::int32_t expectedAudioSuite[] = { code ("jyaa"), code ("jyab") };

    for (size_t n = 0; n < components.size(); ++n)
    {
        SCOPED_TRACE (n);
        const auto* properties = components[n]->processProperties;
        ASSERT_NE (properties, nullptr);
        EXPECT_EQ (properties->get (aax::Property::manufacturerId), code ("ORV_"));
        EXPECT_EQ (properties->get (aax::Property::productId), code ("Otct"));
        EXPECT_EQ (properties->get (aax::Property::nativePlugInId), expectedNative[n]);
        EXPECT_EQ (properties->get (aax::Property::audioSuitePlugInId), expectedAudioSuite[n]);
        // Same format in and out: 1-in/2-out and 2-in/1-out are never offered.
        EXPECT_EQ (properties->get (aax::Property::inputStemFormat), static_cast<std::int32_t> (expectedStems[n]));
        EXPECT_EQ (properties->get (aax::Property::outputStemFormat), static_cast<std::int32_t> (expectedStems[n]));
        EXPECT_EQ (properties->get (aax::Property::canBypass), 1);
        EXPECT_EQ (properties->get (aax::Property::supportsMultiMono), 1);
    }
}

TEST (AaxDescription, FailsCleanlyWithoutADescriptorAndAnswersTheOtherEntryPoints)
{
    RecordingCollection refusing;
    refusing.handsOutDescriptors = false;
    EXPECT_EQ (ACFRegisterPlugin (nullptr, &refusing), aax::errorNullObject);
    EXPECT_TRUE (refusing.effects.empty());
    EXPECT_EQ (ACFRegisterPlugin (nullptr, nullptr), aax::errorNullObject);

    EXPECT_EQ (ACFStartup (nullptr), aax::success);
    EXPECT_EQ (ACFCanUnloadNow (nullptr), aax::success);
    EXPECT_EQ (ACFShutdown (nullptr), aax::success);

    void* factory = &refusing;
    EXPECT_EQ (ACFGetClassFactory (nullptr, nullptr, nullptr, &factory), aax::errorNotImplemented);
    EXPECT_EQ (factory, nullptr);

    std::uint64_t version = 0;
    EXPECT_EQ (ACFGetSDKVersion (&version), aax::success);
    EXPECT_EQ (version, 0x10000u);
    EXPECT_EQ (ACFGetSDKVersion (nullptr), aax::errorNullObject);
}
