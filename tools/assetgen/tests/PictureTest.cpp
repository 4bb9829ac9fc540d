// The pictures as the game will load them: read back from their BMP files through sf::Image.
#include "support/GeneratedAssets.hpp"

#include "Catalogue.hpp"
#include "pictures/Pictures.hpp"

#include <SFML/System/Vector3.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace assetgen::testing
{
namespace
{
constexpr std::uint8_t opaque = 255;
constexpr std::uint8_t clear = 0;

unsigned alphaAt(const sf::Image& image, unsigned x, unsigned y)
{
    return image.getPixel({x, y}).a;
}

// Counts the pixels of a rectangle whose alpha passes `test`.
template <class Test>
unsigned countPixels(const sf::Image& image, unsigned x0, unsigned y0, unsigned x1, unsigned y1, Test test)
{
    unsigned count = 0;
    for (unsigned y = y0; y < y1; ++y)
        for (unsigned x = x0; x < x1; ++x)
            count += test(image.getPixel({x, y})) ? 1u : 0u;
    return count;
}

bool isOpaque(sf::Color c)
{
    return c.a == opaque;
}
bool isClear(sf::Color c)
{
    return c.a == clear;
}
bool isSolidEnough(sf::Color c)
{
    return c.a >= 128;
}

// Whether every pixel of the picture's outermost rows and columns is see-through.
bool borderIsClear(const sf::Image& image)
{
    const unsigned w = image.getSize().x;
    const unsigned h = image.getSize().y;
    return countPixels(image, 0, 0, w, 1, isClear) + countPixels(image, 0, h - 1, w, h, isClear) +
               countPixels(image, 0, 0, 1, h, isClear) + countPixels(image, w - 1, 0, w, h, isClear) ==
           2 * w + 2 * h;
}

TEST(PictureSizes, MatchTheLayoutTheGameDrawsThemIn)
{
    for (const char* name : {"background.bmp", "gameOver.bmp"})
        EXPECT_EQ(loadPicture(name).getSize(), sf::Vector2u(1200, 800)) << name;
    for (const char* name : {"obstacle.bmp", "obstacle2.bmp", "volcano.bmp"})
    {
        const sf::Vector2u size = loadPicture(name).getSize();
        EXPECT_EQ(size.x, 100u) << name;
        EXPECT_GE(size.y, 1600u) << name << " must reach the window's bottom from a top at y -800";
    }
    for (const char* name : {"cloud1.bmp", "cloud2.bmp", "cloud3.bmp"})
        EXPECT_LE(loadPicture(name).getSize().x, 300u) << name;
    const sf::Vector2u strip = loadPicture("mountains.bmp").getSize();
    EXPECT_EQ(strip.x, 1202u) << "1200 columns and two repeated ones, so that copies 1200.75 px apart overlap";
    EXPECT_LE(strip.y, 420u) << "drawn at y 380, the strip must end by the window's bottom";
}

TEST(PictureAlpha, SurvivesTheBmpFileExactly)
{
    // Soft edges need every alpha level, not just on and off: compare the painted picture with the
    // one read back from its file, pixel by pixel.
    const sf::Image painted = pictures::cloud(0);
    const sf::Image loaded = loadPicture("cloud1.bmp");
    ASSERT_EQ(painted.getSize(), loaded.getSize());
    unsigned partial = 0;
    for (unsigned y = 0; y < painted.getSize().y; ++y)
        for (unsigned x = 0; x < painted.getSize().x; ++x)
        {
            ASSERT_EQ(painted.getPixel({x, y}), loaded.getPixel({x, y})) << "at " << x << "," << y;
            const std::uint8_t a = loaded.getPixel({x, y}).a;
            partial += (a != clear && a != opaque) ? 1u : 0u;
        }
    EXPECT_GT(partial, 100u) << "a soft cloud has many half-transparent pixels";
}

TEST(PictureAlpha, BackdropsAreOpaqueEverywhere)
{
    for (const char* name : {"background.bmp", "gameOver.bmp"})
    {
        const sf::Image image = loadPicture(name);
        EXPECT_EQ(countPixels(image, 0, 0, 1200, 800, isOpaque), 1200u * 800u) << name;
    }
}

class Column : public ::testing::TestWithParam<std::string>
{
};

TEST_P(Column, OpensExactlyWhereTheRulesLetTheBirdThrough)
{
    const sf::Image image = loadPicture(GetParam());
    const unsigned width = image.getSize().x;
    const unsigned height = image.getSize().y;
    // The rows either side of each edge, checked on their own so a failure names the edge.
    EXPECT_EQ(countPixels(image, 0, 749, width, 750, isOpaque), width) << "row 749 is the last solid row above";
    EXPECT_EQ(countPixels(image, 0, 750, width, 751, isClear), width) << "row 750 is the first open row";
    EXPECT_EQ(countPixels(image, 0, 849, width, 850, isClear), width) << "row 849 is the last open row";
    EXPECT_EQ(countPixels(image, 0, 850, width, 851, isOpaque), width) << "row 850 is the first solid row below";
    EXPECT_EQ(countPixels(image, 0, 0, width, 750, isOpaque), width * 750) << "solid above the opening";
    EXPECT_EQ(countPixels(image, 0, 750, width, 850, isClear), width * 100) << "open through the opening";
    EXPECT_EQ(countPixels(image, 0, 850, width, height, isOpaque), width * (height - 850)) << "solid below";
}

TEST_P(Column, FramesTheOpeningWithContrastingCaps)
{
    // The caps must stand out from the shaft: compare the average brightness of a cap row with a
    // shaft row well away from it.
    const sf::Image image = loadPicture(GetParam());
    const auto brightness = [&image](unsigned y)
    {
        double sum = 0.0;
        for (unsigned x = 10; x < 90; ++x)
        {
            const sf::Color c = image.getPixel({x, y});
            sum += c.r + c.g + c.b;
        }
        return sum / (80.0 * 3.0);
    };
    constexpr double visibleDifference = 20.0;
    EXPECT_GT(std::abs(brightness(740) - brightness(600)), visibleDifference);
    EXPECT_GT(std::abs(brightness(860) - brightness(1000)), visibleDifference);
}

TEST(Columns, EachIsPaintedInAColourOfItsOwn)
{
    // The shafts' average colours lie far apart: brick, jade and basalt, no two alike.
    std::vector<sf::Vector3f> shafts;
    for (const char* name : {"obstacle.bmp", "obstacle2.bmp", "volcano.bmp"})
    {
        sf::Vector3f sum;
        countPixels(loadPicture(name), 10, 100, 90, 600,
                    [&](sf::Color c)
                    {
                        sum += sf::Vector3f(c.r, c.g, c.b);
                        return true;
                    });
        shafts.push_back(sum / 40'000.f);
    }
    for (std::size_t i = 0; i < shafts.size(); ++i)
        EXPECT_GT((shafts[i] - shafts[(i + 1) % shafts.size()]).length(), 30.f) << "column " << i << " and the next";
}

INSTANTIATE_TEST_SUITE_P(Obstacles, Column, ::testing::Values("obstacle.bmp", "obstacle2.bmp", "volcano.bmp"),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

TEST(Bird, BothPicturesShareOneSize)
{
    EXPECT_EQ(loadPicture("wingUp2.bmp").getSize(), loadPicture("wingDown3.bmp").getSize());
}

TEST(Bird, BodyFillsTheCollisionBoxInBothPoses)
{
    for (const char* name : {"wingUp2.bmp", "wingDown3.bmp"})
    {
        const sf::Image image = loadPicture(name);
        ASSERT_GE(image.getSize().x, 33u);
        ASSERT_GE(image.getSize().y, 12u);
        // The box is 33 x 11.5 px: its edges must be reached, and most of it covered.
        EXPECT_GT(countPixels(image, 0, 0, 33, 12, isSolidEnough), 33u * 12u * 3 / 4) << name;
        EXPECT_GT(countPixels(image, 0, 0, 2, 12, isSolidEnough), 0u) << name << ": the tail reaches the left edge";
        EXPECT_GT(countPixels(image, 31, 0, 33, 12, isSolidEnough), 0u) << name << ": the beak reaches x 32";
        EXPECT_GT(countPixels(image, 0, 0, 33, 1, isSolidEnough), 0u) << name << ": something reaches the top row";
        EXPECT_GT(countPixels(image, 0, 11, 33, 12, isSolidEnough), 0u) << name << ": the body reaches row 11";
        // Nothing in front of the box, where a hit could not be seen coming.
        EXPECT_EQ(countPixels(image, 33, 0, image.getSize().x, image.getSize().y, isSolidEnough), 0u) << name;
        EXPECT_EQ(alphaAt(image, image.getSize().x - 1, image.getSize().y - 1), clear) << name << ": no background";
    }
}

TEST(Bird, WingFlapsBetweenThePictures)
{
    // Lowered, the wing hangs well below the body; raised, nothing does.
    const sf::Image up = loadPicture("wingUp2.bmp");
    const sf::Image down = loadPicture("wingDown3.bmp");
    const unsigned width = up.getSize().x;
    const unsigned height = up.getSize().y;
    constexpr unsigned belowBody = 15;
    EXPECT_EQ(countPixels(up, 0, belowBody, width, height, isSolidEnough), 0u);
    EXPECT_GT(countPixels(down, 0, belowBody, width, height, isSolidEnough), 20u);
    // Raised, the wing fills the body box's upper-left corner, which the round body leaves empty.
    EXPECT_GT(countPixels(up, 0, 0, 6, 2, isSolidEnough), countPixels(down, 0, 0, 6, 2, isSolidEnough));
}

TEST(Clouds, FadeOutBeforeTheirEdges)
{
    for (const char* name : {"cloud1.bmp", "cloud2.bmp", "cloud3.bmp"})
    {
        const sf::Image image = loadPicture(name);
        const unsigned w = image.getSize().x;
        const unsigned h = image.getSize().y;
        EXPECT_TRUE(borderIsClear(image)) << name << ": every border pixel is transparent";
        EXPECT_GT(countPixels(image, 0, 0, w, h, [](sf::Color c) { return c.a > 200; }), w * h / 5)
            << name << ": a cloud, not a wisp";
    }
}

TEST(Mountains, TileWithoutASeam)
{
    const sf::Image strip = loadPicture("mountains.bmp");
    const unsigned w = strip.getSize().x;
    const unsigned h = strip.getSize().y;
    constexpr unsigned period = 1200;
    for (unsigned x = period; x < w; ++x)
        for (unsigned y = 0; y < h; ++y)
            ASSERT_EQ(strip.getPixel({x, y}), strip.getPixel({x - period, y}))
                << "column " << x << " does not repeat column " << x - period << " at row " << y;
    // Across the join (the last column of the pattern next to the next copy's first) the picture
    // changes no more than it does between neighbours anywhere else.
    const auto columnDistance = [&strip, h](unsigned a, unsigned b)
    {
        double sum = 0.0;
        for (unsigned y = 0; y < h; ++y)
        {
            const sf::Color p = strip.getPixel({a, y});
            const sf::Color q = strip.getPixel({b, y});
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) + std::abs(p.a - q.a);
        }
        return sum / h;
    };
    double typical = 0.0;
    for (unsigned x = 1; x < w; ++x)
        typical += columnDistance(x - 1, x);
    typical /= (w - 1);
    EXPECT_LE(columnDistance(period - 1, 0), 4.0 * typical);
}

TEST(Mountains, LeaveSkyAboveAndCoverTheGroundBelow)
{
    const sf::Image strip = loadPicture("mountains.bmp");
    const unsigned w = strip.getSize().x;
    const unsigned h = strip.getSize().y;
    EXPECT_EQ(countPixels(strip, 0, 0, w, 1, isClear), w) << "transparent above the peaks";
    EXPECT_EQ(countPixels(strip, 0, h - 1, w, h, isOpaque), w) << "solid ground at the window's bottom";
    // Two or more ranges: a vertical line through the strip crosses from one colour family into
    // another more than once below its first peak. Counted as big jumps in brightness down a column.
    unsigned ranges = 0;
    for (unsigned x = 0; x < w; x += 50)
    {
        unsigned edges = 0;
        for (unsigned y = 1; y < h; ++y)
        {
            const sf::Color a = strip.getPixel({x, y - 1});
            const sf::Color b = strip.getPixel({x, y});
            if (a.a == opaque && b.a == opaque && std::abs((a.r + a.g + a.b) - (b.r + b.g + b.b)) > 60)
                ++edges;
        }
        ranges += edges > 0 ? 1u : 0u;
    }
    EXPECT_GT(ranges, w / 50 / 2) << "most columns show a nearer range standing in front of a farther one";
}

TEST(GameOver, KeepsTheScoreCornerCalm)
{
    // The HUD writes the score in red at x 1000..1200, y 2..40: the picture there varies little.
    const sf::Image image = loadPicture("gameOver.bmp");
    double sum = 0.0;
    double squares = 0.0;
    unsigned n = 0;
    for (unsigned y = 0; y < 45; ++y)
        for (unsigned x = 990; x < 1200; ++x)
        {
            const sf::Color c = image.getPixel({x, y});
            const double v = (c.r + c.g + c.b) / 3.0;
            sum += v;
            squares += v * v;
            ++n;
        }
    const double mean = sum / n;
    constexpr double calmDeviation = 4.0;
    EXPECT_LT(std::sqrt(squares / n - mean * mean), calmDeviation);
}

TEST(GameOver, CarriesTheTitleAcrossTheMiddle)
{
    // The title's cream letters and their ink outline are the brightest and darkest things in the
    // band where the title stands; the same band of plain dusk sky would hold neither.
    const sf::Image image = loadPicture("gameOver.bmp");
    const auto lightness = [](sf::Color c) { return (c.r + c.g + c.b) / 3; };
    unsigned cream = 0;
    unsigned ink = 0;
    for (unsigned y = 200; y < 340; ++y)
        for (unsigned x = 150; x < 1050; ++x)
        {
            const unsigned l = lightness(image.getPixel({x, y}));
            cream += l > 200 ? 1u : 0u;
            ink += l < 60 ? 1u : 0u;
        }
    EXPECT_GT(cream, 20000u);
    EXPECT_GT(ink, 10000u);
}
TEST(Icon, ShowsTheBirdOnARoundPatchOfSkyAtEverySize)
{
    TemporaryFolder folder;
    writeIcons(folder.path());
    // The bird's marigold plumage, lit or shaded; the sky, its haze and the rim hold none of it.
    const auto isMarigold = [](sf::Color c) { return c.a == opaque && c.r > 200 && c.g > 100 && c.b < 150; };
    for (const int size : iconSizes())
    {
        sf::Image icon;
        ASSERT_TRUE(icon.loadFromFile(folder.path() / iconFileName(size))) << size;
        ASSERT_EQ(icon.getSize(), sf::Vector2u(size, size));
        const unsigned last = icon.getSize().x - 1;
        // Corners alone would pass a circle wider than the icon, clipped square by its edges.
        EXPECT_TRUE(borderIsClear(icon)) << size << ": round and inside the icon, its border see-through";
        EXPECT_EQ(alphaAt(icon, last / 2, last / 4), opaque) << size << ": the sky fills the circle";
        const unsigned area = icon.getSize().x * icon.getSize().y;
        EXPECT_GT(countPixels(icon, 0, 0, size, size, isMarigold), area / 30) << size << ": no bird to be seen";
        // The PNG keeps every pixel as painted, soft edges and all.
        const sf::Image painted = pictures::icon(size);
        EXPECT_TRUE(
            std::equal(icon.getPixelsPtr(), icon.getPixelsPtr() + std::size_t{4} * area, painted.getPixelsPtr()))
            << size << ": the file differs from the painted icon";
    }
}
} // namespace
} // namespace assetgen::testing
