// A font file, opened by the game's own function from a file as the game opens "Bicubik.OTF", then
// the HUD measured and drawn on it. Glyphs are drawn through OpenGL: this target needs a display.
#include "Assets.hpp"
#include "Hud.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
// Every digit the score can show, and the fewest lives.
constexpr int everyDigit = 1'234'567'890;

const std::string& fontFile()
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("flitmere-font-fuzz-" + std::to_string(getpid()))).string();
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Never destroyed: its OpenGL context keeps the graphics driver loaded until the process ends, or
    // the driver's one-time allocations would look leaked once it is unloaded.
    static auto* const target = new sf::RenderTexture({300, 60});
    std::ofstream(fontFile(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    sf::Font font;
    if (openFont(font, fontFile(), "unable to load font"))
    {
        const sf::Text hud = makeHudText(font, everyDigit, 0);
        (void)hud.getGlobalBounds();
        target->clear();
        target->draw(hud);
        target->display();
    }
    return 0;
}
