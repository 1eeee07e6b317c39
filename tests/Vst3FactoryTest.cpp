// The VST3 factory of the built bundle, as a host reads it through the SDK's interface.
#include "support/Vst3Factory.h"

#include <gtest/gtest.h>

namespace
{
// 'VST' / 'VSE', the VST2 unique ID 'Otct', then "pelmora t": the first nine bytes of the
// display name with capitals lowered. Hosts match projects of the VST2 build by these IDs.
constexpr std::array<unsigned char, 16> componentId { 0x56, 0x53, 0x54, 0x4F, 0x74, 0x63, 0x74, 0x70,
                                                      0x65, 0x6C, 0x6D, 0x6F, 0x72, 0x61, 0x20, 0x74 };
constexpr std::array<unsigned char, 16> controllerId { 0x56, 0x53, 0x45, 0x4F, 0x74, 0x63, 0x74, 0x70,
                                                       0x65, 0x6C, 0x6D, 0x6F, 0x72, 0x61, 0x20, 0x74 };
} // namespace

TEST (Vst3Factory, ListsComponentThenControllerUnderTheVst2DerivedIds)
{
    const auto factory = Vst3Factory::read (TACETOR_VST3_BUNDLE);
    ASSERT_TRUE (factory.loaded);
    EXPECT_EQ (factory.vendor, "Orvane");
    EXPECT_EQ (factory.url, "https://www.orvane.com");
    EXPECT_EQ (factory.email, "support@orvane.com");
    EXPECT_EQ (factory.flags, 16); // texts are Unicode

    ASSERT_EQ (factory.classes.size(), 2u);
    EXPECT_EQ (factory.classes[0].category, "Audio Module Class");
    EXPECT_EQ (factory.classes[1].category, "Component Controller Class");
    EXPECT_EQ (factory.classes[0].classId, componentId);
    EXPECT_EQ (factory.classes[1].classId, controllerId);

    for (const auto& info : factory.classes)
    {
        EXPECT_EQ (info.name, "Pelmora Tacetor");
        EXPECT_EQ (info.cardinality, 0x7FFFFFFF);
    }
}
