#pragma once

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <string>
#include <string_view>

// Every file is read by its bare name from the working directory. A failed load is reported as one
// line on standard output, flushed at once so that it is seen even if the process ends next.
void reportLoadFailure(std::string_view message);

// Loads a whole picture or sound. Anything but a regular file fails, and so does a BMP shorter than
// its header says: the library would otherwise hang on a folder and fill a cut picture with black.
[[nodiscard]] bool loadPicture(sf::Texture& texture, const std::string& fileName);
[[nodiscard]] bool loadSound(sf::SoundBuffer& buffer, const std::string& fileName);

// A picture the game can do without: on failure the message is reported and the texture stays empty.
[[nodiscard]] sf::Texture loadTexture(const std::string& fileName, std::string_view failureMessage);

// Assets the game cannot run without: on failure the message is reported and the process exits with status 1.
[[nodiscard]] sf::Texture requireTexture(const std::string& fileName, std::string_view failureMessage);
[[nodiscard]] sf::SoundBuffer requireSoundBuffer(const std::string& fileName, std::string_view failureMessage);

// Opens a font into `font`; on failure the message is reported. Returns whether the font can be used.
[[nodiscard]] bool openFont(sf::Font& font, const std::string& fileName, std::string_view failureMessage);
