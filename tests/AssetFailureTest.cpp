// What the game says and does when a file is missing or unreadable, watched from outside: each case
// runs the load probe in a folder with that file taken away or spoiled.
#include "Assets.hpp"
#include "support/AssetFolder.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

namespace
{
const std::string obstacleMessage = "unable to load obstacleTexture from file\n";

std::string repeated(const std::string& line, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

// A little-endian field of `count` bytes.
std::string field(std::uint32_t value, int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += static_cast<char>(value >> (8 * i) & 0xffu);
    return bytes;
}

// A whole 2 by 2, 24-bit BMP of black pixels with an info header of the given size: 12 for the old
// OS/2 kind (16-bit sizes, no compression field), 40 for the common kind, whose rows may run top-down.
std::string blackSquareBitmap(std::uint32_t infoHeaderSize, bool topDown = false)
{
    constexpr std::uint32_t side = 2;
    constexpr std::uint32_t rowBytes = 8; // two 3-byte pixels, padded to a 32-bit word
    const std::uint32_t pixelsAt = 14 + infoHeaderSize;
    const int sizeBytes = infoHeaderSize == 12 ? 2 : 4;
    std::string bytes = "BM" + field(pixelsAt + side * rowBytes, 4) + field(0, 4) + field(pixelsAt, 4) +
                        field(infoHeaderSize, 4) + field(side, sizeBytes) +
                        field(topDown ? 0u - side : side, sizeBytes) // a negative height, as a signed field
                        + field(1, 2) + field(24, 2);                // planes, bits per pixel
    if (infoHeaderSize == 40)
        for (const std::uint32_t value : {0u, side * rowBytes, 2835u, 2835u, 0u, 0u})
            bytes += field(value, 4); // uncompressed, image size, resolution, palette
    return bytes + std::string(side * rowBytes, '\0');
}

// A WAV at 8 kHz: a format chunk (its 16 bytes, then `extension`), and a data chunk holding `data`
// whose size field says `claimed`, if given.
std::string wav(std::uint16_t encoding, std::uint16_t channels, std::uint16_t blockAlign, std::uint16_t bits,
                const std::string& data, std::optional<std::uint32_t> claimed = {}, const std::string& extension = "")
{
    const std::string format = field(encoding, 2) + field(channels, 2) + field(8000, 4) + field(8000u * blockAlign, 4) +
                               field(blockAlign, 2) + field(bits, 2) + extension;
    const auto size = [](const std::string& bytes) { return static_cast<std::uint32_t>(bytes.size()); };
    return "RIFF" + field(20 + size(format) + size(data), 4) + "WAVEfmt " + field(size(format), 4) + format + "data" +
           field(claimed.value_or(size(data)), 4) + data;
}

std::string fileBytes(const std::filesystem::path& path)
{
    std::string bytes(std::filesystem::file_size(path), '\0');
    std::ifstream(path, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void expectRun(const ProbeRun& run, int exitStatus, const std::string& output)
{
    EXPECT_EQ(run.exitStatus, exitStatus) << run.errors;
    EXPECT_EQ(run.output, output) << run.errors;
}
} // namespace

TEST(GameConstruction, WithEveryFilePresentSaysNothing)
{
    const AssetFolder folder;
    expectRun(runProbe(folder, "game"), 0, "");
    expectRun(runProbe(folder, "scene"), 0, "");
}

TEST(GameConstruction, WithNoFilesAtAllStopsAtTheFirstBirdPicture)
{
    const AssetFolder folder;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        folder.remove(entry.path().filename().string());
    expectRun(runProbe(folder, "game"), 1, "Error: unable to load wingUpTexture from file\n");
}

TEST(GameConstruction, EachMissingBirdFileEndsTheProcessWithItsOwnMessage)
{
    const std::pair<const char*, const char*> cases[] = {
        {"wingUp2.bmp", "Error: unable to load wingUpTexture from file\n"},
        {"wingDown3.bmp", "Error: unable to load wingDownTexture from file\n"},
        {"squawk.wav", "unable to open squawk.wav file\n"},
        {"flap.wav", "unable to open flap.wav file\n"},
        {"death.wav", "unable to open death.wav file\n"},
    };
    for (const auto& [file, message] : cases)
    {
        SCOPED_TRACE(file);
        const AssetFolder folder({file});
        expectRun(runProbe(folder, "game"), 1, message);
    }
}

TEST(GameConstruction, OnlyTheFirstMissingBirdFileIsReported)
{
    const AssetFolder folder({"wingDown3.bmp", "squawk.wav", "death.wav"});
    expectRun(runProbe(folder, "bird"), 1, "Error: unable to load wingDownTexture from file\n");
}

TEST(GameConstruction, MissingObstaclePicturesAreReportedOncePerConstruction)
{
    // The game builds three obstacles on "obstacle.bmp" first, then each on its own picture.
    expectRun(runProbe(AssetFolder({"obstacle.bmp"}), "game"), 0, repeated(obstacleMessage, 4));
    expectRun(runProbe(AssetFolder({"obstacle2.bmp"}), "game"), 0, obstacleMessage);
    expectRun(runProbe(AssetFolder({"volcano.bmp"}), "game"), 0, obstacleMessage);
}

TEST(GameConstruction, MissingBackgroundPicturesAreTolerated)
{
    expectRun(runProbe(AssetFolder({"background.bmp"}), "game"), 0, "Error: unable to load background texture\n");
    expectRun(runProbe(AssetFolder({"gameOver.bmp"}), "game"), 0, "Error: unable to load gameOver texture\n");
}

TEST(PlaySetUp, MissingSceneryPicturesAndFontAreTolerated)
{
    const std::pair<const char*, const char*> cases[] = {
        {"cloud1.bmp", "Error: unable to load cloud1Texture\n"},
        {"cloud2.bmp", "Error: unable to load cloud2Texture\n"},
        {"cloud3.bmp", "Error: unable to load cloud3Texture\n"},
        {"mountains.bmp", "Error: unable to load mountainTexture\n"},
        {"Bicubik.OTF", "unable to load font\n"},
    };
    for (const auto& [file, message] : cases)
    {
        SCOPED_TRACE(file);
        expectRun(runProbe(AssetFolder({file}), "scene"), 0, message);
    }
}

TEST(PlaySetUp, MissingSoundsAreFatalAndTheChimeIsTriedFirst)
{
    expectRun(runProbe(AssetFolder({"score.wav"}), "scene"), 1, "unable to open score.wav\n");
    expectRun(runProbe(AssetFolder({"background.wav"}), "scene"), 1, "unable to open background.wav\n");
    expectRun(runProbe(AssetFolder({"score.wav", "background.wav"}), "scene"), 1, "unable to open score.wav\n");
}

TEST(PlaySetUp, BrokenFilesCountAsMissing)
{
    AssetFolder folder;
    folder.write("Bicubik.OTF", "");
    folder.write("cloud1.bmp", "BM\x36\x00\x00\x00 truncated");
    std::filesystem::create_directory(folder.path() / "cloud1.bmp.d");
    folder.remove("mountains.bmp");
    std::filesystem::create_directory(folder.path() / "mountains.bmp");
    // A picture of no rows at all, and a FIFO, which no one writes to, in a picture's place.
    folder.write("cloud2.bmp", blackSquareBitmap(40).replace(22, 4, field(0, 4)));
    folder.remove("cloud3.bmp");
    ASSERT_EQ(mkfifo((folder.path() / "cloud3.bmp").c_str(), 0600), 0);
    const std::string pictures = "Error: unable to load cloud1Texture\nError: unable to load cloud2Texture\n"
                                 "Error: unable to load cloud3Texture\nError: unable to load mountainTexture\n";
    expectRun(runProbe(folder, "scene"), 0, pictures + "unable to load font\n");

    folder.write("background.wav", std::string(4096, '\x5a'));
    expectRun(runProbe(folder, "scene"), 1, pictures + "unable to load font\nunable to open background.wav\n");
}

TEST(PlaySetUp, TheTuneReadAheadSaysItsLinesWhenTheSceneAsksForItAndNothingWhenTheGameEndsFirst)
{
    AssetFolder folder;
    folder.write("cloud1.bmp", "BM\x36\x00\x00\x00 truncated");
    folder.write("background.wav", "RIFF");
    ProbeRun run = runProbe(folder, "started");
    expectRun(run, 1, "Error: unable to load cloud1Texture\nunable to open background.wav\n");
    const std::size_t picture = run.errors.find("cloud1.bmp");
    const std::size_t tune = run.errors.find("background.wav");
    EXPECT_NE(tune, std::string::npos) << run.errors;
    EXPECT_LT(picture, tune) << run.errors;

    folder.remove("wingUp2.bmp");
    run = runProbe(folder, "started");
    expectRun(run, 1, "Error: unable to load wingUpTexture from file\n");
    EXPECT_EQ(run.errors.find("background.wav"), std::string::npos) << run.errors;
}

TEST(GameConstruction, ACutPictureOrAFolderForASoundCountsAsMissing)
{
    AssetFolder folder;
    const std::string bytes = fileBytes(builtAssets() / "wingDown3.bmp");
    folder.write("wingDown3.bmp", bytes.substr(0, bytes.size() / 2));
    expectRun(runProbe(folder, "bird"), 1, "Error: unable to load wingDownTexture from file\n");

    folder.write("wingDown3.bmp", bytes);
    folder.remove("death.wav");
    std::filesystem::create_directory(folder.path() / "death.wav");
    expectRun(runProbe(folder, "bird"), 1, "unable to open death.wav file\n");
}

TEST(GameConstruction, EachBmpHeaderKindIsJudgedWholeOrCutByItsOwnLayout)
{
    AssetFolder folder;
    for (const auto& [infoHeaderSize, topDown] : {std::pair{12u, false}, {40u, false}, {40u, true}})
    {
        SCOPED_TRACE("info header of " + std::to_string(infoHeaderSize) + " bytes" + (topDown ? ", top-down" : ""));
        const std::string whole = blackSquareBitmap(infoHeaderSize, topDown);
        folder.write("wingUp2.bmp", whole);
        expectRun(runProbe(folder, "bird"), 0, "");
        folder.write("wingUp2.bmp", whole.substr(0, whole.size() - 1));
        expectRun(runProbe(folder, "bird"), 1, "Error: unable to load wingUpTexture from file\n");
    }
    // A file that only begins like a BMP ("BA", an OS/2 bitmap array) never reaches the library; the
    // game says why it refuses it.
    folder.write("wingUp2.bmp", "BA" + blackSquareBitmap(40).substr(2, 60));
    const ProbeRun run = runProbe(folder, "bird");
    expectRun(run, 1, "Error: unable to load wingUpTexture from file\n");
    EXPECT_NE(run.errors.find("wingUp2.bmp is not a BMP picture"), std::string::npos) << run.errors;
}

TEST(PlaySetUp, TheGameRunsAndDrawsWithoutAnyTolerableFile)
{
    const AssetFolder folder({"obstacle.bmp", "obstacle2.bmp", "volcano.bmp", "background.bmp", "gameOver.bmp",
                              "cloud1.bmp", "cloud2.bmp", "cloud3.bmp", "mountains.bmp", "Bicubik.OTF"});
    // The bird falls, dies three times and the game-over picture (here: nothing) is shown.
    const ProbeRun run = runProbe(folder, "game-over");
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.output, repeated(obstacleMessage, 6) +
                              "Error: unable to load background texture\nError: unable to load gameOver texture\n"
                              "Error: unable to load cloud1Texture\nError: unable to load cloud2Texture\n"
                              "Error: unable to load cloud3Texture\nError: unable to load mountainTexture\n"
                              "unable to load font\n");
}

TEST(PlaySetUp, AnEmptyFontFileOrOneOutOfAllProportionLetsTheGameRunWithoutTheHud)
{
    AssetFolder folder;
    folder.write("Bicubik.OTF", "");
    expectRun(runProbe(folder, "frames 30"), 0, "unable to load font\n");

    // The real font, its head table saying 16 units to the em instead of 2000: letters 125 times the
    // size asked, whose pictures would take hundreds of megabytes.
    std::string font = fileBytes(builtAssets() / "Bicubik.OTF");
    const std::size_t entry = font.find("head"); // in the table directory: tag, checksum, offset, length
    std::size_t head = 0;
    for (std::size_t at = entry + 8; at < entry + 12; ++at)
        head = head << 8 | static_cast<unsigned char>(font[at]);
    font.replace(head + 18, 2, std::string("\0\x10", 2));
    folder.write("Bicubik.OTF", font);
    const ProbeRun run = runProbe(folder, "frames 30");
    expectRun(run, 0, "unable to load font\n");
    EXPECT_NE(run.errors.find("Flitmere: Bicubik.OTF"), std::string::npos) << run.errors;
}

TEST(HostileFiles, CountAsMissingAndNeverReachTheLibrary)
{
    // Each stopped the game before: it hung, corrupted memory, took gigabytes or aborted.
    const struct
    {
        const char* file;
        std::string bytes;
        const char* what;
        int exitStatus;
        const char* message;
    } cases[] = {
        // Begins like a JPEG, as a picture cut short by a full disk may.
        {"background.bmp", "\xff\xd8\xff\xe0\x00\x10", "game", 0, "Error: unable to load background texture\n"},
        // Only an ID3 tag: the library's MP3 reader frees a block twice.
        {"background.wav", std::string("ID3\x04\0\0\0\0\0\0", 10), "scene", 1, "unable to open background.wav\n"},
        // Data chunks that claim 4 GB: MS-ADPCM (over 14 GB as frames), then PCM.
        {"death.wav", wav(2, 2, 2048, 4, std::string(200, '\0'), 0xfffffff0), "bird", 1,
         "unable to open death.wav file\n"},
        {"score.wav", wav(1, 2, 4, 16, std::string(1200, '\0'), 0xfffffff0), "scene", 1, "unable to open score.wav\n"},
        // Nine channels, one more than the library can name.
        {"squawk.wav", wav(1, 9, 18, 16, std::string(36, '\0')), "bird", 1, "unable to open squawk.wav file\n"},
        // A compression the image library takes for none: 8-bit rows of 4 million pixels, 400 MB in all.
        {"cloud1.bmp",
         "BM" + field(140, 4) + field(0, 4) + field(54, 4) + field(40, 4) + field(0x400022, 4) + field(24, 4) +
             field(1, 2) + field(8, 2) + field(0xffff0001, 4) + std::string(86, '\xff'),
         "scene", 0, "Error: unable to load cloud1Texture\n"},
        // Bit fields with an alpha mask (6), which the image library refuses only after reading the header.
        {"cloud3.bmp",
         "BM" + field(70, 4) + field(0, 4) + field(54, 4) + field(40, 4) + field(1, 4) + field(1, 4) + field(1, 2) +
             field(32, 2) + field(6, 4) + std::string(36, '\0'),
         "scene", 0, "Error: unable to load cloud3Texture\n"},
        // A pixel size the image library allocates 30000 by 30000 pixels for before it refuses it.
        {"cloud2.bmp",
         "BM" + field(58, 4) + field(0, 4) + field(54, 4) + field(40, 4) + field(30000, 4) + field(30000, 4) +
             field(1, 2) + field(0, 2) + std::string(28, '\0'),
         "scene", 0, "Error: unable to load cloud2Texture\n"},
        // Shorter than a RIFF header; a format extension of 22 bytes in a chunk with room for 2; MS-ADPCM
        // data of 3 bytes, less than its one block's 6-byte header.
        {"flap.wav", "RIFF\x04\0\0", "bird", 1, "unable to open flap.wav file\n"},
        {"flap.wav", wav(1, 1, 1, 8, std::string(8, '\0'), {}, field(22, 2)), "bird", 1,
         "unable to open flap.wav file\n"},
        {"flap.wav", wav(2, 1, 256, 4, "abc", {}, field(2, 2) + field(500, 2)), "bird", 1,
         "unable to open flap.wav file\n"},
    };
    for (const auto& [file, bytes, what, exitStatus, message] : cases)
    {
        SCOPED_TRACE(file);
        AssetFolder folder;
        folder.write(file, bytes);
        const ProbeRun run = runProbe(folder, what);
        expectRun(run, exitStatus, message);
        EXPECT_NE(run.errors.find(std::string("Flitmere: ") + file), std::string::npos) << run.errors;
    }
}

TEST(HostileFiles, EveryEncodingTheAudioLibraryPlaysStillLoads)
{
    const std::string block(256, '\0');
    const std::string samplesPerBlock = field(2, 2) + field(500, 2);
    // Extensible: valid bits, speakers, then a sub-format whose first two bytes name 16-bit PCM.
    const std::string extensiblePcm = field(22, 2) + field(16, 2) + field(3, 4) + field(1, 2) + std::string(14, 'x');
    for (const std::string& bytes :
         {wav(1, 1, 1, 8, block), wav(3, 2, 16, 64, block), wav(6, 1, 1, 8, block), wav(7, 2, 2, 8, block),
          wav(2, 1, 256, 4, block + block, {}, samplesPerBlock), wav(0x11, 2, 256, 4, block, {}, samplesPerBlock),
          wav(0xfffe, 2, 4, 16, block, {}, extensiblePcm), wav(1, 1, 2, 16, block, 0xffffffff),
          // IMA-ADPCM blocks of 5 bytes: a 4-byte header and one byte of samples.
          wav(0x11, 1, 5, 4, block, {}, field(2, 2) + field(3, 2)),
          // A chunk of odd size before the format, padded to an even one.
          "RIFF" + field(4 + 12 + 24 + 8 + 256, 4) + "WAVELIST" + field(3, 4) + "abc" + '\0' +
              wav(1, 1, 1, 8, block).substr(12)})
    {
        sf::SoundBuffer buffer;
        EXPECT_TRUE(decodeSound(buffer, bytes, "flap.wav")) << "encoding " << static_cast<int>(bytes[20]);
    }
}
