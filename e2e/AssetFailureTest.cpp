// Missing and broken asset files, as a player meets them: what the game prints, how it ends, and
// whether a window ever appears. A bird picture or sound, the score chime and the tune are needed:
// without one the game says which and ends with status 1 before it opens a window. Every other
// picture and the font can be done without: the game says which, opens its window and plays on.
// A broken file counts as a missing one: same message, same outcome.
#include "support/GameRun.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace
{
const std::string wingUpMessage = "Error: unable to load wingUpTexture from file\n";
const std::string wingDownMessage = "Error: unable to load wingDownTexture from file\n";
const std::string squawkMessage = "unable to open squawk.wav file\n";
const std::string flapMessage = "unable to open flap.wav file\n";
const std::string deathMessage = "unable to open death.wav file\n";
const std::string scoreMessage = "unable to open score.wav\n";
const std::string tuneMessage = "unable to open background.wav\n";
const std::string obstacleMessage = "unable to load obstacleTexture from file\n";
const std::string backgroundMessage = "Error: unable to load background texture\n";
const std::string gameOverMessage = "Error: unable to load gameOver texture\n";
const std::string fontMessage = "unable to load font\n";

std::string times(int count, const std::string& line)
{
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += line;
    return lines;
}

// Everything the game can do without, in the order it loads them: three obstacles first built on
// "obstacle.bmp", then on their own pictures, the two backdrops, the scenery, the font.
const std::vector<std::string> toleratedFiles{"obstacle.bmp",  "obstacle2.bmp", "volcano.bmp", "background.bmp",
                                              "gameOver.bmp",  "cloud1.bmp",    "cloud2.bmp",  "cloud3.bmp",
                                              "mountains.bmp", "Bicubik.OTF"};
const std::string everyToleratedMessage =
    times(6, obstacleMessage) + backgroundMessage + gameOverMessage + "Error: unable to load cloud1Texture\n" +
    "Error: unable to load cloud2Texture\n" + "Error: unable to load cloud3Texture\n" +
    "Error: unable to load mountainTexture\n" + fontMessage;

std::vector<std::string> plus(std::vector<std::string> names, const std::string& name)
{
    names.push_back(name);
    return names;
}

// Bytes that are no sound, picture or font: the same ones on every run.
std::string noise(std::size_t count)
{
    std::mt19937 generator(20240605);
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i)
        bytes.push_back(static_cast<char>(generator() & 0xff));
    return bytes;
}

struct AssetCase
{
    std::string name;
    std::function<void(const AssetCopy&)> prepare;
    std::string expectedOutput;
};

AssetCase missing(const std::string& caseName, const std::vector<std::string>& files, const std::string& output)
{
    return {caseName,
            [files](const AssetCopy& assets)
            {
                for (const std::string& file : files)
                    assets.remove(file);
            },
            output};
}

AssetCase broken(const std::string& caseName, std::function<void(const AssetCopy&)> breakIt, const std::string& output)
{
    return {caseName, std::move(breakIt), output};
}

std::size_t halfOf(const std::string& file)
{
    return std::filesystem::file_size(builtAssets() / file) / 2;
}

void PrintTo(const AssetCase& assetCase, std::ostream* out)
{
    *out << assetCase.name;
}

std::string caseName(const testing::TestParamInfo<AssetCase>& info)
{
    return info.param.name;
}

// A game that has to end does so at once; one that is still running after this hangs.
constexpr auto endTimeout = 20s;
constexpr auto closeTimeout = 20s;
constexpr auto changeTimeout = 20s;

class FatalAsset : public testing::TestWithParam<AssetCase>
{
};

class ToleratedAsset : public testing::TestWithParam<AssetCase>
{
};
} // namespace

TEST_P(FatalAsset, EndsWithStatus1AndItsMessageBeforeAnyWindowAppears)
{
    const AssetCopy assets;
    GetParam().prepare(assets);
    GameRun run(assets);

    const std::optional<ExitStatus> status = run.waitForExit(endTimeout);
    ASSERT_TRUE(status.has_value()) << "the game is still running after " << endTimeout.count() << " s, "
                                    << (run.windowEverShown() ? "with" : "without") << " a window; it printed: \""
                                    << run.output() << "\"";
    EXPECT_EQ(*status, ExitStatus::withCode(1));
    EXPECT_EQ(run.output(), GetParam().expectedOutput);
    EXPECT_FALSE(run.windowEverShown()) << "a window was shown before the game ended";
}

TEST_P(ToleratedAsset, IsReportedAndTheGamePlaysOnUntilItsWindowIsClosed)
{
    const AssetCopy assets;
    GetParam().prepare(assets);
    GameRun run(assets);

    ASSERT_TRUE(run.waitForWindow()) << "no window; " << run.describe();
    // Frames go on being drawn: something (at least the bird) moves on screen.
    const Picture first = run.capture();
    EXPECT_TRUE(run.waitForPicture([&](const Picture& now) { return now != first; }, changeTimeout))
        << "the picture did not change in " << changeTimeout.count() << " s";
    EXPECT_TRUE(run.running());
    const std::string startOutput = run.output();
    EXPECT_EQ(startOutput, GetParam().expectedOutput);

    run.requestClose();
    const std::optional<ExitStatus> status = run.waitForExit(closeTimeout);
    ASSERT_TRUE(status.has_value()) << "the game did not end when its window was closed";
    EXPECT_EQ(*status, ExitStatus::withCode(0));
    EXPECT_EQ(run.output(), startOutput) << "more was printed after the start";
}

INSTANTIATE_TEST_SUITE_P(
    Missing, FatalAsset,
    testing::Values(missing("wingUp2_bmp", {"wingUp2.bmp"}, wingUpMessage),
                    missing("wingDown3_bmp", {"wingDown3.bmp"}, wingDownMessage),
                    missing("squawk_wav", {"squawk.wav"}, squawkMessage),
                    missing("flap_wav", {"flap.wav"}, flapMessage), missing("death_wav", {"death.wav"}, deathMessage),
                    missing("score_wav", {"score.wav"}, scoreMessage),
                    missing("background_wav", {"background.wav"}, tuneMessage),
                    // Loading stops at the first needed file that fails: only it is reported.
                    missing("no_asset_at_all", allAssetNames(), wingUpMessage),
                    missing("both_sounds", {"score.wav", "background.wav"}, scoreMessage),
                    missing("wingDown3_bmp_and_death_wav", {"wingDown3.bmp", "death.wav"}, wingDownMessage),
                    // What can be done without is reported first, in loading order, then the chime.
                    missing("every_tolerated_file_and_score_wav", plus(toleratedFiles, "score.wav"),
                            everyToleratedMessage + scoreMessage)),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Broken, FatalAsset,
    testing::Values(
        broken(
            "wingUp2_bmp_70000_pixels_wide",
            [](const AssetCopy& assets) { assets.writeWideBitmap("wingUp2.bmp", 70'000, 10); }, wingUpMessage),
        broken(
            "wingDown3_bmp_cut_to_its_first_10_bytes",
            [](const AssetCopy& assets) { assets.truncate("wingDown3.bmp", 10); }, wingDownMessage),
        broken(
            "wingDown3_bmp_cut_in_half",
            [](const AssetCopy& assets) { assets.truncate("wingDown3.bmp", halfOf("wingDown3.bmp")); },
            wingDownMessage),
        broken(
            "squawk_wav_of_random_bytes", [](const AssetCopy& assets) { assets.write("squawk.wav", noise(20'000)); },
            squawkMessage),
        broken(
            "background_wav_of_random_bytes",
            [](const AssetCopy& assets) { assets.write("background.wav", noise(200'000)); }, tuneMessage),
        broken(
            "score_wav_empty", [](const AssetCopy& assets) { assets.write("score.wav", ""); }, scoreMessage),
        broken(
            "death_wav_a_folder", [](const AssetCopy& assets) { assets.replaceWithFolder("death.wav"); },
            deathMessage)),
    caseName);

INSTANTIATE_TEST_SUITE_P(Missing, ToleratedAsset,
                         testing::Values(missing("obstacle_bmp", {"obstacle.bmp"}, times(4, obstacleMessage)),
                                         missing("obstacle2_bmp", {"obstacle2.bmp"}, obstacleMessage),
                                         missing("volcano_bmp", {"volcano.bmp"}, obstacleMessage),
                                         missing("background_bmp", {"background.bmp"}, backgroundMessage),
                                         missing("gameOver_bmp", {"gameOver.bmp"}, gameOverMessage),
                                         missing("cloud1_bmp", {"cloud1.bmp"}, "Error: unable to load cloud1Texture\n"),
                                         missing("cloud2_bmp", {"cloud2.bmp"}, "Error: unable to load cloud2Texture\n"),
                                         missing("cloud3_bmp", {"cloud3.bmp"}, "Error: unable to load cloud3Texture\n"),
                                         missing("mountains_bmp", {"mountains.bmp"},
                                                 "Error: unable to load mountainTexture\n"),
                                         missing("Bicubik_OTF", {"Bicubik.OTF"}, fontMessage),
                                         missing("every_tolerated_file", toleratedFiles, everyToleratedMessage)),
                         caseName);

INSTANTIATE_TEST_SUITE_P(
    Broken, ToleratedAsset,
    testing::Values(
        broken(
            "background_bmp_70000_pixels_wide",
            [](const AssetCopy& assets) { assets.writeWideBitmap("background.bmp", 70'000, 10); }, backgroundMessage),
        broken(
            "obstacle2_bmp_cut_in_half",
            [](const AssetCopy& assets) { assets.truncate("obstacle2.bmp", halfOf("obstacle2.bmp")); },
            obstacleMessage),
        broken(
            "gameOver_bmp_empty", [](const AssetCopy& assets) { assets.write("gameOver.bmp", ""); }, gameOverMessage),
        broken(
            "cloud3_bmp_a_folder", [](const AssetCopy& assets) { assets.replaceWithFolder("cloud3.bmp"); },
            "Error: unable to load cloud3Texture\n"),
        broken(
            "Bicubik_OTF_empty", [](const AssetCopy& assets) { assets.write("Bicubik.OTF", ""); }, fontMessage),
        broken(
            "Bicubik_OTF_of_random_bytes", [](const AssetCopy& assets) { assets.write("Bicubik.OTF", noise(50'000)); },
            fontMessage),
        broken(
            "Bicubik_OTF_a_folder", [](const AssetCopy& assets) { assets.replaceWithFolder("Bicubik.OTF"); },
            fontMessage)),
    caseName);
