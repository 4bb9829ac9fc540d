// What a load finds while an AssetCache lives: the first load of a file is kept, and the loads after it
// neither read nor decode the file again, yet give and say what the first gave and said.
#include "AssetCache.hpp"
#include "Assets.hpp"
#include "support/AssetFolder.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace
{
// Loads read bare file names from the working folder: the test's own, while this lives.
class WorkingFolder
{
public:
    explicit WorkingFolder(const std::filesystem::path& folder) : before(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() { std::filesystem::current_path(before); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path before;
};
} // namespace

TEST(AssetCache, AFileLoadedAgainIsNotReadAgainAndSaysAgainWhatItSaid)
{
    const AssetFolder folder;
    folder.write("cloud1.bmp", "BM\x36\x00\x00\x00 truncated");
    const WorkingFolder working(folder.path());
    {
        const AssetCache cache;
        sf::Texture first;
        ASSERT_TRUE(loadPicture(first, "obstacle.bmp"));
        folder.remove("obstacle.bmp");
        sf::Texture again;
        ASSERT_TRUE(loadPicture(again, "obstacle.bmp")) << "the file was read again";
        const sf::Image firstPixels = first.copyToImage();
        const sf::Image againPixels = again.copyToImage();
        ASSERT_EQ(againPixels.getSize(), sf::Vector2u(100, 1600));
        EXPECT_TRUE(std::equal(firstPixels.getPixelsPtr(), firstPixels.getPixelsPtr() + 100 * 1600 * 4,
                               againPixels.getPixelsPtr()));

        testing::internal::CaptureStderr();
        sf::Texture refused;
        EXPECT_FALSE(loadPicture(refused, "cloud1.bmp"));
        EXPECT_FALSE(loadPicture(refused, "cloud1.bmp"));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Flitmere: cloud1.bmp is cut short\nFlitmere: cloud1.bmp is cut short\n");
    }
    // The decoded files go with the cache.
    sf::Texture afterwards;
    EXPECT_FALSE(loadPicture(afterwards, "obstacle.bmp"));
}
