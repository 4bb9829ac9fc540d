// A font file, opened by the game's own function as the game opens "Bicubik.OTF", then the HUD
// measured and drawn on it. Glyphs are drawn through OpenGL: this target needs a display.
#include "Assets.hpp"
#include "Hud.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Never destroyed: its OpenGL context keeps the graphics driver loaded until the process ends, or
    // the driver's one-time allocations would look leaked once it is unloaded.
    static auto* const target = new sf::RenderTexture({300, 60});
    static const std::string fontFile = (std::filesystem::temp_directory_path() / "fuzzed.otf").string();
    std::ofstream(fontFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    sf::Font font;
    if (openFont(font, fontFile, "unable to load font"))
    {
        // Every digit the score can show.
        const sf::Text hud = makeHudText(font, 1'234'567'890, 0);
        (void)hud.getGlobalBounds();
        target->clear();
        target->draw(hud);
        target->display();
    }
    return 0;
}
