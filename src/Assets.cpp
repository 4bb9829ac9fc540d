#include "Assets.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

namespace
{
constexpr int missingAssetExitStatus = 1;

[[noreturn]] void exitForMissingAsset(std::string_view message)
{
    reportLoadFailure(message);
    std::exit(missingAssetExitStatus);
}

bool isRegularFile(const std::string& fileName)
{
    std::error_code error;
    return std::filesystem::is_regular_file(fileName, error);
}

std::uint32_t readLittleEndian(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// The size of a signed 32-bit header field.
std::uint64_t magnitude(std::uint32_t field)
{
    return static_cast<std::uint64_t>(std::llabs(static_cast<std::int32_t>(field)));
}

// Where an info header keeps the fields the check below reads. The old 12-byte header (OS/2 1.x) has
// 16-bit sizes and no compression field; the 40-byte header and its longer successors share one layout.
struct BmpLayout
{
    int sizeBytes;     // of width and height
    int heightAt;      // offset in the file
    int bitsAt;        // bits per pixel
    int compressionAt; // 0: no field, the rows are uncompressed
};
constexpr int fileHeaderSize = 14;
constexpr BmpLayout oldLayout{2, 20, 24, 0};
constexpr BmpLayout commonLayout{4, 22, 28, 30};
constexpr int widthAt = 18;

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

// False for a BMP whose uncompressed pixel rows end past the end of the file. Other files, compressed
// BMPs and header kinds not listed above are left to the library to judge.
bool bmpIsWhole(const std::string& fileName)
{
    std::array<unsigned char, 34> header{};
    std::ifstream file(fileName, std::ios::binary);
    file.read(reinterpret_cast<char*>(header.data()), header.size());
    const auto headerBytes = static_cast<std::size_t>(file.gcount());
    if (headerBytes < fileHeaderSize + 4 || header[0] != 'B' || header[1] != 'M')
        return true;
    const std::optional<BmpLayout> layout = bmpLayout(readLittleEndian(&header[fileHeaderSize], 4));
    // A header too short to hold the fields is the library's to refuse.
    if (!layout || headerBytes < static_cast<std::size_t>(std::max(layout->bitsAt + 2, layout->compressionAt + 4)))
        return true;

    constexpr std::uint32_t uncompressed = 0;
    constexpr std::uint32_t bitFields = 3;
    constexpr std::uint32_t alphaBitFields = 6;
    const std::uint32_t compression =
        layout->compressionAt == 0 ? uncompressed : readLittleEndian(&header[layout->compressionAt], 4);
    if (compression != uncompressed && compression != bitFields && compression != alphaBitFields)
        return true;

    const auto size = [&](int at)
    {
        const std::uint32_t field = readLittleEndian(&header[at], layout->sizeBytes);
        // The 32-bit sizes are signed: a negative height means top-down rows.
        return layout->sizeBytes == 4 ? magnitude(field) : std::uint64_t{field};
    };
    const std::uint64_t pixelsAt = readLittleEndian(&header[10], 4);
    const std::uint64_t width = size(widthAt);
    const std::uint64_t height = size(layout->heightAt);
    const std::uint64_t bitsPerPixel = readLittleEndian(&header[layout->bitsAt], 2);
    const std::uint64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4; // rows are padded to 32-bit words
    const std::uint64_t needed = pixelsAt + rowBytes * height;
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(fileName, error);
    return !error && fileSize >= needed;
}
} // namespace

void reportLoadFailure(std::string_view message)
{
    std::cout << message << std::endl;
}

bool loadPicture(sf::Texture& texture, const std::string& fileName)
{
    return isRegularFile(fileName) && bmpIsWhole(fileName) && texture.loadFromFile(fileName);
}

bool loadSound(sf::SoundBuffer& buffer, const std::string& fileName)
{
    return isRegularFile(fileName) && buffer.loadFromFile(fileName);
}

sf::Texture loadTexture(const std::string& fileName, std::string_view failureMessage)
{
    sf::Texture texture;
    if (!loadPicture(texture, fileName))
        reportLoadFailure(failureMessage);
    return texture;
}

sf::Texture requireTexture(const std::string& fileName, std::string_view failureMessage)
{
    sf::Texture texture;
    if (!loadPicture(texture, fileName))
        exitForMissingAsset(failureMessage);
    return texture;
}

sf::SoundBuffer requireSoundBuffer(const std::string& fileName, std::string_view failureMessage)
{
    sf::SoundBuffer buffer;
    if (!loadSound(buffer, fileName))
        exitForMissingAsset(failureMessage);
    return buffer;
}

bool openFont(sf::Font& font, const std::string& fileName, std::string_view failureMessage)
{
    if (isRegularFile(fileName) && font.openFromFile(fileName))
        return true;
    reportLoadFailure(failureMessage);
    return false;
}
