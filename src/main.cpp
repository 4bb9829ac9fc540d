#include "Assets.hpp"
#include "Flitmere.hpp"
#include "SoundOutput.hpp"
#include "platform/Desktop.hpp"

#include <cstdlib>

int main()
{
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
    flitmere.play();
    return 0;
}
