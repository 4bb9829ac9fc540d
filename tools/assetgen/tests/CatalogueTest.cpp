// The generator as a whole: the files it writes, the build's list of them, and repeatability.
#include "support/GeneratedAssets.hpp"

#include "Catalogue.hpp"
#include "raster/TextRaster.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>

namespace assetgen::testing
{
namespace
{
std::set<std::string> filesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::set<std::string> buildOutputs()
{
    // The build's OUTPUT list, ';'-separated: it must name every file, or a build would not know to
    // rerun the generator when one is missing.
    std::set<std::string> names;
    std::istringstream list(ASSETGEN_LISTED_FILES);
    for (std::string name; std::getline(list, name, ';');)
        names.insert(name);
    return names;
}

TEST(Generator, WritesExactlyTheFilesTheBuildExpects)
{
    const std::vector<std::string> names = assetFileNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), buildOutputs());
    EXPECT_EQ(names.size(), 16u) << "eleven pictures and five sounds";
}

TEST(Generator, PaintsTheIconInEverySizeTheInstallationTakes)
{
    std::vector<std::string> sizes;
    for (const int size : iconSizes())
        sizes.push_back(std::to_string(size));
    std::vector<std::string> listed;
    std::istringstream list(ASSETGEN_LISTED_ICON_SIZES);
    for (std::string size; std::getline(list, size, ';');)
        listed.push_back(size);
    EXPECT_EQ(sizes, listed);
}

TEST(Generator, GivesTheSameBytesEveryRun)
{
    // One run through the library, one through the program the build uses; every file must match.
    TemporaryFolder first;
    TemporaryFolder second;
    writeAllAssets(first.path(), Inputs{titleFont()});
    const std::string command =
        std::string(ASSETGEN_PROGRAM) + " '" + second.path().string() + "' '" + titleFont().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const std::set<std::string> written = filesIn(first.path());
    ASSERT_EQ(written, filesIn(second.path()));
    ASSERT_EQ(written, buildOutputs());
    for (const std::string& name : written)
        EXPECT_TRUE(fileBytes(first.path() / name) == fileBytes(second.path() / name)) << name << " differs";
}

TEST(Generator, RefusesWhatItCannotMake)
{
    TemporaryFolder folder;
    EXPECT_THROW(writeAsset("unknown.bmp", folder.path(), Inputs{titleFont()}), std::invalid_argument);
    EXPECT_THROW(writeAsset("gameOver.bmp", folder.path(), Inputs{folder.path() / "missing.otf"}), std::runtime_error);
    const std::string noFolder = std::string(ASSETGEN_PROGRAM) + " > /dev/null 2>&1";
    EXPECT_NE(std::system(noFolder.c_str()), 0) << "without a folder the program must fail";
}

TEST(TitleFont, SetsTextWithRealGlyphs)
{
    const FontFace font(titleFont());
    const TextMask wide = font.render("GAME OVER", 100, 0);
    const TextMask narrow = font.render("I", 100, 0);
    EXPECT_GT(wide.width, 5 * narrow.width);
    EXPECT_GT(wide.height, 90);
    // Glyph outlines are anti-aliased: many pixels lie part-way between ink and paper.
    const auto partial =
        std::count_if(wide.coverage.begin(), wide.coverage.end(), [](float c) { return c > 0.05f && c < 0.95f; });
    const auto full = std::count_if(wide.coverage.begin(), wide.coverage.end(), [](float c) { return c >= 0.95f; });
    EXPECT_GT(partial, 300);
    EXPECT_GT(full, 2000);
}
} // namespace
} // namespace assetgen::testing
