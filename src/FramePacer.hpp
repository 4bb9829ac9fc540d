#pragma once

#include "UpdateRate.hpp"

#include <SFML/System/Time.hpp>

#include <array>
#include <cstddef>
#include <cstdint>

// Decides when each frame may begin and how many updates it runs, so that the world advances 60 times a
// second whatever the display does. It learns the display's cadence from the moments the frames were
// shown (the returns of `display()`), and keeps learning, since a window can move to another monitor:
// - at 60 Hz or slower (a 59.94 Hz panel, a machine that cannot draw faster) the frames follow the
//   display and are never held back;
// - at a whole multiple of 60 Hz with vertical sync (120, 180, 240 Hz) every update is shown for the
//   same number of refreshes: a frame waits until the refreshes before its own have passed;
// - otherwise (no vertical sync, 144 or 165 Hz) frames begin on a 60 Hz clock of deadlines, never early
//   and never catching up after a late frame.
// Each frame runs the updates the clock owes the world since the frame before: one where frames come
// 60 a second (a display within 1.5% of 60 Hz counts as 60 Hz, so none ever runs two as the two drift
// apart), several where they come late, up to 4, so that the world keeps 60 updates a second down to 15
// frames a second and slows down below that rather than jumping. The world never lags behind the clock
// by more than those 4 updates: a long stall is not made up.
// All readings come in as values of one monotonic clock.
class FramePacer
{
public:
    static constexpr int mostUpdatesPerFrame = 4;

    // Asks the window for vertical sync, on which counting refreshes relies; where the display cannot
    // sync, the frames show it and the clock paces them.
    template <class Window> explicit FramePacer(Window& window) { window.setVerticalSyncEnabled(true); }

    // When the next frame may begin; a moment already past means at once.
    [[nodiscard]] sf::Time nextFrameAt() const;
    // The number of updates of the frame begun at `frameBegins`.
    [[nodiscard]] int updatesDue(sf::Time frameBegins);
    // The frame's `display()` returned at `shownAt`.
    void frameShown(sf::Time shownAt);
    // The coming frame waits for the player (the game is paused, or its window has lost the focus)
    // rather than for the pacer: it begins at the window's next event, or after the time returned, so
    // that a few frames a second keep the picture and the sound's care going. The wait says nothing of
    // the display: it is not measured, owes the world nothing, and the frames after it are paced as
    // before.
    [[nodiscard]] sf::Time waitForPlayer()
    {
        anyShown = false;
        anyBegun = false;
        return waitingFrameInterval;
    }
    // Shows the frame, then notes when: `display()` returns once the frame is shown (with vertical sync,
    // at a refresh), so the moment is read only after it returned.
    template <class Window, class Clock> void show(Window& window, const Clock& clock)
    {
        window.display();
        frameShown(clock.getElapsedTime());
    }

private:
    // Four frames a second while the game waits for the player.
    static constexpr sf::Time waitingFrameInterval = sf::milliseconds(250);

    enum class Pacing
    {
        Measuring,      // frames run as they come while the cadence is learnt
        FollowDisplay,  // 60 Hz or slower: never held back
        CountRefreshes, // a whole multiple of 60 Hz: one update every `refreshesPerUpdate` refreshes
        Clock,          // deadlines 1/60 s apart
    };

    // The latest intervals between frames, for their median.
    class Intervals
    {
    public:
        static constexpr std::size_t capacity = 15;

        void add(sf::Time interval);
        void clear() { count = 0; }
        [[nodiscard]] std::size_t size() const { return count; }
        [[nodiscard]] sf::Time median() const;

    private:
        std::array<sf::Time, capacity> latest;
        std::size_t count = 0;
        std::size_t next = 0;
    };

    void learnCadence();
    void startClock(sf::Time firstDeadline);
    void checkRefreshCount();
    [[nodiscard]] sf::Time deadline(std::int64_t tick) const;

    Pacing pacing = Pacing::Measuring;
    bool anyShown = false;
    sf::Time lastShown;
    // Intervals of frames begun as soon as the one before was shown: the display's own cadence.
    Intervals unheld;
    // Intervals while counting refreshes, to see that the display still keeps the expected cadence.
    Intervals counted;
    sf::Time refreshPeriod;
    std::int64_t refreshesPerUpdate = 1;
    // Counting is given up once the display did not keep to it, until a slower display is seen.
    bool countingRefused = false;
    sf::Time clockStart;
    std::int64_t tick = 0;
    bool anyBegun = false;
    sf::Time lastBegun;
    // How far the world lags behind the clock after the frame's updates.
    sf::Time owed;
};
