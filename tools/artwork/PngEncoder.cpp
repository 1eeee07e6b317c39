#include "PngEncoder.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace
{
void appendToBlock (png_structp png, png_bytep data, png_size_t size)
{
    static_cast<juce::MemoryBlock*> (png_get_io_ptr (png))->append (data, size);
}

void noFlush (png_structp) {}

// One row of pixels in PNG byte order; JUCE keeps premultiplied BGRA in memory.
void fillRow (const juce::Image::BitmapData& pixels, int y, PngEncoder::Kind kind, std::vector<png_byte>& row)
{
    size_t i = 0;

    for (int x = 0; x < pixels.width; ++x)
    {
        const auto colour = pixels.getPixelColour (x, y);
        row[i++] = colour.getRed();
        row[i++] = colour.getGreen();
        row[i++] = colour.getBlue();

        if (kind == PngEncoder::Kind::rgba)
            row[i++] = colour.getAlpha();
    }
}

// libpng reports failures by longjmp; nothing with a destructor may live in this frame.
bool writeStream (png_structp png, png_infop info, const juce::Image::BitmapData& pixels,
                  PngEncoder::Kind kind, std::vector<png_byte>& row, juce::MemoryBlock& out)
{
    if (setjmp (png_jmpbuf (png)))
        return false;

    png_set_write_fn (png, &out, appendToBlock, noFlush);
    png_set_compression_level (png, 9);
    png_set_compression_mem_level (png, 9);
    png_set_IHDR (png, info, static_cast<png_uint_32> (pixels.width), static_cast<png_uint_32> (pixels.height), 8,
                  kind == PngEncoder::Kind::rgba ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                  PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info (png, info);

    for (int y = 0; y < pixels.height; ++y)
    {
        fillRow (pixels, y, kind, row);
        png_write_row (png, row.data());
    }

    png_write_end (png, info);
    return true;
}
} // namespace

juce::MemoryBlock PngEncoder::encode (const juce::Image& image, Kind kind, bool repeatEndChunk)
{
    if (! image.isValid())
        return {};

    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);
    std::vector<png_byte> row (static_cast<size_t> (pixels.width) * (kind == Kind::rgba ? 4u : 3u));
    juce::MemoryBlock out;

    auto* png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    auto* info = png != nullptr ? png_create_info_struct (png) : nullptr;
    const bool written = info != nullptr && writeStream (png, info, pixels, kind, row, out);
    png_destroy_write_struct (&png, &info);

    if (! written || out.getSize() < endChunkSize)
        return {};

    if (repeatEndChunk)
    {
        const juce::MemoryBlock endChunk (static_cast<const char*> (out.getData()) + out.getSize() - endChunkSize, endChunkSize);
        out.append (endChunk.getData(), endChunk.getSize());
    }

    return out;
}
