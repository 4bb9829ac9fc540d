// The game, run through its public frame seam the way Flitmere::play runs it, with a pilot playing,
// and measured. The set-up and the loop below follow src/FlitmerePlay.cpp step for step; keep them so.
//
//   flitmere_game_run first-frame      builds the game as main does, reports the milliseconds from the
//                                      program's start to its first displayed frame, and exits
//   flitmere_game_run frames W N       W frames to settle, then N measured drawn frames, back to back:
//                                      the work of a frame, without the pacer's waits
//   flitmere_game_run paced W S        play's loop as it is, the pacer included: W seconds to settle,
//                                      then S measured seconds of play
//   flitmere_game_run undrawn W N      the same with the frame logic alone: no window, no drawing, the
//                                      game clock advanced by 1/60 s per frame
//
// Run it in an asset folder: the game reads its files from the working directory.
#include "AllocationCounter.hpp"
#include "FrameMeter.hpp"
#include "Pilot.hpp"
#include "PlayMeter.hpp"
#include "ProcessStats.hpp"

#include "Flitmere.hpp"
#include "FramePacer.hpp"
#include "Hud.hpp"
#include "PixelRatio.hpp"
#include "PlayScene.hpp"
#include "SleepUntil.hpp"
#include "SoundReadAhead.hpp"
#include "WindowSize.hpp"
#include "platform/Desktop.hpp"

#include <SFML/Audio/PlaybackDevice.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/Window/Mouse.hpp>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
constexpr unsigned bitsPerPixel = 32;
constexpr sf::Time simulatedFrameTime = sf::microseconds(16'667);

// What main and Flitmere::play set up before the first frame, in their order.
struct Play
{
    const platform::Desktop desktop;
    const SoundReadAhead tune{"background.wav"};
    Flitmere game;
    PlayScene scene;
    const sf::Vector2u size = windowSize(sf::VideoMode::getDesktopMode().size, desktop.room(), desktop.scale());
    sf::RenderWindow window{sf::VideoMode(size, bitsPerPixel), "Flitmere!", sf::Style::Titlebar | sf::Style::Close,
                            sf::State::Windowed};
    const sf::Clock gameClock;
    FrameInput input;

    Play()
    {
        window.setView(sf::View(sf::FloatRect({0.f, 0.f}, sf::Vector2f(worldSize))));
        const float ratio = pixelRatio(size);
        sharpenHudText(scene.hudText, ratio);
        game.setSmooth(smoothsPictures(ratio));
        scene.scenery.setSmooth(smoothsPictures(ratio));
        window.setVerticalSyncEnabled(true);
        game.initialize();
    }
};

// Allocations on the frame's thread, stage by stage, over the measured frames.
struct StageAllocations
{
    std::uint64_t input = 0;
    std::uint64_t logic = 0;
    std::uint64_t drawing = 0;
    std::uint64_t display = 0;
};

// How much of the run was play rather than dying or the game-over screen.
struct PlayTally
{
    int framesInPlay = 0;
    int frames = 0;
    int bestScore = 0;

    void count(const Flitmere& game)
    {
        ++frames;
        framesInPlay += game.getPaused() ? 0 : 1;
        bestScore = game.getScore() > bestScore ? game.getScore() : bestScore;
    }
    void report(const Pilot& pilot) const
    {
        process::report("play_fraction", static_cast<double>(framesInPlay) / frames);
        process::report("best_score", bestScore);
        process::report("restarts", pilot.getRestarts());
    }
};

int firstFrame()
{
    Play play;
    readFrameInput(play.window, play.gameClock, play.input);
    play.game.frame(play.scene, play.input);
    play.game.draw(play.window, play.scene);
    play.window.display();
    process::report("startup_ms", process::millisecondsSinceExec());
    return EXIT_SUCCESS;
}

int drawnFrames(int warmupFrames, int measuredFrames)
{
    Play play;
    Pilot pilot;
    PlayTally tally;
    StageAllocations stages;
    FrameMeter meter(warmupFrames, measuredFrames);
    while (play.window.isOpen() && meter.wantsMoreFrames())
    {
        const bool measuring = meter.measuring();
        std::uint64_t mark = allocations::countOnThisThread();
        const auto stage = [measuring, &mark](std::uint64_t& into)
        {
            const std::uint64_t now = allocations::countOnThisThread();
            if (measuring)
                into += now - mark;
            mark = now;
        };
        readFrameInput(play.window, play.gameClock, play.input);
        pilot.steer(play.game, play.input);
        stage(stages.input);
        if (play.game.frame(play.scene, play.input) == Flitmere::FrameEnd::WindowClosed)
            return EXIT_FAILURE;
        stage(stages.logic);
        play.game.draw(play.window, play.scene);
        stage(stages.drawing);
        play.window.display();
        stage(stages.display);
        tally.count(play.game);
        meter.frameDone();
    }
    meter.report();
    const double frames = measuredFrames;
    process::report("allocations_input", static_cast<double>(stages.input) / frames);
    process::report("allocations_logic", static_cast<double>(stages.logic) / frames);
    process::report("allocations_drawing", static_cast<double>(stages.drawing) / frames);
    process::report("allocations_display", static_cast<double>(stages.display) / frames);
    tally.report(pilot);
    return EXIT_SUCCESS;
}

int pacedPlay(double warmupSeconds, double measuredSeconds)
{
    Play play;
    Pilot pilot;
    FramePacer pacer(play.window);
    PlayMeter meter(warmupSeconds, measuredSeconds);
    while (play.window.isOpen() && meter.wantsMoreFrames())
    {
        // The pilot keeps the window's focus, so the game never waits for the player here.
        sleepUntil(play.gameClock, pacer.nextFrameAt());
        readFrameInput(play.window, play.gameClock, play.input);
        play.input.updates = pacer.updatesDue(play.input.now);
        pilot.steer(play.game, play.input);
        if (play.game.frame(play.scene, play.input) == Flitmere::FrameEnd::WindowClosed)
            return EXIT_FAILURE;
        play.game.draw(play.window, play.scene);
        pacer.show(play.window, play.gameClock);
        meter.frameDone();
    }
    meter.report();
    process::report("window_width", play.size.x);
    return EXIT_SUCCESS;
}

// Allocations of one HUD refresh as the frame makes it, with the score and lives unchanged.
void reportHudAllocations(const Flitmere& game, PlayScene& scene)
{
    constexpr int refreshes = 1'000;
    const std::uint64_t before = allocations::countOnThisThread();
    for (int i = 0; i < refreshes; ++i)
        scene.showOnHud(game.getScore(), game.getLives());
    const std::uint64_t after = allocations::countOnThisThread();
    process::report("allocations_hud_refresh", static_cast<double>(after - before) / refreshes);
}

int undrawnFrames(int warmupFrames, int measuredFrames)
{
    Flitmere game;
    PlayScene scene;
    game.initialize();

    FrameInput input;
    Pilot pilot;
    PlayTally tally;
    FrameMeter meter(warmupFrames, measuredFrames);
    sf::Time now;
    while (meter.wantsMoreFrames())
    {
        input.actions.clear();
        input.rightButtonHeld = false;
        input.now = now;
        now += simulatedFrameTime;
        pilot.steer(game, input);
        game.frame(scene, input);
        tally.count(game);
        meter.frameDone();
    }
    meter.report();
    tally.report(pilot);
    reportHudAllocations(game, scene);
    return EXIT_SUCCESS;
}

int usage()
{
    std::fputs("usage: flitmere_game_run first-frame | frames WARMUP MEASURED | undrawn WARMUP MEASURED | paced "
               "WARMUP_S MEASURED_S\n",
               stderr);
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    // Bench machines have no sound card: the null device plays in real time, as a card would.
    if (!sf::PlaybackDevice::setDeviceToNull())
        std::fputs("no null playback device: sounds go to the default one\n", stderr);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "first-frame")
        return firstFrame();
    if (argc != 4)
        return usage();
    const int warmupFrames = std::atoi(argv[2]);
    const int measuredFrames = std::atoi(argv[3]);
    if (mode == "frames")
        return drawnFrames(warmupFrames, measuredFrames);
    if (mode == "undrawn")
        return undrawnFrames(warmupFrames, measuredFrames);
    if (mode == "paced")
        return pacedPlay(std::atof(argv[2]), std::atof(argv[3]));
    return usage();
}
