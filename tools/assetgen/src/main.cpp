// assetgen FOLDER [FONT]: writes all of Flitmere's pictures and sounds into FOLDER. FONT is the font
// the game-over title is set in; the build passes the HUD font it copies beside the assets.
// assetgen --icons FOLDER: writes the application icon, in every size, into FOLDER.
#include "Catalogue.hpp"

#include <exception>
#include <iostream>
#include <string_view>

#ifndef ASSETGEN_TITLE_FONT
#define ASSETGEN_TITLE_FONT ""
#endif

namespace
{
constexpr int usageError = 2;
constexpr int generationError = 1;
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
    {
        std::cerr << "usage: assetgen FOLDER [FONT] | assetgen --icons FOLDER\n";
        return usageError;
    }
    const bool icons = std::string_view(argv[1]) == "--icons";
    if (icons && argc != 3)
    {
        std::cerr << "usage: assetgen --icons FOLDER\n";
        return usageError;
    }
    try
    {
        if (icons)
            assetgen::writeIcons(argv[2]);
        else
            assetgen::writeAllAssets(argv[1], assetgen::Inputs{argc == 3 ? argv[2] : ASSETGEN_TITLE_FONT});
    }
    catch (const std::exception& error)
    {
        std::cerr << "assetgen: " << error.what() << '\n';
        return generationError;
    }
    return 0;
}
