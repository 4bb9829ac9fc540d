#pragma once

#include "support/GameRun.hpp"
#include "support/ObstacleOnScreen.hpp"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// One look at the first obstacle's left edge.
struct Sighting
{
    double seconds; // since the watch began, halfway through the screenshot
    double x;
    double framesShown; // since the game's window appeared
};

// A sighting's value over time, by least squares.
struct Line
{
    double slope; // per second
    double meanT;
    double meanV;
    [[nodiscard]] double at(double seconds) const { return meanV + slope * (seconds - meanT); }
};
[[nodiscard]] Line fit(const std::vector<Sighting>& sightings, double Sighting::*value);
// The share of the time from the first sighting's last frame to the last one's that a world running at
// most 4 updates a frame shows: an interval between two frames (`frameTimes`, in milliseconds) longer
// than the 1/15 s of those 4 updates loses the rest.
[[nodiscard]] double shownShare(const std::vector<Sighting>& sightings, const std::vector<std::uint32_t>& frameTimes);
// Every sighting, for failure messages.
[[nodiscard]] std::string describe(const std::vector<Sighting>& sightings);

// The game's pace as a player sees it, without input: the first obstacle watched in a few rows of the
// window while it crosses from x 1050 to x 600, wholly in view and still far from the bird, after the
// first second of play (the game's first frames come slower while the renderer and the sound settle).
// Throws where no obstacle comes into view, the window cannot be read or the obstacle leaves the view.
class ObstacleWatch
{
public:
    // Waits for the obstacle to reach x 1050: the sightings' time counts from then.
    explicit ObstacleWatch(GameRun& run);

    // Sightings for `duration`, or until the obstacle nears the bird (a game too fast brings it there
    // early: its pace is judged on what was seen).
    [[nodiscard]] std::vector<Sighting> look(std::chrono::milliseconds duration);
    [[nodiscard]] double secondsNow() const;

private:
    // The obstacle's left edge where it can be seen now, and the frames shown so far.
    [[nodiscard]] std::pair<std::optional<int>, double> sight();

    GameRun& run;
    sf::Image obstaclePicture;
    std::optional<ObstacleOnScreen> obstacle;
    std::chrono::steady_clock::time_point start;
};
