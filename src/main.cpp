#include "Assets.hpp"
#include "Flitmere.hpp"
#include "SoundOutput.hpp"
#include "SoundReadAhead.hpp"
#include "platform/Desktop.hpp"
#include "platform/Process.hpp"

#include <cstdlib>

int main()
{
    platform::prepareProcess();
    // Checked before anything needs the display, which the graphics library would otherwise end the
    // process over, with a signal.
    const platform::Desktop desktop;
    if (desktop.problem())
    {
        reportLoadFailure(*desktop.problem());
        return EXIT_FAILURE;
    }
    // The tune, the slowest file to load, loads beside everything else until the game's scene takes it.
    const SoundReadAhead tune("background.wav");
    openSoundOutput();

    Flitmere flitmere;
    flitmere.play(desktop);
    return 0;
}
