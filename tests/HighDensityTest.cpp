#include "DesktopScale.hpp"
#include "Hud.hpp"
#include "PixelRatio.hpp"
#include "PlayScene.hpp"
#include "WindowSize.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string_view>

TEST(HighDensity, TheScaleIsWhatTheDesktopSaysAndOneWhereItSaysNothingSensible)
{
    struct Row
    {
        std::optional<std::string_view> xftDpi;
        std::optional<std::string_view> gdkScale;
        float scale;
    };
    const Row rows[] = {
        {std::nullopt, std::nullopt, 1.f},
        {"96", std::nullopt, 1.f},
        {"144", std::nullopt, 1.5f},
        {"192", std::nullopt, 2.f},
        {"120.0", std::nullopt, 1.25f},
        {"192 ", std::nullopt, 2.f},
        // Below 100% the designed size stays.
        {"72", std::nullopt, 1.f},
        // Malformed, none, negative or enormous.
        {"", std::nullopt, 1.f},
        {"192dpi", std::nullopt, 1.f},
        {"high", std::nullopt, 1.f},
        {"0", std::nullopt, 1.f},
        {"-192", std::nullopt, 1.f},
        {"9600", std::nullopt, 1.f},
        {"1e308", std::nullopt, 1.f},
        {"nan", std::nullopt, 1.f},
        {"inf", std::nullopt, 1.f},
        // GDK_SCALE, a whole factor set for the program, comes first; one that makes no sense is passed over.
        {"96", "2", 2.f},
        {"192", "1", 1.f},
        {std::nullopt, "3", 3.f},
        {"144", "1.5", 1.5f},
        {"144", "0", 1.5f},
        {"144", "-2", 1.5f},
        {"144", "", 1.5f},
        {"144", "two", 1.5f},
        {std::nullopt, "64", 1.f},
    };
    for (const Row& row : rows)
        EXPECT_EQ(x11Scale(row.xftDpi, row.gdkScale), row.scale)
            << "Xft.dpi " << row.xftDpi.value_or("(none)") << ", GDK_SCALE " << row.gdkScale.value_or("(none)");
    // A monitor's density as Windows gives it.
    EXPECT_EQ(scaleOfDpi(192), 2.f);
    EXPECT_EQ(scaleOfDpi(0), 1.f);
}

TEST(HighDensity, TheWindowIsTheWorldTimesTheScaleWhereItFitsElseTheLargestOfItsShapeThatDoes)
{
    struct Row
    {
        sf::Vector2u screen;
        float scale;
        sf::Vector2u window;
    };
    // Under openbox: a 22 px title bar and 1 px sides, the work area the whole screen.
    const Row rows[] = {
        {{3840, 2160}, 2.f, {2400, 1600}},
        {{2560, 1600}, 1.5f, {1800, 1200}},
        {{1920, 1200}, 1.f, {1200, 800}},
        {{1920, 1080}, 1.25f, {1500, 1000}},
        // 100 dpi: 1250 px rounded to the shape's 3 px steps.
        {{3840, 2160}, 100.f / 96.f, {1251, 834}},
        // Too little height for 1600 px: 1058 px of it.
        {{1920, 1080}, 2.f, {1587, 1058}},
        {{1366, 768}, 1.5f, {1119, 746}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(windowSize(row.screen, {row.screen, {2, 22}}, row.scale), row.window)
            << row.screen.x << "x" << row.screen.y << " at " << row.scale;
}

TEST(HighDensity, PicturesKeepTheirEdgesAtWholeFactorsAndAreSmoothedAtOthers)
{
    EXPECT_FALSE(smoothsPictures(pixelRatio({1200, 800})));
    EXPECT_FALSE(smoothsPictures(pixelRatio({2400, 1600})));
    EXPECT_FALSE(smoothsPictures(pixelRatio({3600, 2400})));
    EXPECT_TRUE(smoothsPictures(pixelRatio({1800, 1200})));
    EXPECT_TRUE(smoothsPictures(pixelRatio({1251, 834})));
    EXPECT_TRUE(smoothsPictures(pixelRatio({1071, 714})));
}

TEST(HighDensity, TheHudsGlyphsAreSetAtTheSizeShownAndTakeTheSameRoomInTheWorld)
{
    const PlayScene scene;
    ASSERT_TRUE(scene.hudFontOpened);
    const sf::FloatRect designed = scene.hudText.getGlobalBounds();
    for (const auto& [ratio, characterSize] : {std::pair{2.f, 28u}, std::pair{1.5f, 21u}, std::pair{0.8925f, 12u}})
    {
        sf::Text text = scene.hudText;
        sharpenHudText(text, ratio);
        EXPECT_EQ(text.getCharacterSize(), characterSize) << "at " << ratio;
        // Hinted at another size, and at 12 px where 12.5 would be shown, the text is a few hundredths
        // off its size.
        const sf::FloatRect shown = text.getGlobalBounds();
        EXPECT_NEAR(shown.position.x, designed.position.x, 1.f) << "at " << ratio;
        EXPECT_NEAR(shown.position.y, designed.position.y, 1.f) << "at " << ratio;
        EXPECT_NEAR(shown.size.x, designed.size.x, designed.size.x * 0.08f) << "at " << ratio;
        EXPECT_NEAR(shown.size.y, designed.size.y, designed.size.y * 0.08f) << "at " << ratio;
    }
}
