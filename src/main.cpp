#include "Assets.hpp"
#include "Flitmere.hpp"
#include "SoundOutput.hpp"
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
    openSoundOutput();

    Flitmere flitmere;
    flitmere.play(desktop);
    return 0;
}
