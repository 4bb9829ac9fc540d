#include "Assets.hpp"

#include "AssetCache.hpp"
#include "AssetCheck.hpp"
#include "ErrorCapture.hpp"
#include "SoundReadAhead.hpp"
#include "platform/Process.hpp"

#include <SFML/Graphics/Image.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

namespace
{
constexpr int missingAssetExitStatus = 1;

[[noreturn]] void exitForMissingAsset(std::string_view message)
{
    // Nothing the process ends with may be taken away under a load still running.
    SoundReadAhead::finish();
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

// A file's bytes, in a buffer the read fills without setting it to zero first (17 MB for the tune).
struct FileBytes
{
    std::unique_ptr<char[]> data;
    std::size_t size = 0;

    [[nodiscard]] std::string_view view() const { return {data.get(), size}; }
};

// The whole file, read once, so that the bytes checked are the bytes decoded; nothing for anything
// but a regular file (the library would hang on a folder), or a file it cannot read whole.
std::optional<FileBytes> readWholeFile(const std::string& fileName)
{
    if (!isRegularFile(fileName))
        return std::nullopt;
    std::ifstream file(fileName, std::ios::binary | std::ios::ate);
    const std::streamoff size = file.tellg();
    if (!file || size < 0 || size > largestFileBytes)
        return std::nullopt;
    FileBytes bytes{std::unique_ptr<char[]>(new char[static_cast<std::size_t>(size)]), static_cast<std::size_t>(size)};
    file.seekg(0);
    if (!file.read(bytes.data.get(), size))
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

template <typename Decoded>
using Decoder = bool (*)(Decoded& decoded, std::string_view bytes, std::string_view fileName);

// The file read whole and decoded into `decoded`; its bytes are let go once it is decoded.
template <typename Decoded> bool decodeFile(const std::string& fileName, Decoder<Decoded> decode, Decoded& decoded)
{
    const std::optional<FileBytes> bytes = readWholeFile(fileName);
    return bytes && decode(decoded, bytes->view(), fileName);
}

// The first decode of the file, kept on the shelf with what it said on standard error meanwhile;
// says that again.
template <typename Decoded>
const AssetCache::Outcome<Decoded>& shelved(AssetCache::Shelf<Decoded>& shelf, const std::string& fileName,
                                            Decoder<Decoded> decode)
{
    const auto [found, first] = shelf.try_emplace(fileName);
    AssetCache::Outcome<Decoded>& outcome = found->second;
    if (first)
    {
        const ErrorCapture capture(outcome.said);
        if (!decodeFile(fileName, decode, outcome.decoded.emplace()))
            outcome.decoded.reset();
    }
    std::cerr << outcome.said;
    return outcome;
}

// Without a cache a sound is decoded where it stays: a sound buffer is copied, never moved, and the
// tune holds 17 MB.
bool loadSound(sf::SoundBuffer& buffer, const std::string& fileName)
{
    AssetCache* const cache = AssetCache::current();
    if (cache == nullptr)
        return decodeFile(fileName, decodeSound, buffer);
    const AssetCache::Outcome<sf::SoundBuffer>& outcome = shelved(cache->sounds, fileName, decodeSound);
    if (outcome.decoded)
        buffer = *outcome.decoded;
    return outcome.decoded.has_value();
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
    AssetCache* const cache = AssetCache::current();
    if (cache == nullptr)
    {
        sf::Image image;
        return decodeFile(fileName, decodePicture, image) && texture.loadFromImage(image);
    }
    const AssetCache::Outcome<sf::Image>& outcome = shelved(cache->pictures, fileName, decodePicture);
    return outcome.decoded && texture.loadFromImage(*outcome.decoded);
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

std::unique_ptr<const sf::SoundBuffer> requireHeldSound(const std::string& fileName, std::string_view failureMessage)
{
    std::optional<std::unique_ptr<sf::SoundBuffer>> readAhead = SoundReadAhead::take(fileName);
    std::unique_ptr<sf::SoundBuffer> buffer = readAhead ? std::move(*readAhead) : std::make_unique<sf::SoundBuffer>();
    if (!readAhead && !loadSound(*buffer, fileName))
        buffer.reset();
    if (!buffer)
        exitForMissingAsset(failureMessage);
    return buffer;
}

bool readSound(sf::SoundBuffer& buffer, const std::string& fileName)
{
    return decodeFile(fileName, decodeSound, buffer);
}

bool openFont(sf::Font& font, const std::string& fileName, std::string_view failureMessage)
{
    if (isRegularFile(fileName) && font.openFromFile(fileName))
        return true;
    reportLoadFailure(failureMessage);
    return false;
}
