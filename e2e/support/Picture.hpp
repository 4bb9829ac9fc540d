#pragma once

#include <SFML/Graphics/Image.hpp>

#include <filesystem>
#include <optional>

// A colour on screen, always opaque.
using Rgb = sf::Color;

struct Box
{
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0; // exclusive
    [[nodiscard]] bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// What the window showed at one moment, as opaque pixels of an image SFML keeps and saves.
class Picture : public sf::Image
{
public:
    Picture() = default;
    Picture(int width, int height) : sf::Image({static_cast<unsigned>(width), static_cast<unsigned>(height)}) {}

    [[nodiscard]] int width() const { return static_cast<int>(getSize().x); }
    [[nodiscard]] int height() const { return static_cast<int>(getSize().y); }
    [[nodiscard]] Rgb at(int x, int y) const { return getPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)}); }
    void set(int x, int y, Rgb colour) { setPixel({static_cast<unsigned>(x), static_cast<unsigned>(y)}, colour); }
    bool operator==(const Picture& other) const;
    bool operator!=(const Picture& other) const { return !(*this == other); }
    [[nodiscard]] bool save(const std::filesystem::path& path) const { return saveToFile(path); }
};

// Reading the game's screen. Nothing here knows what the art looks like: the bird and the game-over
// picture are recognised by comparing the screen with the asset files the game itself loaded.

// The top edge of the bird in the world, looked for at the bird's x (400, where it always flies while
// alive and upright), or nothing if the bird is not there: off screen, tumbling or not drawn. A window
// showing the world enlarged by a whole factor shows each of its pixels as a square of that side; at
// other factors the pictures are smoothed, and the bird is not recognised.
[[nodiscard]] std::optional<int> findBird(const Picture& screen, const sf::Image& wingUp, const sf::Image& wingDown);

// How many of the window's pixels show one of the world's 1200x800: 2 in a 2400x1600 window.
[[nodiscard]] double worldScale(const Picture& screen);
// A box in the world's pixels, where a window showing the world at `scale` shows it.
[[nodiscard]] Box shownAt(const Box& world, double scale);

// Where the HUD is looked for, in the world's pixels: its text starts at (1000, 2) and holds two short lines.
constexpr Box hudArea{960, 0, 1200, 60};
// The box around the pure red (255, 0, 0) pixels in the HUD's area, at the window's scale: those its
// text covers fully.
[[nodiscard]] std::optional<Box> redTextBounds(const Picture& screen);

// The share (0 to 1) of the picture's pixels, placed at the window's top-left corner, that the screen
// shows unchanged, leaving out `ignored`.
[[nodiscard]] double shareShown(const Picture& screen, const sf::Image& picture, const Box& ignored);
