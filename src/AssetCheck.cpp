#include "AssetCheck.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace
{
constexpr std::string_view cutShort = "is cut short";

// A little-endian field of `count` bytes; the caller has made sure they are there.
std::uint32_t field(std::string_view bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// --- BMP ---

// Where an info header keeps the fields the check reads. The old 12-byte header (OS/2 1.x) has 16-bit
// sizes and no compression field; the 40-byte header and its longer successors share one layout.
struct BmpLayout
{
    int sizeBytes;     // of width and height
    int heightAt;      // offset in the file
    int bitsAt;        // bits per pixel
    int compressionAt; // 0: no field, the rows are uncompressed
};
constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t pixelsAtField = 10;
constexpr std::size_t widthAt = 18;
constexpr BmpLayout oldLayout{2, 20, 24, 0};
constexpr BmpLayout commonLayout{4, 22, 28, 30};

// The layout of an info header of this size, for the sizes the image library reads.
std::optional<BmpLayout> bmpLayout(std::uint32_t infoHeaderSize)
{
    switch (infoHeaderSize)
    {
    case 12:
        return oldLayout;
    case 40:
    case 56:
    case 108:
    case 124:
        return commonLayout;
    default:
        return std::nullopt;
    }
}

// Plain rows, or rows whose pixels are split by bit masks (as the game's own pictures are). The image
// library refuses the later kind with an alpha mask in the header (6) as it refuses JPEG and PNG.
bool rowsAreUncompressed(std::uint32_t compression)
{
    constexpr std::uint32_t uncompressed = 0;
    constexpr std::uint32_t bitFields = 3;
    return compression == uncompressed || compression == bitFields;
}

bool isPixelSize(std::uint64_t bitsPerPixel)
{
    return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 ||
           bitsPerPixel == 32;
}

// --- WAV ---

// The encodings the library's WAV reader decodes, by their format tags.
enum Encoding : std::uint16_t
{
    pcm = 0x1,
    msAdpcm = 0x2,
    ieeeFloat = 0x3,
    aLaw = 0x6,
    muLaw = 0x7,
    imaAdpcm = 0x11,
    extensible = 0xfffe, // the encoding is named by the first two bytes of a sub-format GUID
};

struct WavFormat
{
    std::uint16_t encoding;
    std::uint16_t channels;
    std::uint16_t blockAlign;
    std::uint16_t bitsPerSample;
};

// The format chunk as the library reads it: 16 bytes, then, in a longer chunk, the size of an
// extension and the extension. A chunk shorter than what the library reads of it would make it read
// the next chunk as part of this one, or step back in the file: such a chunk is refused.
std::optional<WavFormat> readFormat(std::string_view chunk)
{
    constexpr std::size_t basicSize = 16;
    constexpr std::size_t extensionAt = 18;
    constexpr std::size_t extensibleSize = 22;
    constexpr std::size_t subFormatAt = extensionAt + 6;
    if (chunk.size() < basicSize)
        return std::nullopt;
    const auto u16 = [&](std::size_t at) { return static_cast<std::uint16_t>(field(chunk, at, 2)); };
    WavFormat format{u16(0), u16(2), u16(12), u16(14)};
    const bool extended = chunk.size() > basicSize;
    if (extended && (chunk.size() < extensionAt || chunk.size() < extensionAt + u16(16)))
        return std::nullopt;
    if (format.encoding == extensible)
        format.encoding = extended && u16(16) == extensibleSize ? u16(subFormatAt) : 0;
    return format;
}

// Whether the data can decode into no more samples than it has bytes (ADPCM: four times as many),
// so that nothing the header claims is allocated beyond what the file holds.
std::optional<std::string_view> encodingFault(const WavFormat& format, std::uint64_t dataSize)
{
    const bool adpcm = format.encoding == msAdpcm || format.encoding == imaAdpcm;
    const bool plain =
        format.encoding == pcm || format.encoding == ieeeFloat || format.encoding == aLaw || format.encoding == muLaw;
    if (!adpcm && !plain)
        return "is in an encoding the game cannot play";
    // The audio library names the speakers of up to 8 channels. Past that it stops the process on a
    // channel it cannot name, and past 20 reads beyond its own list of them.
    constexpr std::uint64_t mostChannels = 8;
    const std::uint64_t channels = format.channels;
    if (channels == 0 || channels > mostChannels)
        return "has no channels, or more than 8";
    if (plain)
    {
        // The library's frame size: whole bytes a sample, else the block alignment.
        const std::uint64_t frameBytes =
            format.bitsPerSample % 8 == 0 ? format.bitsPerSample / 8 * channels : format.blockAlign;
        if (frameBytes < channels)
            return "has frames of less than a byte a sample";
        return std::nullopt;
    }
    // The library counts each block's header as 6 (MS) or 4 (IMA) bytes a channel and the frames as
    // what is left: blocks too small for their headers would count billions of frames.
    const std::uint64_t headerBytes = (format.encoding == msAdpcm ? 6 : 4) * channels;
    if (format.blockAlign < headerBytes)
        return "has ADPCM blocks smaller than their headers";
    const std::uint64_t blocks = (dataSize + format.blockAlign - 1) / format.blockAlign;
    if (blocks * headerBytes > dataSize)
        return "has ADPCM data shorter than its block headers";
    return std::nullopt;
}
} // namespace

std::optional<std::string_view> bmpFault(std::string_view bytes)
{
    if (bytes.substr(0, 2) != "BM")
        return "is not a BMP picture";
    if (bytes.size() < fileHeaderSize + 4)
        return cutShort;
    const std::optional<BmpLayout> layout = bmpLayout(field(bytes, fileHeaderSize, 4));
    if (!layout)
        return "is a kind of BMP the game cannot read";
    const auto headerEnd = static_cast<std::size_t>(std::max(layout->bitsAt + 2, layout->compressionAt + 4));
    if (bytes.size() < headerEnd)
        return cutShort;
    // The library reads a compression it does not know as none, and allocates the pixels of a pixel
    // size it does not know before it refuses it: both would let a few bytes claim gigabytes.
    if (layout->compressionAt != 0 && !rowsAreUncompressed(field(bytes, layout->compressionAt, 4)))
        return "is compressed in a way the game cannot read";
    const std::uint64_t bitsPerPixel = field(bytes, static_cast<std::size_t>(layout->bitsAt), 2);
    if (!isPixelSize(bitsPerPixel))
        return "has a pixel size the game cannot read";

    const auto size = [&](std::size_t at)
    {
        const std::uint32_t value = field(bytes, at, layout->sizeBytes);
        // The 32-bit sizes are signed: a negative height means top-down rows.
        return layout->sizeBytes == 4 ? static_cast<std::uint64_t>(std::llabs(static_cast<std::int32_t>(value)))
                                      : std::uint64_t{value};
    };
    const std::uint64_t pixelsAt = field(bytes, pixelsAtField, 4);
    const std::uint64_t width = size(widthAt);
    const std::uint64_t height = size(static_cast<std::size_t>(layout->heightAt));
    const std::uint64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4; // rows are padded to 32-bit words
    // Divided rather than multiplied: the header's sizes may multiply past 64 bits.
    if (pixelsAt > bytes.size() || (height != 0 && rowBytes > (bytes.size() - pixelsAt) / height))
        return cutShort;
    return std::nullopt;
}

std::optional<std::string_view> wavFault(std::string_view bytes)
{
    constexpr std::size_t chunkHeaderSize = 8;
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return "is not a RIFF/WAVE sound";
    // The chunks, walked as the library walks them up to the data: each one's size follows its name,
    // and an odd size is padded to an even one.
    std::optional<WavFormat> format;
    for (std::uint64_t at = 12; at + chunkHeaderSize <= bytes.size();)
    {
        const std::string_view name = bytes.substr(at, 4);
        const std::uint64_t bodyAt = at + chunkHeaderSize;
        // A sound written as it was recorded may not know its length: the library reads its data to
        // the end of the file.
        constexpr std::uint32_t untilTheEnd = 0xffffffff;
        const std::uint32_t sizeField = field(bytes, at + 4, 4);
        const std::uint64_t size = name == "data" && sizeField == untilTheEnd ? bytes.size() - bodyAt : sizeField;
        if (size > bytes.size() - bodyAt)
            return cutShort;
        if (name == "fmt ")
        {
            format = readFormat(bytes.substr(bodyAt, size));
            if (!format)
                return "has a format chunk shorter than its fields";
        }
        else if (name == "data")
        {
            if (!format)
                return "has no format chunk before its data";
            return encodingFault(*format, size);
        }
        at = bodyAt + size + size % 2;
    }
    return "has no sound data";
}
