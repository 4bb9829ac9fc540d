#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

// Every file the game reads from its working directory.
const std::vector<std::string>& allAssetNames();

// The asset folder the build writes, which every test starts from.
[[nodiscard]] std::filesystem::path builtAssets();

// A temporary folder that is removed with everything in it when the object goes.
class TempFolder
{
public:
    explicit TempFolder(const std::string& purpose);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return folder; }

private:
    std::filesystem::path folder;
};

// A working directory for one run of the game: links to the built assets, less the ones a test
// leaves out, and with the ones it breaks replaced by its own files.
class AssetCopy
{
public:
    explicit AssetCopy(std::initializer_list<std::string> leftOut = {});
    explicit AssetCopy(const std::vector<std::string>& leftOut);

    [[nodiscard]] const std::filesystem::path& path() const { return folder.path(); }

    void remove(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    // Keeps only the first `bytes` bytes of the built file.
    void truncate(const std::string& name, std::size_t bytes) const;
    void replaceWithFolder(const std::string& name) const;
    // A valid one-bit-per-pixel BMP of the given size: far wider than any graphics card's texture
    // limit, yet small on disk.
    void writeWideBitmap(const std::string& name, int width, int height) const;

private:
    TempFolder folder{"flitmere-e2e-assets"};
};
