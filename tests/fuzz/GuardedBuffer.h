#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

/**
    A host's text buffer of a fixed size with guard bytes after it, for handing to the
    plug-in's VST2 dispatcher: the plug-in may write anything up to the size, and a changed
    guard byte means it wrote past the buffer the host gave it.
*/
class GuardedBuffer
{
public:
    /** size: the bytes the host provides, the terminating zero included. */
    explicit GuardedBuffer (size_t size)
        : size_ (size)
        , bytes_ (size + guardSize, fill)
    {
    }

    char* data() noexcept { return bytes_.data(); }

    /** True when nothing was written after the host's bytes. */
    bool guardIntact() const
    {
        return std::all_of (bytes_.begin() + static_cast<std::ptrdiff_t> (size_), bytes_.end(),
                            [] (char c)
                            { return c == fill; });
    }

    /** True when nothing was written at all. */
    bool untouched() const
    {
        return std::all_of (bytes_.begin(), bytes_.end(), [] (char c)
                            { return c == fill; });
    }

    /** The text up to the first zero inside the host's bytes; nothing when there is none. */
    std::optional<std::string> text() const
    {
        const auto end = bytes_.begin() + static_cast<std::ptrdiff_t> (size_);
        const auto zero = std::find (bytes_.begin(), end, '\0');

        if (zero == end)
            return std::nullopt;

        return std::string (bytes_.begin(), zero);
    }

private:
    static constexpr size_t guardSize = 64;
    static constexpr char fill = '\xfe';

    size_t size_;
    std::vector<char> bytes_;
};
