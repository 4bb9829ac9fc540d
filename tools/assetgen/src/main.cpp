// assetgen FOLDER [FONT]: writes all of Flitmere's pictures and sounds into FOLDER. FONT is the font
// the game-over title is set in; the build passes the HUD font it copies beside the assets.
#include "Catalogue.hpp"

#include <exception>
#include <iostream>

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
        std::cerr << "usage: assetgen FOLDER [FONT]\n";
        return usageError;
    }
    const std::filesystem::path font = argc == 3 ? argv[2] : ASSETGEN_TITLE_FONT;
    try
    {
        assetgen::writeAllAssets(argv[1], assetgen::Inputs{font});
    }
    catch (const std::exception& error)
    {
        std::cerr << "assetgen: " << error.what() << '\n';
        return generationError;
    }
    return 0;
}
