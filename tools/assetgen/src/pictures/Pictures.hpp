#pragma once

#include <SFML/Graphics/Image.hpp>

#include <filesystem>

// Every picture the game shows, painted from code. The sizes are the ones the game's rules and
// layout are built around.
namespace assetgen::pictures
{
constexpr int windowWidth = 1200;
constexpr int windowHeight = 800;

// Columns: the sprite's top sits anywhere from y -800 to -1, so 1600 rows always reach the window's
// bottom. The rules let the bird through rows 750..849 exactly, so the picture opens exactly there.
constexpr int columnWidth = 100;
constexpr int columnHeight = 1600;
constexpr int openingTop = 750;
constexpr int openingBottom = 850; // first solid row below the opening

// The bird: the rules test a box 33 px wide and 11.5 px deep at the sprite's top-left corner, so the
// body fills that box; the lowered wing hangs below it.
constexpr int birdWidth = 34;
constexpr int birdHeight = 24;
constexpr int birdBodyWidth = 33;
constexpr int birdBodyDepth = 12;

// The mountain strip is drawn at y 380, two copies laid 1200 or 1200.75 px apart. Its pattern repeats
// every 1200 columns, and two extra columns repeat its first two: copies 1200.75 apart still overlap,
// and where they overlap both show the same pixels.
constexpr int mountainPeriod = 1200;
constexpr int mountainWidth = mountainPeriod + 2;
constexpr int mountainHeight = 420;

constexpr int cloudCount = 3;
constexpr int maxCloudWidth = 300;

enum class WingPose
{
    Up,
    Down
};

enum class ColumnKind
{
    Brick,
    Jade,
    Volcano
};

sf::Image background();
sf::Image gameOver(const std::filesystem::path& titleFont);
sf::Image column(ColumnKind kind);
sf::Image bird(WingPose pose);
// variant is 0, 1 or 2.
sf::Image cloud(int variant);
sf::Image mountains();
// The application icon, `size` pixels square.
sf::Image icon(int size);
} // namespace assetgen::pictures
