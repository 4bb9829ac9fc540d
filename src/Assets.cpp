#include "Assets.hpp"

#include "AssetCheck.hpp"
#include "platform/Process.hpp"

#include <SFML/Graphics/Image.hpp>

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
    platform::showFatalLine(message);
    std::exit(missingAssetExitStatus);
}

bool isRegularFile(const std::string& fileName)
{
    std::error_code error;
    return std::filesystem::is_regular_file(fileName, error);
}

// No picture or sound of the game comes near this (the largest, the tune, is 17 MB), and the image
// library takes no more than 2 GiB: a larger file is refused before it is read into memory.
constexpr std::streamoff largestFileBytes = std::streamoff{1} << 30;

// The whole file, read once, so that the bytes checked are the bytes decoded; nothing for anything
// but a regular file (the library would hang on a folder), or a file it cannot read whole.
std::optional<std::string> readWholeFile(const std::string& fileName)
{
    if (!isRegularFile(fileName))
        return std::nullopt;
    std::ifstream file(fileName, std::ios::binary | std::ios::ate);
    const std::streamoff size = file.tellg();
    if (!file || size < 0 || size > largestFileBytes)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    if (!file.read(bytes.data(), size))
        return std::nullopt;
    return bytes;
}

// The library says on standard error why it refuses a file; the check says so too.
bool passes(std::optional<std::string_view> fault, std::string_view fileName)
{
    if (fault)
        std::cerr << "Flitmere: " << fileName << ' ' << *fault << '\n';
    return !fault;
}

bool loadSound(sf::SoundBuffer& buffer, const std::string& fileName)
{
    const std::optional<std::string> bytes = readWholeFile(fileName);
    return bytes && decodeSound(buffer, *bytes, fileName);
}
} // namespace

void reportLoadFailure(std::string_view message)
{
    std::cout << message << std::endl;
}

bool decodePicture(sf::Image& image, std::string_view bytes, std::string_view fileName)
{
    return passes(bmpFault(bytes), fileName) && image.loadFromMemory(bytes.data(), bytes.size());
}

bool decodeSound(sf::SoundBuffer& buffer, std::string_view bytes, std::string_view fileName)
{
    return passes(wavFault(bytes), fileName) && buffer.loadFromMemory(bytes.data(), bytes.size());
}

bool loadPicture(sf::Texture& texture, const std::string& fileName)
{
    sf::Image image;
    // The file's bytes are let go once the picture is decoded, before it becomes a texture.
    if (const std::optional<std::string> bytes = readWholeFile(fileName);
        !bytes || !decodePicture(image, *bytes, fileName))
        return false;
    return texture.loadFromImage(image);
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
