// A font file, opened by the game's own function as the game opens "Bicubik.OTF", then the HUD
// measured and drawn on it. Glyphs are drawn through OpenGL: this target needs a display.
#include "Hud.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <sys/resource.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace
{
// The most one font may raise the process's peak memory by. The real font's HUD costs about 1 MB; a
// font whose glyphs come out far larger than asked costs hundreds, in allocations each under
// libFuzzer's limit for one and all together far under its limit for the process.
constexpr long mostGrowthKiB = 32 * 1024;

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Never destroyed: its OpenGL context keeps the graphics driver loaded until the process ends, or
    // the driver's one-time allocations would look leaked once it is unloaded.
    static auto* const target = new sf::RenderTexture({300, 60});
    // The driver's first drawing of a texture costs what no font does: done before any font is judged.
    static const bool warmedUp = []
    {
        const sf::Texture texture(sf::Vector2u{64, 64});
        target->draw(sf::Sprite(texture));
        target->display();
        return true;
    }();
    (void)warmedUp;
    static const std::string fontFile = (std::filesystem::temp_directory_path() / "fuzzed.otf").string();
    std::ofstream(fontFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const long peakBefore = peakKiB();
    sf::Font font;
    if (openHudFont(font, fontFile))
    {
        // Every digit the score can show.
        const sf::Text hud = makeHudText(font, 1'234'567'890, 0);
        (void)hud.getGlobalBounds();
        target->clear();
        target->draw(hud);
        target->display();
    }
    if (const long grown = peakKiB() - peakBefore; grown > mostGrowthKiB)
    {
        std::fprintf(stderr, "the font raised the peak memory by %ld MiB\n", grown / 1024);
        std::abort();
    }
    return 0;
}
