#include "FontCheck.hpp"

namespace
{
// A line, a glyph or a glyph's advance this many times its character size is out of all proportion:
// a usual font's lines are under twice their size, accents and descenders included.
constexpr float mostSizes = 4.f;
constexpr unsigned glyphProbeSize = 2;

// Written so that a size that is not a number fails too.
bool within(float length, unsigned characterSize)
{
    return length <= mostSizes * static_cast<float>(characterSize);
}
} // namespace

bool drawsInProportion(const sf::Font& font, std::string_view text, unsigned characterSize)
{
    if (!within(font.getLineSpacing(characterSize), characterSize))
        return false;
    for (const char character : text)
    {
        const sf::Glyph& glyph = font.getGlyph(static_cast<unsigned char>(character), glyphProbeSize, false);
        if (!within(glyph.advance, glyphProbeSize) || !within(glyph.bounds.size.x, glyphProbeSize) ||
            !within(glyph.bounds.size.y, glyphProbeSize))
            return false;
    }
    return true;
}
