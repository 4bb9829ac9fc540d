#include "PlayScene.hpp"

#include "Assets.hpp"
#include "Hud.hpp"

namespace
{
constexpr unsigned hudCharacterSize = 14;
const sf::Vector2f hudPosition{1000.f, 2.f};
} // namespace

PlayScene::PlayScene()
    : hudFontOpened(openFont(hudFont, "Bicubik.OTF", "unable to load font")), hudText(hudFont, "", hudCharacterSize),
      scoreBuffer(requireSoundBuffer("score.wav", "unable to open score.wav")),
      musicBuffer(requireSoundBuffer("background.wav", "unable to open background.wav"))
{
    hudText.setPosition(hudPosition);
    hudText.setFillColor(sf::Color::Red);
    hudText.setString(hudString(hudScore, hudLives));
    hudText.setStyle(sf::Text::Regular);
    // The library places every sound in space, where a stereo buffer's two front channels are shared
    // out to side speakers at half their level: the tune would play 6 dB under its file. The game
    // places no sound anywhere, so the tune is played as it is. (Mono buffers keep their level either way.)
    music.setSpatializationEnabled(false);
}

void PlayScene::showOnHud(int score, int lives)
{
    if (score == hudScore && lives == hudLives)
        return;
    hudScore = score;
    hudLives = lives;
    hudText.setString(hudString(score, lives));
}
