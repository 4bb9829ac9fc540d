#pragma once

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <memory>
#include <string>
#include <string_view>

// Every file is read by its bare name from the working directory. A failed load is reported as one
// line on standard output, flushed at once so that it is seen even if the process ends next.
void reportLoadFailure(std::string_view message);

// Decode a picture's or a sound's bytes, once they have passed the check of AssetCheck.hpp; bytes it
// refuses are named on standard error with the reason, as the library does with those it refuses.
[[nodiscard]] bool decodePicture(sf::Image& image, std::string_view bytes, std::string_view fileName);
[[nodiscard]] bool decodeSound(sf::SoundBuffer& buffer, std::string_view bytes, std::string_view fileName);

// Loads a whole picture: the file is read once and its bytes decoded as above. Anything but a regular
// file fails, and so does a file over 1 GiB. Sounds are read the same way. While an AssetCache lives,
// a file loaded before is neither read nor decoded again (AssetCache.hpp).
[[nodiscard]] bool loadPicture(sf::Texture& texture, const std::string& fileName);

// A picture the game can do without: on failure the message is reported and the texture stays empty.
[[nodiscard]] sf::Texture loadTexture(const std::string& fileName, std::string_view failureMessage);

// Assets the game cannot run without: on failure the message is reported and the process exits with status 1.
[[nodiscard]] sf::Texture requireTexture(const std::string& fileName, std::string_view failureMessage);
[[nodiscard]] sf::SoundBuffer requireSoundBuffer(const std::string& fileName, std::string_view failureMessage);
// The same for a sound held where it stays, for one too large to copy: a read-ahead of the file
// (SoundReadAhead.hpp) gives its buffer over.
[[nodiscard]] std::unique_ptr<const sf::SoundBuffer> requireHeldSound(const std::string& fileName,
                                                                      std::string_view failureMessage);

// Reads and decodes a whole sound file as the loads above do, never through an AssetCache: what a
// thread beside the game's may do.
[[nodiscard]] bool readSound(sf::SoundBuffer& buffer, const std::string& fileName);

// Opens a font into `font`; on failure the message is reported. Returns whether the font can be used.
[[nodiscard]] bool openFont(sf::Font& font, const std::string& fileName, std::string_view failureMessage);
