#include "GeneratedAssets.hpp"

#include "Catalogue.hpp"

#include <SFML/Audio/InputSoundFile.hpp>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string_view>
#include <unistd.h>

namespace assetgen::testing
{
namespace
{
constexpr float fullScale = 32768.f;

unsigned declaredBitsPerSample(const std::filesystem::path& file)
{
    // The format chunk, the file's first "fmt ", holds the sample width 22 bytes after its name.
    const std::vector<char> bytes = fileBytes(file);
    const std::size_t format = std::string_view(bytes.data(), bytes.size()).find("fmt ");
    if (format == std::string_view::npos || format + 24 > bytes.size())
        return 0;
    return static_cast<unsigned char>(bytes[format + 22]) | static_cast<unsigned char>(bytes[format + 23]) << 8u;
}
} // namespace

const std::filesystem::path& titleFont()
{
    static const std::filesystem::path font = ASSETGEN_TEST_FONT;
    return font;
}

TemporaryFolder::TemporaryFolder()
{
    static std::atomic<int> counter{0};
    folder = std::filesystem::temp_directory_path() /
             ("assetgen-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::filesystem::path generated(const std::string& fileName)
{
    static TemporaryFolder shared;
    static std::set<std::string> written;
    if (written.insert(fileName).second)
        writeAsset(fileName, shared.path(), Inputs{titleFont()});
    return shared.path() / fileName;
}

sf::Image loadPicture(const std::string& fileName)
{
    sf::Image image;
    if (!image.loadFromFile(generated(fileName)))
        throw std::runtime_error("sf::Image cannot load " + fileName);
    return image;
}

std::vector<float> Sound::channel(unsigned index) const
{
    std::vector<float> out;
    out.reserve(frames());
    for (std::size_t i = index; i < samples.size(); i += channels)
        out.push_back(static_cast<float>(samples[i]) / fullScale);
    return out;
}

Sound loadSound(const std::string& fileName)
{
    const std::filesystem::path file = generated(fileName);
    sf::InputSoundFile input;
    if (!input.openFromFile(file))
        throw std::runtime_error("sf::InputSoundFile cannot open " + fileName);
    Sound sound;
    sound.sampleRate = input.getSampleRate();
    sound.channels = input.getChannelCount();
    sound.bitsPerSample = declaredBitsPerSample(file);
    sound.samples.resize(static_cast<std::size_t>(input.getSampleCount()));
    sound.samples.resize(static_cast<std::size_t>(input.read(sound.samples.data(), sound.samples.size())));
    return sound;
}

std::vector<char> fileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
} // namespace assetgen::testing
