// The Windows zip as a player gets it, unzipped into a folder whose path has spaces and letters
// beyond ASCII, and the game in it played under Wine: what it holds (the game, its assets, a read-me,
// every licence; a program that needs only Windows' own DLLs), the window, a flap, the pause, the
// pace, closing, and a missing picture told on standard output and, with no console, in a message box.
// Then the installer, run silently as /S runs it: the files, the shortcut and the entry in Settings >
// Apps, the installed game played, an older or the same version installed over, and the uninstaller
// removing all it installed and nothing else.
// Wine is not Windows: this proves the program, the zip and the installer, not every Windows machine.
#include "support/GameRun.hpp"
#include "support/Pace.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace
{
constexpr auto helperTimeout = 120s;
constexpr auto closeTimeout = 30s;
constexpr auto shortPlay = 200ms;
constexpr double intendedPace = 120.0; // px/s: 2 px per update, 60 updates a second
constexpr double paceTolerance = 0.05;
constexpr auto measuredFor = 2500ms;
constexpr std::size_t fewestSightings = 10;
const std::string wingUpMessage = "Error: unable to load wingUpTexture from file";

// The DLLs of Windows itself that the program may import; anything else (a C++ runtime, SFML, a
// codec) would have to travel beside it.
const std::set<std::string> windowsOwnDlls{
    "advapi32.dll", "comdlg32.dll", "gdi32.dll",    "imm32.dll",     "kernel32.dll", "msvcrt.dll", "ole32.dll",
    "oleaut32.dll", "opengl32.dll", "setupapi.dll", "shcore.dll",    "shell32.dll",  "user32.dll", "version.dll",
    "winmm.dll",    "ws2_32.dll",   "dinput8.dll",  "xinput1_4.dll", "hid.dll"};

// Each licence file and a phrase of its text: the libraries built into the program, and the font.
const std::vector<std::pair<std::string, std::string>> licences{
    {"licences/SFML.txt", "Laurent Gomila"},
    {"licences/FreeType.txt", "The FreeType Project LICENSE"},
    {"licences/HarfBuzz.txt", "HarfBuzz is licensed under the so-called \"Old MIT\" license"},
    {"licences/SheenBidi.txt", "Apache License"},
    {"licences/Ogg.txt", "Xiph.org Foundation"},
    {"licences/Vorbis.txt", "Xiph.org Foundation"},
    {"licences/FLAC.txt", "Xiph.Org Foundation"},
    {"licences/miniaudio.txt", "Public Domain"},
    {"licences/dr_mp3.txt", "Public Domain"},
    {"licences/stb_image.txt", "MIT License"},
    {"licences/stb_image_write.txt", "MIT License"},
    {"licences/qoi.txt", "Permission is hereby granted"},
    {"licences/cpp-unicodelib.txt", "Permission is hereby granted"},
    {"licences/glad.txt", "Apache License"},
    {"licences/khrplatform.txt", "The Khronos Group"},
    {"licences/vulkan.txt", "Apache License"},
    {"licences/MinGW-w64.txt", "winpthreads"},
    {"licences/GCC-runtime.txt", "GCC RUNTIME LIBRARY EXCEPTION"},
    {"Bicubik-LICENSE.txt", "SIL OPEN FONT LICENSE"},
};

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The zip unpacked, and a Wine prefix of its own made, once for all the tests: a game started in a
// new prefix would share the screen with Wine's "updating" window. The prefix has no .NET or HTML
// engine, for which it would otherwise offer downloads, and makes no menu entries of the desktop's
// for the installer's shortcuts.
class Unpacked
{
public:
    Unpacked()
    {
        const fs::path into = place.path() / "Spiele für Vögel – Flitmere";
        fs::create_directories(into);
        if (run({FLITMERE_CMAKE, "-E", "tar", "xf", FLITMERE_WINDOWS_ZIP}, {}, into).first != ExitStatus::withCode(0))
            throw std::runtime_error("cannot unzip " FLITMERE_WINDOWS_ZIP);
        gameFolder = fs::directory_iterator(into)->path();
        if (run({"/usr/bin/wineboot", "--init"}).first != ExitStatus::withCode(0))
            throw std::runtime_error("wineboot --init failed");
        waitForWineToEnd();
    }

    // Runs a command to its end in Wine's environment (and `more`), in `folder`: how it ended and what
    // it wrote on standard output.
    std::pair<ExitStatus, std::string> run(const std::vector<std::string>& command,
                                           const std::vector<std::pair<std::string, std::string>>& more = {},
                                           const fs::path& folder = ".") const
    {
        const TempFolder log("flitmere-windows-log");
        Launch launch;
        launch.program = command.front();
        launch.arguments.assign(command.begin() + 1, command.end());
        launch.environment = wineEnvironment();
        launch.environment.insert(launch.environment.end(), more.begin(), more.end());
        launch.workingDirectory = folder;
        launch.standardOutput = log.path() / "stdout";
        const ExitStatus status = runToEnd(launch, helperTimeout);
        return {status, readFile(log.path() / "stdout")};
    }

    // Wine's server keeps the first program's display for every program after it: each game is
    // started once the one before, and the server with it, has ended.
    void waitForWineToEnd() const { (void)run({"/usr/bin/wineserver", "--wait"}); }

    [[nodiscard]] const fs::path& folder() const { return gameFolder; }
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> wineEnvironment() const
    {
        return {{"WINEPREFIX", (place.path() / "wine").string()},
                {"WINEDEBUG", "-all"},
                {"WINEDLLOVERRIDES", "mscoree,mshtml,winemenubuilder.exe="}};
    }

private:
    TempFolder place{"flitmere-windows"};
    fs::path gameFolder;
};

// Wine's density (LogPixels, what winecfg's slider sets) for the programs started while it lives;
// 96 (100%) again after them.
class DensitySetting
{
public:
    DensitySetting(const Unpacked& wine, int dotsPerInch) : wine(wine)
    {
        if (set(dotsPerInch) != ExitStatus::withCode(0))
            throw std::runtime_error("cannot set LogPixels");
        wine.waitForWineToEnd();
    }
    ~DensitySetting()
    {
        wine.waitForWineToEnd();
        static_cast<void>(set(96));
        wine.waitForWineToEnd();
    }
    DensitySetting(const DensitySetting&) = delete;
    DensitySetting& operator=(const DensitySetting&) = delete;

private:
    ExitStatus set(int dotsPerInch) const
    {
        return wine
            .run({"/usr/bin/wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                  "/d", std::to_string(dotsPerInch), "/f"})
            .first;
    }

    const Unpacked& wine;
};

class Unzipped : public testing::Test
{
protected:
    static const Unpacked& unpacked()
    {
        static const Unpacked once;
        return once;
    }

    // The game in `folder` started through Wine from another folder, as a shortcut may start it.
    GameRun::Options throughWine(const fs::path& folder, const std::string& windowTitle) const
    {
        GameRun::Options options;
        options.program = "/usr/bin/wine";
        options.arguments = {(folder / "flitmere.exe").string()};
        options.environment = unpacked().wineEnvironment();
        options.workingDirectory = elsewhere.path();
        options.windowTitle = windowTitle;
        options.display.windowManager = true;
        return options;
    }

    void TearDown() override { unpacked().waitForWineToEnd(); }

    static void expectRPAndAClickAnsweredAndAClosedGameEndsWithStatus0(GameRun& game)
    {
        // R and P: a new game, held at its start; P freezes the picture.
        game.pressKeys({"r", "p"});
        ASSERT_TRUE(game.waitUntilFrozen()) << "P did not pause the game";
        EXPECT_TRUE(game.looksFrozen(1s)) << "the paused picture changes";
        const std::optional<int> start = game.birdY(game.capture());
        ASSERT_TRUE(start.has_value()) << "no bird after R";
        // P and a click: the game goes on and the bird rises.
        game.resumeAndClick();
        letRun(shortPlay);
        game.pressKey("p");
        ASSERT_TRUE(game.waitUntilFrozen()) << "P did not pause the game again";
        const std::optional<int> raised = game.birdY(game.capture());
        ASSERT_TRUE(raised.has_value()) << "the bird left the screen";
        EXPECT_LT(*raised, *start) << "the bird did not rise after a click";

        game.requestClose();
        const std::optional<ExitStatus> status = game.waitForExit(closeTimeout);
        ASSERT_TRUE(status.has_value()) << "the game did not end when its window was closed";
        EXPECT_EQ(*status, ExitStatus::withCode(0));
        EXPECT_EQ(game.output(), "");
    }

    const fs::path& unzippedGame = unpacked().folder();
    const TempFolder elsewhere{"flitmere-windows-cwd"};
};

TEST_F(Unzipped, HoldsTheGameItsAssetsAReadMeAndEveryLicenceAndNeedsOnlyWindowsOwnDlls)
{
    for (const std::string& name : allAssetNames())
        EXPECT_TRUE(fs::is_regular_file(unzippedGame / name)) << name;
    EXPECT_NE(readFile(unzippedGame / "README.txt").find("double-click flitmere.exe"), std::string::npos);
    for (const auto& [file, phrase] : licences)
        EXPECT_NE(readFile(unzippedGame / file).find(phrase), std::string::npos)
            << file << " lacks \"" << phrase << '"';

    const auto [status, headers] =
        unpacked().run({"/usr/bin/x86_64-w64-mingw32-objdump", "-p", (unzippedGame / "flitmere.exe").string()});
    ASSERT_EQ(status, ExitStatus::withCode(0));
    std::istringstream lines(headers);
    std::set<std::string> imported;
    for (std::string line; std::getline(lines, line);)
        if (const std::size_t at = line.find("DLL Name: "); at != std::string::npos)
            imported.insert(lowerCase(line.substr(at + 10)));
    EXPECT_TRUE(imported.count("kernel32.dll")) << "no import table read";
    for (const std::string& dll : imported)
        EXPECT_TRUE(windowsOwnDlls.count(dll)) << dll << " is not Windows' own";
    // Its icon (a group of icons, resource type 14) and version (type 16), as Explorer shows them: in
    // the resource directory's table of types.
    for (const std::string type : {"0x00000e", "0x000010"})
        EXPECT_TRUE(std::regex_search(headers, std::regex("\n[0-9a-f]{3}   Entry: ID: " + type)))
            << "no resource of type " << type;
    EXPECT_NE(headers.find("(Windows GUI)"), std::string::npos)
        << "a console program: a console window would open beside the game";
}

TEST_F(Unzipped, PlaysUnderWineFromAnotherFolderAndEndsWithStatus0WhenClosed)
{
    GameRun game(throughWine(unzippedGame, "Flitmere!"));
    const std::optional<WindowId> window = game.waitForWindow();
    ASSERT_TRUE(window.has_value()) << "no window; " << game.describe();
    EXPECT_EQ(game.xClient().title(*window), "Flitmere!");
    EXPECT_EQ(game.xClient().size(*window), std::make_pair(1200, 800));

    ObstacleWatch watch(game);
    const std::vector<Sighting> sightings = watch.look(measuredFor);
    ASSERT_GE(sightings.size(), fewestSightings) << describe(sightings);
    const double pace = -fit(sightings, &Sighting::x).slope;
    std::cout << "[ pace ] " << pace << " px/s at " << fit(sightings, &Sighting::framesShown).slope
              << " frames shown a second" << std::endl;
    EXPECT_NEAR(pace, intendedPace, intendedPace * paceTolerance) << describe(sightings);

    expectRPAndAClickAnsweredAndAClosedGameEndsWithStatus0(game);
}

// Windows at 200%.
TEST_F(Unzipped, AtLogPixels192OnA3840x2160ScreenTheWindowIs2400x1600AndPlays)
{
    const DensitySetting density(unpacked(), 192);
    GameRun::Options options = throughWine(unzippedGame, "Flitmere!");
    options.display.width = 3840;
    options.display.height = 2160;
    GameRun game(options);
    const std::optional<WindowId> window = game.waitForWindow();
    ASSERT_TRUE(window.has_value()) << "no window; " << game.describe();
    EXPECT_EQ(game.xClient().size(*window), std::make_pair(2400, 1600));
    // The window is mapped before the game first draws into it: the HUD is read once it shows, then
    // its red from x = 2000, twice its 22 px high.
    ASSERT_TRUE(game.waitForHud(0, 3, 20s)) << "the HUD does not read a score of 0 and 3 lives at this scale";
    const std::optional<Box> red = redTextBounds(game.capture());
    ASSERT_TRUE(red.has_value()) << "no red text in the top-right corner";
    EXPECT_NEAR(red->left, 2000, 6);
    EXPECT_NEAR(red->bottom - red->top, 44, 6);
    expectRPAndAClickAnsweredAndAClosedGameEndsWithStatus0(game);
}

TEST_F(Unzipped, WithoutWingUp2TheGameSaysSoAndEndsWithStatus1InAMessageBoxOnlyWhereNoConsoleShowsTheLine)
{
    // A copy of the game less the picture.
    const TempFolder copy("flitmere-windows-copy");
    fs::copy(unzippedGame, copy.path(), fs::copy_options::recursive);
    fs::remove(copy.path() / "wingUp2.bmp");

    {
        // Started from Unix, the game has no console of Windows': the line goes to standard output and
        // into a message box, which holds the game until the player closes it.
        GameRun game(throughWine(copy.path(), "Flitmere"));
        const std::optional<WindowId> box = game.waitForWindow();
        ASSERT_TRUE(box.has_value()) << "no message box; " << game.describe();
        EXPECT_EQ(game.output(), wingUpMessage + "\r\n");
        game.requestClose();
        const std::optional<ExitStatus> status = game.waitForExit(closeTimeout);
        ASSERT_TRUE(status.has_value()) << "the game did not end when its message box was closed";
        EXPECT_EQ(*status, ExitStatus::withCode(1));
    }
    unpacked().waitForWineToEnd();

    // Started from a console's command line (cmd in a terminal): the line is written there, and the
    // game ends at once, with no box (which would show on this screen, and hold the game). Wine's
    // console draws the line on the terminal with escape sequences, its spaces as cursor moves, so the
    // letters are compared.
    const PrivateDisplay screen(PrivateDisplay::Options{1280, 1024, true});
    const auto [status, terminal] =
        unpacked().run({"/usr/bin/script", "--quiet", "--return", "--command",
                        "wine cmd /c Z:" + (copy.path() / "flitmere.exe").string(), "/dev/null"},
                       {{"DISPLAY", screen.name()}});
    EXPECT_EQ(status, ExitStatus::withCode(1)) << "no box expected: it would hold the game";
    std::string letters;
    for (std::size_t at = 0; at < terminal.size(); ++at)
        if (terminal[at] == '\x1b')
            at = terminal.find_first_of("ABCDHJKhlm", at); // the end of an escape sequence
        else if (!std::isspace(static_cast<unsigned char>(terminal[at])))
            letters += terminal[at];
    std::string expected = wingUpMessage;
    expected.erase(std::remove(expected.begin(), expected.end(), ' '), expected.end());
    EXPECT_NE(letters.find(expected), std::string::npos) << terminal;
}
} // namespace

namespace
{
const std::string uninstallKey = R"(HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Flitmere)";
const std::string playersFile = "my best scores.txt";
using Values = std::map<std::string, std::string>;

// A string of a program's version resource, read from its bytes: the key in UTF-16 and its
// terminator, the padding to four bytes, and the value up to its own terminator.
std::string versionString(const fs::path& program, const std::string& key)
{
    const std::string bytes = readFile(program);
    std::string wideKey;
    for (const char c : key + '\0')
        wideKey += std::string{c, '\0'};
    std::size_t at = bytes.find(wideKey);
    std::string value;
    for (at = at == std::string::npos ? bytes.size() : at + wideKey.size(); at + 1 < bytes.size(); at += 2)
        if (bytes[at] != '\0' || bytes[at + 1] != '\0')
            value += bytes[at];
        else if (!value.empty())
            break;
    return value;
}

// Every file below a folder, by its path relative to it.
std::set<std::string> filesIn(const fs::path& folder)
{
    std::set<std::string> files;
    if (fs::is_directory(folder))
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_regular_file())
                files.insert(entry.path().lexically_relative(folder).string());
    return files;
}

class Installer : public Unzipped
{
protected:
    // A Windows program run through Wine until Wine has ended: an uninstaller copies itself away and
    // returns at once, while the copy goes on.
    ExitStatus runInWine(const std::vector<std::string>& command) const
    {
        std::vector<std::string> line{"/usr/bin/wine"};
        line.insert(line.end(), command.begin(), command.end());
        const ExitStatus status = unpacked().run(line).first;
        unpacked().waitForWineToEnd();
        return status;
    }

    // A folder of Windows' (%LOCALAPPDATA%, say) in the prefix, as Windows names it and as Unix does.
    std::pair<std::string, fs::path> knownFolder(const std::string& variable) const
    {
        std::string windows = unpacked().run({"/usr/bin/wine", "cmd", "/c", "echo", "%" + variable + "%"}).second;
        windows.erase(windows.find_last_not_of("\r\n") + 1);
        std::string unix = unpacked().run({"/usr/bin/winepath", "-u", windows}).second;
        unix.erase(unix.find_last_not_of("\r\n") + 1);
        return {windows, fs::path(unix)};
    }

    // The values of the game's entry under Uninstall, by name; none where there is no entry.
    Values uninstallEntry() const
    {
        const auto [status, listing] = unpacked().run({"/usr/bin/wine", "reg", "query", uninstallKey});
        Values values;
        const std::regex value(R"(^ +(\S+) +REG_\w+ +(.*?)\r?$)");
        std::istringstream lines(listing);
        std::smatch match;
        for (std::string line; status == ExitStatus::withCode(0) && std::getline(lines, line);)
            if (std::regex_match(line, match, value))
                values[match[1]] = match[2];
        return values;
    }

    void install(const fs::path& installer, const std::string& expectedVersion) const
    {
        ASSERT_EQ(runInWine({installer.string(), "/S"}), ExitStatus::withCode(0)) << installer;
        ASSERT_EQ(uninstallEntry()["DisplayVersion"], expectedVersion);
    }

    const std::pair<std::string, fs::path> programs = [this]
    {
        auto [windows, unix] = knownFolder("LOCALAPPDATA");
        return std::make_pair(windows + R"(\Programs\Flitmere)", unix / "Programs" / "Flitmere");
    }();
    const fs::path shortcut = knownFolder("APPDATA").second / "Microsoft/Windows/Start Menu/Programs/Flitmere.lnk";
};

TEST_F(Installer, InstallsOverAnOlderVersionPlaysAndUninstallsAllItInstalledAndNothingElse)
{
    EXPECT_EQ(versionString(FLITMERE_WINDOWS_INSTALLER, "ProductVersion"), FLITMERE_VERSION);
    EXPECT_EQ(versionString(unzippedGame / "flitmere.exe", "ProductVersion"), FLITMERE_VERSION);

    // An older version of the game, installed first: a few of this one's files (fewer to compress) and
    // one this one no longer has. And a file of the player's put beside it.
    const TempFolder older("flitmere-windows-older");
    const fs::path olderFiles = older.path() / "files";
    fs::create_directories(olderFiles);
    fs::copy(unzippedGame / "README.txt", olderFiles);
    fs::copy(unzippedGame / "licences", olderFiles / "licences");
    std::ofstream(olderFiles / "licences" / "Retired.txt") << "a library the game no longer uses\n";
    const fs::path olderInstaller = older.path() / "setup-0.0.9.exe";
    const auto [made, log] =
        unpacked().run({"/usr/bin/makensis", "-V2", "-DVERSION=0.0.9", "-DFILES=" + olderFiles.string(),
                        "-DOUTFILE=" + olderInstaller.string(), FLITMERE_NSIS_SCRIPT});
    ASSERT_EQ(made, ExitStatus::withCode(0)) << log;
    ASSERT_NO_FATAL_FAILURE(install(olderInstaller, "0.0.9"));
    const auto& [windowsFolder, folder] = programs;
    ASSERT_TRUE(fs::is_regular_file(folder / "licences" / "Retired.txt"));
    std::ofstream(folder / playersFile) << "Ada 12\n";

    // This version over it, and over itself: its files, the uninstaller and the player's file.
    std::set<std::string> installed = filesIn(unzippedGame);
    installed.insert({"uninstall.exe", playersFile});
    for (const char* time : {"over the older version", "over the same version"})
    {
        ASSERT_NO_FATAL_FAILURE(install(FLITMERE_WINDOWS_INSTALLER, FLITMERE_VERSION)) << time;
        EXPECT_EQ(filesIn(folder), installed) << time;
    }
    std::uintmax_t bytes = 0;
    for (const std::string& file : filesIn(unzippedGame))
    {
        EXPECT_EQ(readFile(folder / file), readFile(unzippedGame / file)) << file;
        bytes += fs::file_size(unzippedGame / file);
    }
    EXPECT_TRUE(fs::is_regular_file(shortcut)) << "no Start-menu shortcut " << shortcut;
    Values entry = uninstallEntry();
    const std::string uninstaller = '"' + windowsFolder + R"(\uninstall.exe")";
    const Values expected{
        {"DisplayName", "Flitmere"},
        {"DisplayVersion", FLITMERE_VERSION},
        {"DisplayIcon", windowsFolder + R"(\flitmere.exe,0)"},
        {"Publisher", "The Flitmere developers"},
        {"InstallLocation", windowsFolder},
        {"UninstallString", uninstaller},
        {"QuietUninstallString", uninstaller + " /S"},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(entry[name], value) << name;
    // In KiB, each file rounded up.
    const std::string size = entry["EstimatedSize"];
    EXPECT_NEAR(size.empty() ? 0.0 : static_cast<double>(std::stoul(size, nullptr, 16)), bytes / 1024.0,
                static_cast<double>(filesIn(unzippedGame).size()));

    {
        GameRun game(throughWine(folder, "Flitmere!"));
        const std::optional<WindowId> window = game.waitForWindow();
        ASSERT_TRUE(window.has_value()) << "the installed game showed no window; " << game.describe();
        EXPECT_EQ(game.xClient().size(*window), std::make_pair(1200, 800));
        game.requestClose();
        const std::optional<ExitStatus> status = game.waitForExit(closeTimeout);
        ASSERT_TRUE(status.has_value()) << "the installed game did not end when its window was closed";
        EXPECT_EQ(*status, ExitStatus::withCode(0));
    }
    unpacked().waitForWineToEnd();

    // Uninstalled as Settings > Apps does it silently, by the entry's QuietUninstallString.
    std::smatch command;
    ASSERT_TRUE(std::regex_match(entry["QuietUninstallString"], command, std::regex(R"re("([^"]+)" (/S))re")));
    EXPECT_EQ(runInWine({command[1], command[2]}), ExitStatus::withCode(0));
    EXPECT_EQ(filesIn(folder), std::set<std::string>{playersFile});
    EXPECT_FALSE(fs::exists(shortcut));
    EXPECT_TRUE(uninstallEntry().empty()) << "the entry stays after uninstalling";
}
} // namespace
