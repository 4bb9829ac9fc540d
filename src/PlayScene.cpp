#include "PlayScene.hpp"

#include "Assets.hpp"
#include "Hud.hpp"

PlayScene::PlayScene()
    : hudFontOpened(openHudFont(hudFont, "Bicubik.OTF")), hudText(makeHudText(hudFont, hudScore, hudLives)),
      scoreBuffer(requireSoundBuffer("score.wav", "unable to open score.wav")),
      musicBuffer(requireHeldSound("background.wav", "unable to open background.wav"))
{
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
