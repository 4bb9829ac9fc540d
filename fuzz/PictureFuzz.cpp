// A picture file's bytes, as the game decodes them: checked, then handed to the image library.
#include "Assets.hpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    sf::Image image;
    (void)decodePicture(image, {reinterpret_cast<const char*>(data), size}, "fuzzed.bmp");
    return 0;
}
