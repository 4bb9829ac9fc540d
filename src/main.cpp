#include "Flitmere.hpp"
#include "SoundOutput.hpp"

int main()
{
    openSoundOutput();

    Flitmere flitmere;
    flitmere.play();
    return 0;
}
