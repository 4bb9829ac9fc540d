#pragma once

#include "Painter.hpp"
#include "Scenery.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

#include <memory>

// What lives for one run of the game beside the window: the scenery, the HUD, the score chime and the
// background tune, built in this order. A missing picture or font is reported and tolerated; a
// missing sound is reported and ends the process with status 1.
struct PlayScene
{
    PlayScene();
    PlayScene(const PlayScene&) = delete;
    PlayScene& operator=(const PlayScene&) = delete;

    // Gives the HUD text the score and lives. Every frame asks; the text is rebuilt only when they
    // changed, which shows the same and spares two allocations a frame.
    void showOnHud(int score, int lives);

    Scenery scenery;
    sf::Font hudFont;
    // The library cannot lay out text on a font that failed to open, so the HUD is then not drawn.
    bool hudFontOpened;
    int hudScore = 0; // what hudText shows
    int hudLives = 3;
    sf::Text hudText;
    sf::SoundBuffer scoreBuffer;
    std::unique_ptr<const sf::SoundBuffer> musicBuffer; // 17 MB, never copied
    sf::Sound scoreSound{scoreBuffer};
    sf::Sound music{*musicBuffer};
    // What the drawing has learnt of the pictures, and its working space: drawing changes nothing shown.
    mutable Painter painter;
};
