#include "support/AssetCopy.hpp"

#include "support/ChildProcess.hpp"

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace
{
void putLittleEndian(std::string& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}
} // namespace

const std::vector<std::string>& allAssetNames()
{
    static const std::vector<std::string> names{
        "wingUp2.bmp",   "wingDown3.bmp", "squawk.wav",     "flap.wav",     "death.wav",     "obstacle.bmp",
        "obstacle2.bmp", "volcano.bmp",   "background.bmp", "gameOver.bmp", "cloud1.bmp",    "cloud2.bmp",
        "cloud3.bmp",    "mountains.bmp", "Bicubik.OTF",    "score.wav",    "background.wav"};
    return names;
}

fs::path builtAssets()
{
    return FLITMERE_E2E_ASSETS;
}

TempFolder::TempFolder(const std::string& purpose)
{
    std::string pattern = (fs::temp_directory_path() / (purpose + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    folder = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

AssetCopy::AssetCopy(std::initializer_list<std::string> leftOut) : AssetCopy(std::vector<std::string>(leftOut)) {}

AssetCopy::AssetCopy(const std::vector<std::string>& leftOut)
{
    for (const std::string& name : allAssetNames())
    {
        if (!fs::is_regular_file(builtAssets() / name))
            throw std::runtime_error("the built asset folder " + builtAssets().string() + " has no " + name);
        if (std::find(leftOut.begin(), leftOut.end(), name) == leftOut.end())
            fs::create_symlink(builtAssets() / name, path() / name);
    }
}

void AssetCopy::remove(const std::string& name) const
{
    fs::remove_all(path() / name);
}

void AssetCopy::write(const std::string& name, const std::string& bytes) const
{
    remove(name);
    std::ofstream(path() / name, std::ios::binary) << bytes;
}

void AssetCopy::truncate(const std::string& name, std::size_t bytes) const
{
    const std::string whole = readFile(builtAssets() / name);
    if (whole.size() <= bytes)
        throw std::runtime_error(name + " is too short to be cut to " + std::to_string(bytes) + " bytes");
    write(name, whole.substr(0, bytes));
}

void AssetCopy::replaceWithFolder(const std::string& name) const
{
    remove(name);
    fs::create_directory(path() / name);
}

void AssetCopy::writeWideBitmap(const std::string& name, int width, int height) const
{
    constexpr std::uint32_t headersSize = 14 + 40;
    constexpr std::uint32_t paletteSize = 2 * 4;
    const auto rowSize = static_cast<std::uint32_t>((width + 31) / 32 * 4);
    const std::uint32_t dataSize = rowSize * static_cast<std::uint32_t>(height);
    std::string bytes = "BM";
    putLittleEndian(bytes, headersSize + paletteSize + dataSize, 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, headersSize + paletteSize, 4);
    putLittleEndian(bytes, 40, 4);
    putLittleEndian(bytes, static_cast<std::uint32_t>(width), 4);
    putLittleEndian(bytes, static_cast<std::uint32_t>(height), 4);
    putLittleEndian(bytes, 1, 2); // planes
    putLittleEndian(bytes, 1, 2); // bits per pixel
    putLittleEndian(bytes, 0, 4); // no compression
    putLittleEndian(bytes, dataSize, 4);
    putLittleEndian(bytes, 2835, 4); // 72 dpi
    putLittleEndian(bytes, 2835, 4);
    putLittleEndian(bytes, 2, 4); // colours in the palette
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, 0x00000000, 4); // black
    putLittleEndian(bytes, 0x00ffffff, 4); // white
    bytes.append(dataSize, '\x55');
    write(name, bytes);
}
