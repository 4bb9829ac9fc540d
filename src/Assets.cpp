#include "Assets.hpp"

#include <cstdlib>
#include <iostream>

namespace
{
constexpr int missingAssetExitStatus = 1;

[[noreturn]] void exitForMissingAsset(std::string_view message)
{
    reportLoadFailure(message);
    std::exit(missingAssetExitStatus);
}
} // namespace

void reportLoadFailure(std::string_view message)
{
    std::cout << message << std::endl;
}

sf::Texture loadTexture(const std::string& fileName, std::string_view failureMessage)
{
    sf::Texture texture;
    if (!texture.loadFromFile(fileName))
        reportLoadFailure(failureMessage);
    return texture;
}

sf::Texture requireTexture(const std::string& fileName, std::string_view failureMessage)
{
    sf::Texture texture;
    if (!texture.loadFromFile(fileName))
        exitForMissingAsset(failureMessage);
    return texture;
}

sf::SoundBuffer requireSoundBuffer(const std::string& fileName, std::string_view failureMessage)
{
    sf::SoundBuffer buffer;
    if (!buffer.loadFromFile(fileName))
        exitForMissingAsset(failureMessage);
    return buffer;
}

bool openFont(sf::Font& font, const std::string& fileName, std::string_view failureMessage)
{
    if (font.openFromFile(fileName))
        return true;
    reportLoadFailure(failureMessage);
    return false;
}
