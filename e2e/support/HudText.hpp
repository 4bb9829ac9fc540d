#pragma once

#include "support/Picture.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <map>
#include <optional>
#include <string>
#include <utility>

// Reads the HUD off the screen by comparing it with what the text would look like: the HUD's string
// for a given score and lives, set in the game's font at the HUD's size and place, drawn by the same
// graphics library. Where the glyphs cover a pixel fully, the HUD's pure red (255, 0, 0) shows
// whatever lies behind; where they do not touch it, no pure red can show (the art has none). Pixels
// the glyphs only partly cover take some of the colour behind them and are not judged. A window that
// shows the world enlarged shows glyphs set at the size they are shown at (28 px at twice the world's
// size) in the same room of the world.
// Drawing the comparison text needs a display: DISPLAY must name one from the first question until the
// object goes.
class HudText
{
public:
    // Whether the picture's HUD reads exactly "Score: <score>\nLives: <lives>".
    [[nodiscard]] bool shows(const Picture& picture, int score, int lives);

private:
    const sf::Image& coverage(const std::string& text, double scale);

    sf::Font font;
    std::optional<sf::RenderTexture> target;
    // By the text and the size its glyphs are set at.
    std::map<std::pair<std::string, unsigned>, sf::Image> drawn;
};
