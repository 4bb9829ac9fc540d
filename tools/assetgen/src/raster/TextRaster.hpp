#pragma once

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

// Text set with FreeType: one line of text becomes a coverage mask that pictures paint with.
namespace assetgen
{
struct TextMask
{
    int width = 0;
    int height = 0;
    int baseline = 0; // rows from the mask's top to the baseline
    std::vector<float> coverage;

    float at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0.f;
        return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x];
    }
};

class FontFace
{
public:
    // Throws std::runtime_error when FreeType cannot open the font.
    explicit FontFace(const std::filesystem::path& file);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // The line rendered at a pixel size (the em height), with room around it for `padding` pixels
    // of outline or shadow on every side.
    TextMask render(std::string_view text, int pixelSize, int padding) const;

private:
    struct Library;
    std::unique_ptr<Library> library;
};
} // namespace assetgen
