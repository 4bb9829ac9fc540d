// The painting building blocks every picture relies on.
#include "raster/Canvas.hpp"
#include "raster/Geometry.hpp"
#include "raster/Noise.hpp"

#include <gtest/gtest.h>

namespace assetgen
{
namespace
{
TEST(CanvasBlend, LaysColourOverTransparencyWithoutDarkeningIt)
{
    // Straight alpha: half-covering a clear pixel gives the colour at half opacity, not a colour
    // mixed with the clear pixel's (black) channels.
    Canvas canvas(1, 1);
    canvas.blend(0, 0, hex(0xFF8040), 0.5f);
    const Rgba c = canvas.at(0, 0);
    EXPECT_FLOAT_EQ(c.a, 0.5f);
    EXPECT_FLOAT_EQ(c.r, 1.f);
    EXPECT_NEAR(c.g, 128.f / 255.f, 1e-6);
}

TEST(CanvasBlend, StacksCoverageLikeLayersOfGlass)
{
    Canvas canvas(1, 1);
    canvas.blend(0, 0, hex(0xFFFFFF), 0.5f);
    canvas.blend(0, 0, hex(0x000000), 0.5f);
    EXPECT_FLOAT_EQ(canvas.at(0, 0).a, 0.75f);
    EXPECT_NEAR(canvas.at(0, 0).r, 1.f / 3.f, 1e-6) << "the black layer on top covers two thirds of the colour";
    canvas.blend(5, 5, hex(0xFFFFFF)); // off the canvas: ignored, not a crash
}

TEST(CanvasImage, ClearPixelsCarryNoColourAndOpaquePicturesAreFullyOpaque)
{
    Canvas canvas(2, 1);
    canvas.at(0, 0) = {0.7f, 0.2f, 0.1f, 0.f};
    canvas.at(1, 0) = {0.7f, 0.2f, 0.1f, 0.999f};
    const sf::Image soft = canvas.toImage();
    EXPECT_EQ(soft.getPixel({0, 0}), sf::Color(0, 0, 0, 0));
    EXPECT_EQ(canvas.toImage(true).getPixel({1, 0}).a, 255);
}

TEST(CanvasPaint, AntiAliasesEdgesOverOnePixel)
{
    // A disc of radius 3 centred on pixel (5, 5): pixels whose centres lie 2, 3 and 4 px away along a
    // row are fully inside, half covered and empty.
    Canvas canvas(10, 10);
    canvas.fill(
        canvas.bounds(),
        [](Vec2 p) {
            return sdf::circle(p, {5.5f, 5.5f}, 3.f);
        },
        hex(0xFFFFFF));
    EXPECT_FLOAT_EQ(canvas.at(7, 5).a, 1.f);
    EXPECT_FLOAT_EQ(canvas.at(8, 5).a, 0.5f);
    EXPECT_FLOAT_EQ(canvas.at(9, 5).a, 0.f);
}

TEST(SignedDistance, PolygonIsNegativeInsideEvenWhenConcave)
{
    // An arrowhead: its notch is outside although it lies within the bounding box.
    const Vec2 arrow[] = {{0.f, 0.f}, {10.f, 5.f}, {0.f, 10.f}, {4.f, 5.f}};
    EXPECT_LT(sdf::polygon({6.f, 5.f}, arrow), 0.f);
    EXPECT_GT(sdf::polygon({2.f, 5.f}, arrow), 0.f);
    EXPECT_NEAR(sdf::polygon({-3.f, 0.f}, arrow), 3.f, 1e-5);
}

TEST(SignedDistance, EllipseEdgeLiesOnItsRadii)
{
    EXPECT_NEAR(sdf::ellipse({13.f, 6.f}, {5.f, 6.f}, {8.f, 3.f}), 0.f, 1e-4);
    EXPECT_NEAR(sdf::ellipse({5.f, 9.f}, {5.f, 6.f}, {8.f, 3.f}), 0.f, 1e-4);
    EXPECT_LT(sdf::ellipse({5.f, 6.f}, {5.f, 6.f}, {8.f, 3.f}), 0.f);
}

TEST(Noise, RepeatsExactlyAfterItsPeriod)
{
    // The mountain strip's seam depends on this being exact, not approximate: the lattice wraps, so
    // points a whole period apart (with the same fraction) give the very same value.
    constexpr int period = 12;
    for (float x = 0.f; x < 12.f; x += 0.125f)
    {
        EXPECT_EQ(valueNoise(x, 0.3f, 7, period), valueNoise(x + period, 0.3f, 7, period)) << x;
        EXPECT_EQ(fractalNoise(x, 0.3f, 7, 4, period), fractalNoise(x + period, 0.3f, 7, 4, period)) << x;
    }
    EXPECT_NE(valueNoise(0.5f, 0.3f, 7), valueNoise(12.5f, 0.3f, 7)) << "without a period it does not repeat";
}

TEST(Noise, StaysInRangeAndDependsOnlyOnItsSeed)
{
    Rng a(42);
    Rng b(42);
    Rng c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i)
    {
        const float u = a.unit();
        EXPECT_EQ(u, b.unit());
        differs = differs || u != c.unit();
        ASSERT_GE(u, 0.f);
        ASSERT_LT(u, 1.f);
        const float n = fractalNoise(static_cast<float>(i) * 0.173f, 1.5f, 3, 5);
        ASSERT_GE(n, 0.f);
        ASSERT_LT(n, 1.f);
    }
    EXPECT_TRUE(differs);
}
} // namespace
} // namespace assetgen
