#pragma once

#include <SFML/Graphics/Font.hpp>

#include <string_view>

// Whether a font draws `text` in proportion to `characterSize`. A font can be made (a broken header
// does it) whose letters come out hundreds of times larger than asked: each glyph's picture then takes
// megabytes, and two lines of text hundreds. So nothing is drawn at that size to judge it: the line
// spacing comes from the font's metrics, and the glyphs are drawn at 2 px, where even such a font's
// cost little.
[[nodiscard]] bool drawsInProportion(const sf::Font& font, std::string_view text, unsigned characterSize);
