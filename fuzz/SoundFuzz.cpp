// A sound file's bytes, as the game decodes them: checked, then handed to the audio library.
#include "Assets.hpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    sf::SoundBuffer buffer;
    (void)decodeSound(buffer, {reinterpret_cast<const char*>(data), size}, "fuzzed.wav");
    return 0;
}
