#pragma once

#include <optional>
#include <string_view>

// What the game checks of a picture's or a sound's bytes before the image or audio library reads them.
// The libraries choose a decoder by a file's content, not its name, and some of theirs hang, take
// gigabytes or corrupt memory on a file cut short or made to mislead. So the game's pictures must be
// BMPs and its sounds WAVs, whole, and only what the game has always named them reaches a decoder.
// Each check gives the reason it refuses the bytes, or nothing when they may go to the library.

// A BMP of a kind the library reads (the old OS/2 header or a Windows one), with plain or bit-field
// rows of 1 to 32 bits a pixel, every row within the file.
[[nodiscard]] std::optional<std::string_view> bmpFault(std::string_view bytes);

// A RIFF/WAVE file whose format chunk comes before its data chunk and names an encoding the library
// plays, on 1 to 8 channels, in frames that cannot decode into more samples than the data has bytes
// (four times for ADPCM), and whose chunks up to the data's end all lie within the file.
[[nodiscard]] std::optional<std::string_view> wavFault(std::string_view bytes);
