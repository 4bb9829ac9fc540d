#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

#include <string>

// The HUD's two lines: "Score: N" and "Lives: M", in plain decimal.
[[nodiscard]] std::string hudString(int score, int lives);

// Opens the HUD's font. A font that is missing, unreadable, or draws the HUD out of all proportion to
// its size is reported ("unable to load font"), and the game then plays on without the HUD.
[[nodiscard]] bool openHudFont(sf::Font& font, const std::string& fileName);

// The HUD as the game shows it: those lines on the font, 14 px, red, near the top-right corner.
[[nodiscard]] sf::Text makeHudText(const sf::Font& font, int score, int lives);

// Sets the HUD's glyphs at the size the window shows them (28 px where it shows the world at twice its
// size, `pixelRatio`), not a 14 px bitmap enlarged, and shrinks the text back by as much: it takes the
// same room in the world, within half a window pixel a glyph.
void sharpenHudText(sf::Text& text, float pixelRatio);
