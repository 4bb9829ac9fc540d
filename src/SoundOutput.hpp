#pragma once

// Chooses where the game's sound goes, before the first sound is made: the desktop's sound server
// through the audio library's default device, or, where there is none, the library's null device,
// which keeps time in silence.
void openSoundOutput();
