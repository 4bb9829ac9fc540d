#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Every file the generator writes, by the names the game loads them by.
namespace assetgen
{
struct Inputs
{
    std::filesystem::path titleFont; // the font the game-over title is set in
};

std::vector<std::string> assetFileNames();

// Writes one asset, named as in assetFileNames(), into folder. Throws std::invalid_argument for an
// unknown name and std::runtime_error when the file cannot be made.
void writeAsset(const std::string& fileName, const std::filesystem::path& folder, const Inputs& inputs);

// Writes all of them, creating the folder if need be.
void writeAllAssets(const std::filesystem::path& folder, const Inputs& inputs);

// The application icon, in the sizes desktops ask for (48 to 256 px square).
std::vector<int> iconSizes();
// "icon-48.png" and so on: the name it is written under at each size.
std::string iconFileName(int size);
// Writes the icon at every size into folder, creating it if need be; throws std::runtime_error when
// a file cannot be made.
void writeIcons(const std::filesystem::path& folder);
} // namespace assetgen
