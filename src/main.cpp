#include "Flitmere.hpp"

#include <SFML/Audio/PlaybackDevice.hpp>

int main()
{
    // Without a sound device the library can neither play nor tell a tune's position, and says so on
    // every frame. Its null device keeps time as a real one would, in silence.
    if (!sf::PlaybackDevice::getDefaultDevice())
        (void)sf::PlaybackDevice::setDeviceToNull();

    Flitmere flitmere;
    flitmere.play();
    return 0;
}
