// A long run of the game's whole frame logic in-process: everything the real loop does but drawing,
// through Flitmere::frame with the play scene, scripted input and clock readings, built with the
// address and undefined-behaviour sanitizers. Every frame is checked against the game's rules.
#include "Flitmere.hpp"
#include "Hud.hpp"
#include "PlayScene.hpp"
#include "support/AssetCopy.hpp"
#include "support/GraphicsDriver.hpp"
#include "support/PrivateDisplay.hpp"

#include <SFML/Audio/PlaybackDevice.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>

namespace
{
constexpr int framesToRun = 100'000;
constexpr unsigned scriptSeed = 1901;
constexpr int maxReportedBreaches = 10;
constexpr int tuneSendEvery = 7'919;

constexpr float birdX = 400.f;
constexpr float birdHighest = -102.f; // a rise of 3 from just below -100
constexpr float birdLowest = 901.f;   // a sink of 2 from just above 900
constexpr float obstacleLeftmost = -300.f;
constexpr float obstacleReentry = 1200.f;
constexpr float secondObstacleStart = 1800.f;
// The second obstacle is 600 pixels behind the first until the first wraps, then 902 ahead of it.
constexpr float obstacleSpacingBehind = 600.f;
constexpr float obstacleSpacingAhead = -902.f;
constexpr float highestGap = -800.f;
constexpr float lowestGap = -1.f;
constexpr float obstacleStep = 2.f;
constexpr int startLives = 3;
const sf::Time tuneLength = sf::seconds(95);
const sf::Time frameTime = sf::microseconds(16'667);
// Angles the bird may show while alive (level or diving) and during its death sequence.
const std::vector<float> aliveAngles{0.f, 45.f};
const std::vector<float> deathAngles{0.f, 90.f, 112.5f, 135.f, 157.5f, 180.f, 202.5f, 225.f};

bool oneOf(float angle, const std::vector<float>& angles)
{
    return std::any_of(angles.begin(), angles.end(), [&](float a) { return std::abs(a - angle) < 0.01f; });
}

bool whole(float value)
{
    return std::floor(value) == value;
}

// What one frame may change, read before and after it.
struct Snapshot
{
    int score = 0;
    int lives = 0;
    bool paused = false;
    bool gameIsOver = false;
    bool lifeLost = false;
    bool canLoseLife = false;
    bool playMusic = false;
    bool birdDead = false;
    sf::Vector2f bird;
    float birdAngle = 0.f;
    sf::Vector2f obstacle1;
    sf::Vector2f obstacle2;
    sf::Vector2f cloud1;
    std::string hud;
    sf::Sound::Status tuneStatus = sf::Sound::Status::Stopped;
    sf::Time tuneOffset;
};

Snapshot snapshot(const Flitmere& game, const PlayScene& scene)
{
    Snapshot shot;
    shot.score = game.getScore();
    shot.lives = game.getLives();
    shot.paused = game.getPaused();
    shot.gameIsOver = game.getGameIsOver();
    shot.lifeLost = game.getLifeLost();
    shot.canLoseLife = game.getCanLoseLife();
    shot.playMusic = game.getPlayMusic();
    shot.birdDead = game.viewBird().getIsDead();
    shot.bird = game.viewBird().getBird().getPosition();
    shot.birdAngle = game.viewBird().getBird().getRotation().asDegrees();
    shot.obstacle1 = game.getObstacle1().getObstacle().getPosition();
    shot.obstacle2 = game.getObstacle2().getObstacle().getPosition();
    shot.cloud1 = scene.scenery.getCloud1().getPosition();
    shot.hud = scene.hudText.getString().toAnsiString();
    shot.tuneStatus = scene.music.getStatus();
    shot.tuneOffset = scene.music.getPlayingOffset();
    return shot;
}

bool contains(const std::vector<PlayerAction>& actions, PlayerAction action)
{
    return std::find(actions.begin(), actions.end(), action) != actions.end();
}

std::string describe(const Snapshot& s)
{
    std::ostringstream text;
    text << "score " << s.score << ", lives " << s.lives << (s.paused ? ", paused" : "")
         << (s.gameIsOver ? ", over" : "") << (s.lifeLost ? ", life lost" : "") << (s.birdDead ? ", dying" : "")
         << ", bird (" << s.bird.x << ", " << s.bird.y << ") at " << s.birdAngle << " degrees, obstacles ("
         << s.obstacle1.x << ", " << s.obstacle1.y << ") and (" << s.obstacle2.x << ", " << s.obstacle2.y << ")";
    return text.str();
}

// Where an obstacle may be after one update that began with it at `from`.
bool scrolledOrWrapped(sf::Vector2f from, sf::Vector2f to)
{
    if (from.x > obstacleLeftmost)
        return to == sf::Vector2f{from.x - obstacleStep, from.y};
    return to.x == obstacleReentry;
}

bool obstacleInRange(sf::Vector2f position)
{
    return whole(position.x) && static_cast<std::int64_t>(position.x) % 2 == 0 && position.x >= obstacleLeftmost &&
           position.x <= secondObstacleStart && whole(position.y) && position.y >= highestGap &&
           position.y <= lowestGap;
}

// The rules every frame keeps, judged from what the frame was given and what it left. Returns the
// first rule broken, or "" if none.
std::string breach(const Snapshot& before, const std::vector<PlayerAction>& actions, const Snapshot& after)
{
    const bool restarted = contains(actions, PlayerAction::RestartKey);
    // The state the update (if any) began from, once the frame's keys had been handled.
    const int scoreBase = restarted ? 0 : before.score;
    const int livesBase = restarted ? startLives : before.lives;
    const bool lifeLostBase = restarted ? false : before.lifeLost;
    // The clouds move in every update and nothing puts them back: they tell whether one ran.
    const bool updated = after.cloud1 != before.cloud1;
    const bool revived = lifeLostBase && !after.lifeLost;

    if (after.lives < 0 || after.lives > startLives)
        return "lives out of 0..3";
    if (after.lifeLost == after.canLoseLife)
        return "lifeLost and canLoseLife out of step";
    if (after.lives < livesBase && (after.lives != livesBase - 1 || lifeLostBase || !after.lifeLost || !after.birdDead))
        return "a life was lost other than once, by a hit";
    if (after.lives > livesBase)
        return "a life was given back";
    if (after.hud != hudString(scoreBase, livesBase))
        return "the HUD does not show the score and lives from before the update: \"" + after.hud + "\"";
    if (after.score < scoreBase || after.score > scoreBase + 2)
        return "the score moved by other than 0, 1 or 2 points";
    if (after.score > scoreBase && (!updated || lifeLostBase))
        return "a point was scored while a life was lost or the world stood still";
    if (after.gameIsOver && (after.lives != 0 || !after.paused))
        return "game over with lives left or the world running";
    if (after.birdDead && !after.paused)
        return "the world runs while the bird is dying";
    if (updated && before.birdDead && !restarted)
        return "the world moved during the death sequence";

    if (!std::isfinite(after.bird.x) || !std::isfinite(after.bird.y))
        return "the bird's position is not a number";
    if (after.birdDead)
    {
        if (after.bird.x > birdX || !oneOf(after.birdAngle, deathAngles))
            return "the dying bird is out of its sequence";
    }
    else if (after.lifeLost)
    {
        // After the fall, waiting to be revived or on the game-over screen: where the fall ended.
        if (after.bird.x > birdX || !oneOf(after.birdAngle, aliveAngles))
            return "the fallen bird has left its place";
    }
    else
    {
        if (after.bird.x != birdX || after.bird.y < birdHighest || after.bird.y > birdLowest)
            return "the living bird is out of its bounds";
        if (!oneOf(after.birdAngle, aliveAngles))
            return "the living bird is turned by other than 0 or 45 degrees";
    }

    if (!obstacleInRange(after.obstacle1) || !obstacleInRange(after.obstacle2))
        return "an obstacle is out of its range";
    const float spacing = after.obstacle2.x - after.obstacle1.x;
    if (spacing != obstacleSpacingBehind && spacing != obstacleSpacingAhead)
        return "the obstacles are neither 600 nor 902 pixels apart";
    const bool placedAnew = after.obstacle1.x == obstacleReentry && after.obstacle2.x == secondObstacleStart;
    if (!updated && !restarted && !revived &&
        (after.obstacle1 != before.obstacle1 || after.obstacle2 != before.obstacle2))
        return "an obstacle moved while the world stood still";
    if (updated && !restarted && !(revived && placedAnew) &&
        (!scrolledOrWrapped(before.obstacle1, after.obstacle1) ||
         !scrolledOrWrapped(before.obstacle2, after.obstacle2)))
        return "an obstacle moved other than 2 pixels left or back to the right edge";
    if (!updated && !restarted && !revived && !before.birdDead && !after.birdDead && after.bird != before.bird)
        return "the bird moved while the world stood still";

    // Paused all through the frame, with nothing asking for the tune: it is not playing.
    if (before.paused && after.paused && !before.playMusic && actions.empty() && before.tuneOffset < tuneLength &&
        after.tuneStatus == sf::Sound::Status::Playing)
        return "the tune plays on while the game is paused";
    return "";
}

// What a player does, decided frame by frame from what the game shows: stretches of careful flying
// towards the next gap, of idling (which ends in deaths and game overs), of diving, of pausing, and of
// mashing every control at once, with restarts in between. The clock mostly ticks at 60 frames a
// second, sometimes stalls for a while, and now and then jumps seconds ahead.
class Player
{
public:
    enum class Mood
    {
        Flying,
        Idling,
        Diving,
        Pausing,
        Mashing
    };

    FrameInput next(const Snapshot& state, sf::Time now)
    {
        if (--moodFramesLeft <= 0)
            changeMood();
        FrameInput input;
        input.now = now;
        switch (mood)
        {
        case Mood::Flying:
            if (state.bird.y > gapTarget(state) && chance(0.5))
                input.actions.push_back(PlayerAction::Click);
            break;
        case Mood::Idling:
            break;
        case Mood::Diving:
            input.rightButtonHeld = chance(0.8);
            if (chance(0.04))
                input.actions.push_back(PlayerAction::Click);
            break;
        case Mood::Pausing:
            if (chance(0.03))
                input.actions.push_back(PlayerAction::PauseKey);
            if (chance(0.02))
                input.actions.push_back(PlayerAction::Click);
            break;
        case Mood::Mashing:
            for (int i = pick(0, 3); i > 0; --i)
            {
                const int which = pick(0, 19);
                input.actions.push_back(which < 14   ? PlayerAction::Click
                                        : which < 18 ? PlayerAction::PauseKey
                                                     : PlayerAction::RestartKey);
            }
            input.rightButtonHeld = chance(0.3);
            break;
        }
        // On the game-over screen each P lets the world run one more update before the game ends again:
        // obstacles move on, and may pass the fallen bird, which must score nothing.
        if (state.gameIsOver && chance(0.3))
            input.actions.push_back(PlayerAction::PauseKey);
        // Restarts come at any moment: while flying, dying, paused or on the game-over screen.
        if (chance(0.0004) || (state.gameIsOver && chance(0.002)))
            input.actions.push_back(PlayerAction::RestartKey);
        return input;
    }

    sf::Time nextStep()
    {
        if (chance(0.0005))
            return sf::milliseconds(pick(2'000, 6'000));
        if (chance(0.01))
            return sf::milliseconds(pick(40, 400));
        return frameTime + sf::microseconds(pick(-2'000, 2'000));
    }

private:
    // Where the bird's top should be to pass the next obstacle's opening (750 to 850 below its top,
    // less the bird's 11.5): the next obstacle is the nearer of those whose right edge has not passed the bird.
    static float gapTarget(const Snapshot& state)
    {
        constexpr float obstacleWidth = 100.f;
        constexpr float aimBelowTop = 830.f; // a flap lifts the bird about 54 pixels from here
        const auto ahead = [](sf::Vector2f obstacle) { return obstacle.x + obstacleWidth > birdX; };
        const bool firstIsNext =
            ahead(state.obstacle1) && (!ahead(state.obstacle2) || state.obstacle1.x < state.obstacle2.x);
        return (firstIsNext ? state.obstacle1.y : state.obstacle2.y) + aimBelowTop;
    }

    void changeMood()
    {
        const int which = pick(0, 99);
        mood = which < 45   ? Mood::Flying
               : which < 65 ? Mood::Idling
               : which < 80 ? Mood::Diving
               : which < 92 ? Mood::Pausing
                            : Mood::Mashing;
        moodFramesLeft = mood == Mood::Mashing ? pick(20, 200) : pick(200, 3'000);
    }

    bool chance(double probability) { return std::uniform_real_distribution<double>(0.0, 1.0)(random) < probability; }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    std::mt19937 random{scriptSeed};
    Mood mood = Mood::Flying;
    int moodFramesLeft = 0;
};

// How much of each kind of play the run went through.
struct Coverage
{
    int flaps = 0;
    int diveFrames = 0;
    int playerPauses = 0;
    int deaths = 0;
    int revivals = 0;
    int gameOvers = 0;
    int restarts = 0;
    int points = 0;
    int tuneRestarts = 0;
};

// A tune of silence, 100 s long: long enough to reach the 95 s at which the game starts it over.
std::string longQuietTune()
{
    constexpr std::uint32_t sampleRate = 8'000;
    constexpr std::uint32_t seconds = 100;
    const std::uint32_t dataSize = sampleRate * seconds * 2;
    std::string bytes = "RIFF";
    const auto put = [&](std::uint32_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    };
    put(36 + dataSize, 4);
    bytes += "WAVEfmt ";
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(sampleRate, 4);
    put(sampleRate * 2, 4);
    put(2, 2);
    put(16, 2);
    bytes += "data";
    put(dataSize, 4);
    bytes.append(dataSize, '\0');
    return bytes;
}

class InFolder
{
public:
    explicit InFolder(const std::filesystem::path& folder) : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(previous); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::filesystem::path previous;
};
} // namespace

TEST(FrameSoak, AHundredThousandFramesOfScriptedPlayKeepEveryRuleOfTheGame)
{
    // Textures need a display even when nothing is drawn; sounds go to the null device, where they
    // play, advance and end as on a sound card.
    const PrivateDisplay display;
    setenv("DISPLAY", display.name().c_str(), 1);
    ASSERT_TRUE(sf::PlaybackDevice::setDeviceToNull());

    const AssetCopy assets;
    sf::SoundBuffer builtTune;
    ASSERT_TRUE(builtTune.loadFromFile(builtAssets() / "background.wav"));
    if (builtTune.getDuration() <= tuneLength + sf::seconds(1))
        assets.write("background.wav", longQuietTune());
    const InFolder inAssets(assets.path());

    Flitmere game;
    // The game never releases its GL context before it exits; here the context goes with the game, and
    // the driver with it. Kept loaded, its one-time allocations stay in sight of the leak check.
    ASSERT_GT(pinGraphicsDriver(), 0) << "no OpenGL driver was loaded by the game's pictures";
    PlayScene scene;
    game.initialize(); // as play does before its first frame, at clock reading 0
    Player player;
    Coverage coverage;
    sf::Time now;
    int breaches = 0;

    bool tuneDue = false;

    for (int frame = 0; frame < framesToRun && breaches < maxReportedBreaches; ++frame)
    {
        // Now and then, while it plays, the tune is sent to the point where the game must start it over.
        tuneDue = tuneDue || frame % tuneSendEvery == 0;
        const bool tuneAtItsEnd = tuneDue && !game.getPaused() && scene.music.getStatus() == sf::Sound::Status::Playing;
        if (tuneAtItsEnd)
        {
            scene.music.setPlayingOffset(tuneLength);
            tuneDue = false;
        }
        const Snapshot before = snapshot(game, scene);
        const FrameInput input = player.next(before, now);
        ASSERT_EQ(game.frame(scene, input), Flitmere::FrameEnd::Continue);
        const Snapshot after = snapshot(game, scene);

        const std::string broken = breach(before, input.actions, after);
        if (!broken.empty())
        {
            ++breaches;
            ADD_FAILURE() << "frame " << frame << " at " << now.asMicroseconds() << " us: " << broken
                          << "\n  before: " << describe(before) << "\n  after:  " << describe(after);
        }
        if (tuneAtItsEnd)
        {
            EXPECT_LT(after.tuneOffset, sf::seconds(5)) << "frame " << frame << ": the tune was not started over";
            coverage.tuneRestarts += after.tuneOffset < sf::seconds(5) ? 1 : 0;
        }

        coverage.flaps += !before.paused && contains(input.actions, PlayerAction::Click) ? 1 : 0;
        coverage.diveFrames += input.rightButtonHeld && after.cloud1 != before.cloud1 ? 1 : 0;
        coverage.playerPauses += !before.paused && after.paused && !after.birdDead && !after.gameIsOver ? 1 : 0;
        coverage.deaths += !before.birdDead && after.birdDead ? 1 : 0;
        coverage.revivals +=
            before.lifeLost && !after.lifeLost && !contains(input.actions, PlayerAction::RestartKey) ? 1 : 0;
        coverage.gameOvers += !before.gameIsOver && after.gameIsOver ? 1 : 0;
        coverage.restarts += contains(input.actions, PlayerAction::RestartKey) ? 1 : 0;
        coverage.points += after.score > before.score ? after.score - before.score : 0;
        now += player.nextStep();
    }

    std::cout << "[ coverage ] flaps " << coverage.flaps << ", dive frames " << coverage.diveFrames << ", pauses "
              << coverage.playerPauses << ", deaths " << coverage.deaths << ", revivals " << coverage.revivals
              << ", game overs " << coverage.gameOvers << ", restarts " << coverage.restarts << ", points "
              << coverage.points << ", tune restarts " << coverage.tuneRestarts << ", clock " << now.asSeconds() << " s"
              << std::endl;
    EXPECT_GT(coverage.flaps, 0);
    EXPECT_GT(coverage.diveFrames, 0);
    EXPECT_GT(coverage.playerPauses, 0);
    EXPECT_GT(coverage.deaths, 0);
    EXPECT_GT(coverage.revivals, 0);
    EXPECT_GT(coverage.gameOvers, 0);
    EXPECT_GT(coverage.restarts, 0);
    EXPECT_GT(coverage.points, 0);
    EXPECT_GT(coverage.tuneRestarts, 0);
}
