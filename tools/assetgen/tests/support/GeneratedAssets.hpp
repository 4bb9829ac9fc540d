#pragma once

#include <SFML/Graphics/Image.hpp>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Helpers the asset tests share: temporary folders, assets generated on demand, and readers that
// load them back the way the game does.
namespace assetgen::testing
{
const std::filesystem::path& titleFont();

// A fresh, empty folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder
{
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return folder; }

private:
    std::filesystem::path folder;
};

// The named asset, generated (once per test program) into a shared temporary folder.
std::filesystem::path generated(const std::string& fileName);

// The generated picture, read back from its file through sf::Image, as the game's textures are.
sf::Image loadPicture(const std::string& fileName);

struct Sound
{
    unsigned sampleRate = 0;
    unsigned channels = 0;
    unsigned bitsPerSample = 0;        // as the file's format chunk declares it
    std::vector<std::int16_t> samples; // interleaved frames

    std::size_t frames() const { return channels == 0 ? 0 : samples.size() / channels; }
    double seconds() const { return sampleRate == 0 ? 0.0 : static_cast<double>(frames()) / sampleRate; }
    // One channel's samples.
    std::vector<float> channel(unsigned index) const;
};

// The generated sound, read back from its file through sf::InputSoundFile.
Sound loadSound(const std::string& fileName);

std::vector<char> fileBytes(const std::filesystem::path& file);
} // namespace assetgen::testing
