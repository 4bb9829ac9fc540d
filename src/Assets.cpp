#include "Assets.hpp"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

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

// False for a BMP whose uncompressed pixel rows end past the end of the file. Other files, and
// compressed BMPs, are left to the library to judge.
bool bmpIsWhole(const std::string& fileName)
{
    constexpr std::size_t headerSize = 34;
    std::array<unsigned char, headerSize> header{};
    std::ifstream file(fileName, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(header.data()), header.size()) || header[0] != 'B' || header[1] != 'M')
        return true;

    constexpr std::uint32_t uncompressed = 0;
    constexpr std::uint32_t bitFields = 3;
    constexpr std::uint32_t alphaBitFields = 6;
    const std::uint32_t compression = readLittleEndian(&header[30], 4);
    if (compression != uncompressed && compression != bitFields && compression != alphaBitFields)
        return true;

    const std::uint64_t pixelsAt = readLittleEndian(&header[10], 4);
    const std::uint64_t width = magnitude(readLittleEndian(&header[18], 4));
    const std::uint64_t height = magnitude(readLittleEndian(&header[22], 4)); // negative for top-down rows
    const std::uint64_t bitsPerPixel = readLittleEndian(&header[28], 2);
    const std::uint64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4; // rows are padded to 32-bit words
    const std::uint64_t needed = pixelsAt + rowBytes * height;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(fileName, error);
    return !error && size >= needed;
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
