#include "EmbeddedImages.h"

#include <TacetorImageData.h>
#include <zlib.h>

#include <cstring>
#include <iterator>

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
    static constexpr unsigned char signature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };

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

namespace
{
// Each picture's arrays at 1× and at 2×, in the order of Picture.
StoredPicture storedAt (Picture picture, int sizeIndex)
{
    using namespace TacetorImageData;

    static const StoredPicture arrays[][2] = {
        { { background_png, background_pngSize }, { background_2x_png, background_2x_pngSize } },
        { { threshold_knob_png, threshold_knob_pngSize }, { threshold_knob_2x_png, threshold_knob_2x_pngSize } },
        { { attack_knob_png, attack_knob_pngSize }, { attack_knob_2x_png, attack_knob_2x_pngSize } },
        { { decay_knob_png, decay_knob_pngSize }, { decay_knob_2x_png, decay_knob_2x_pngSize } },
        { { footswitch_png, footswitch_pngSize }, { footswitch_2x_png, footswitch_2x_pngSize } },
        { { dual_mono_switch_png, dual_mono_switch_pngSize }, { dual_mono_switch_2x_png, dual_mono_switch_2x_pngSize } },
        { { about_png, about_pngSize }, { about_2x_png, about_2x_pngSize } },
    };

    const auto index = static_cast<size_t> (picture);
    return index < std::size (arrays) ? arrays[index][sizeIndex] : StoredPicture { nullptr, 0 };
}
} // namespace

StoredPicture stored (Picture picture) { return storedAt (picture, 0); }
StoredPicture storedDoubleSize (Picture picture) { return storedAt (picture, 1); }

juce::Image decodeBackground() { return decodePicture (Picture::background); }
juce::Image decodeThresholdKnob() { return decodePicture (Picture::thresholdKnob); }
juce::Image decodeAttackKnob() { return decodePicture (Picture::attackKnob); }
juce::Image decodeDecayKnob() { return decodePicture (Picture::decayKnob); }
juce::Image decodeFootswitch() { return decodePicture (Picture::footswitch); }
juce::Image decodeDualMonoSwitch() { return decodePicture (Picture::dualMonoSwitch); }
juce::Image decodeAbout() { return decodePicture (Picture::about); }
juce::Image decodeDoubleSize (Picture picture) { return decode (storedDoubleSize (picture)); }
} // namespace EmbeddedImages
