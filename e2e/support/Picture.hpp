#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace sf
{
class Image;
}

struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

struct Box
{
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0; // exclusive
    [[nodiscard]] bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// What the window showed at one moment, as opaque RGB pixels.
class Picture
{
public:
    Picture() = default;
    Picture(int width, int height);

    [[nodiscard]] int width() const { return pictureWidth; }
    [[nodiscard]] int height() const { return pictureHeight; }
    [[nodiscard]] Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * pictureWidth + x)]; }
    void set(int x, int y, Rgb colour) { pixels[static_cast<std::size_t>(y * pictureWidth + x)] = colour; }
    bool operator==(const Picture& other) const;
    bool operator!=(const Picture& other) const { return !(*this == other); }

    bool save(const std::filesystem::path& path) const;

private:
    int pictureWidth = 0;
    int pictureHeight = 0;
    std::vector<Rgb> pixels;
};

// Reading the game's screen. Nothing here knows what the art looks like: the bird and the game-over
// picture are recognised by comparing the screen with the asset files the game itself loaded.

// The top edge of the bird in the window, looked for at the bird's x (400, where it always flies while
// alive and upright), or nothing if the bird is not there: off screen, tumbling or not drawn.
[[nodiscard]] std::optional<int> findBird(const Picture& screen, const sf::Image& wingUp, const sf::Image& wingDown);

// Where the HUD is looked for: its text starts at (1000, 2) and holds two short lines.
constexpr Box hudArea{960, 0, 1200, 60};
// The box around the pure red (255, 0, 0) pixels in the HUD's area: those its text covers fully.
[[nodiscard]] std::optional<Box> redTextBounds(const Picture& screen);

// The share (0 to 1) of the picture's pixels, placed at the window's top-left corner, that the screen
// shows unchanged, leaving out `ignored`.
[[nodiscard]] double shareShown(const Picture& screen, const sf::Image& picture, const Box& ignored);
