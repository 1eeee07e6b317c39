#include "Vst3StateCheck.h"

#include <cstdint>
#include <cstring>

namespace
{
constexpr std::size_t bankHeaderSize = 160;    // the bank chunk's payload starts here
constexpr std::size_t bankPayloadSizeAt = 156; // big-endian payload size
constexpr std::size_t presetHeaderSize = 48;
constexpr std::size_t presetEntrySize = 20;
constexpr char privateDataIdentifier[] = "JUCEPrivateData";
constexpr std::size_t identifierSize = sizeof (privateDataIdentifier) - 1;

std::int64_t bigEndian32 (const unsigned char* p) noexcept
{
    const auto value = (std::uint32_t (p[0]) << 24) | (std::uint32_t (p[1]) << 16) | (std::uint32_t (p[2]) << 8) | std::uint32_t (p[3]);
    return static_cast<std::int32_t> (value); // the wrapper reads these fields as signed ints
}

std::uint64_t littleEndian (const unsigned char* p, int bytes) noexcept
{
    std::uint64_t value = 0;

    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];

    return value;
}

bool startsWith (const unsigned char* data, std::size_t size, const char (&magic)[5]) noexcept
{
    return size >= 4 && std::memcmp (data, magic, 4) == 0;
}
} // namespace

bool Vst3StateCheck::isSafe (const void* data, std::size_t size) noexcept
{
    if (data == nullptr)
        return size == 0;

    const auto* bytes = static_cast<const unsigned char*> (data);

    // The wrapper takes its sizes as int.
    if (size > 0x7fffffff)
        return false;

    if (startsWith (bytes, size, "VstW"))
        return isSafeVstW (bytes, size);

    if (startsWith (bytes, size, "CcnK"))
        return isSafeBank (bytes, size);

    if (startsWith (bytes, size, "VST3"))
        return isSafePresetFile (bytes, size);

    return isSafeChunk (bytes, size);
}

bool Vst3StateCheck::isSafeVstW (const unsigned char* data, std::size_t size) noexcept
{
    // The header's own length field says where the bank starts.
    if (size < 8)
        return false;

    const auto bankStart = bigEndian32 (data + 4) + 8;

    if (bankStart < 0 || static_cast<std::uint64_t> (bankStart) > size)
        return false;

    const auto start = static_cast<std::size_t> (bankStart);
    return isSafeBank (data + start, size - start);
}

bool Vst3StateCheck::isSafeBank (const unsigned char* data, std::size_t size) noexcept
{
    // The wrapper reads the whole bank header without looking at the size, then passes on the
    // smaller of what follows and what the header claims; a negative claim would pass on as is.
    if (size < bankHeaderSize)
        return false;

    const auto claimed = bigEndian32 (data + bankPayloadSizeAt);

    if (claimed < 0)
        return false;

    const auto available = size - bankHeaderSize;
    const auto payload = static_cast<std::uint64_t> (claimed) < available ? static_cast<std::size_t> (claimed) : available;
    return isSafeChunk (data + bankHeaderSize, payload);
}

bool Vst3StateCheck::isSafePresetFile (const unsigned char* data, std::size_t size) noexcept
{
    // A whole preset file: a chunk list whose "Comp" entries each hold a VstW block. Anything
    // the wrapper would not read to the end cleanly is refused; our own state never has this form.
    if (size < presetHeaderSize)
        return isSafeChunk (data, size); // the wrapper then takes it as a plain chunk

    const auto listAt = littleEndian (data + 40, 4);

    if (listAt > size - 8 || listAt > 0x7fffffff)
        return false;

    const auto entries = static_cast<std::int32_t> (littleEndian (data + listAt + 4, 4));

    if (entries < 0 || static_cast<std::uint64_t> (entries) > (size - listAt - 8) / presetEntrySize)
        return false;

    for (std::int32_t i = 0; i < entries; ++i)
    {
        const auto* entry = data + listAt + 8 + presetEntrySize * static_cast<std::size_t> (i);

        if (std::memcmp (entry, "Comp", 4) != 0)
            continue;

        const auto offset = littleEndian (entry + 4, 8);
        const auto length = littleEndian (entry + 12, 8);

        if (offset > size || length > size - offset)
            return false;

        if (! isSafeVstW (data + offset, static_cast<std::size_t> (length)))
            return false;
    }

    return true;
}

bool Vst3StateCheck::isSafeChunk (const unsigned char* data, std::size_t size) noexcept
{
    // The wrapper's trailer: [chunk][int64 0][private data][int64 private size][identifier].
    if (size < identifierSize + 8 || std::memcmp (data + size - identifierSize, privateDataIdentifier, identifierSize) != 0)
        return true;

    // The wrapper then subtracts the private data, its size and a further int64 from the chunk.
    if (size < identifierSize + 16)
        return false;

    const auto privateSize = littleEndian (data + size - identifierSize - 8, 8);
    return privateSize <= size - identifierSize - 16;
}
