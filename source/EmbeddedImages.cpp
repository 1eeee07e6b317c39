#include "EmbeddedImages.h"

#include <TacetorImageData.h>
#include <zlib.h>

#include <cstring>

namespace EmbeddedImages
{
namespace
{
juce::uint32 bigEndian32 (const unsigned char* p)
{
    return (juce::uint32 (p[0]) << 24) | (juce::uint32 (p[1]) << 16) | (juce::uint32 (p[2]) << 8) | juce::uint32 (p[3]);
}

// Walks the chunks from the signature to the end chunk, checking that each lies inside the
// bytes and carries the right CRC (which covers its type and data).
bool isCompletePng (const unsigned char* data, size_t size)
{
    static constexpr unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

    if (data == nullptr || size < sizeof (signature) || std::memcmp (data, signature, sizeof (signature)) != 0)
        return false;

    for (size_t at = sizeof (signature); size - at >= 12;)
    {
        const size_t length = bigEndian32 (data + at);

        if (length > size - at - 12)
            return false;

        const auto* typeAndData = data + at + 4;
        const auto crc = crc32 (crc32 (0L, Z_NULL, 0), typeAndData, static_cast<uInt> (length + 4));

        if (crc != bigEndian32 (typeAndData + length + 4))
            return false;

        if (std::memcmp (typeAndData, "IEND", 4) == 0)
            return true;

        at += length + 12;
    }

    return false;
}

juce::Image decodePicture (Picture picture) { return decode (stored (picture)); }
} // namespace

juce::Image decode (StoredPicture bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*> (bytes.data);
    const auto size = static_cast<size_t> (juce::jmax (0, bytes.size));

    if (! isCompletePng (data, size))
        return {};

    return juce::ImageFileFormat::loadFrom (data, size);
}

StoredPicture stored (Picture picture)
{
    switch (picture)
    {
        case Picture::background:
            return {TacetorImageData::background_png, TacetorImageData::background_pngSize};
        case Picture::thresholdKnob:
            return {TacetorImageData::threshold_knob_png, TacetorImageData::threshold_knob_pngSize};
        case Picture::attackKnob:
            return {TacetorImageData::attack_knob_png, TacetorImageData::attack_knob_pngSize};
        case Picture::decayKnob:
            return {TacetorImageData::decay_knob_png, TacetorImageData::decay_knob_pngSize};
        case Picture::footswitch:
            return {TacetorImageData::footswitch_png, TacetorImageData::footswitch_pngSize};
        case Picture::dualMonoSwitch:
            return {TacetorImageData::dual_mono_switch_png, TacetorImageData::dual_mono_switch_pngSize};
        case Picture::about:
            return {TacetorImageData::about_png, TacetorImageData::about_pngSize};
    }

    return {nullptr, 0};
}

juce::Image decodeBackground() { return decodePicture (Picture::background); }
juce::Image decodeThresholdKnob() { return decodePicture (Picture::thresholdKnob); }
juce::Image decodeAttackKnob() { return decodePicture (Picture::attackKnob); }
juce::Image decodeDecayKnob() { return decodePicture (Picture::decayKnob); }
juce::Image decodeFootswitch() { return decodePicture (Picture::footswitch); }
juce::Image decodeDualMonoSwitch() { return decodePicture (Picture::dualMonoSwitch); }
juce::Image decodeAbout() { return decodePicture (Picture::about); }
} // namespace EmbeddedImages
