#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;
using WindowId = unsigned long;

// Counts the frames a window presents, as its X server sees them: a frame is shown by drawing the
// whole window at once, which the X Damage extension reports as one rectangle of the window's size.
// A connection of its own, so that no other client of the test takes its events.
class PresentedFrames
{
public:
    PresentedFrames(const std::string& displayName, WindowId window);
    ~PresentedFrames();
    PresentedFrames(const PresentedFrames&) = delete;
    PresentedFrames& operator=(const PresentedFrames&) = delete;

    // Frames presented from this object's making up to this call.
    [[nodiscard]] long count();
    // When each of them was presented, in the X server's milliseconds, as of the last count.
    [[nodiscard]] const std::vector<std::uint32_t>& times() const { return presentedAt; }

private:
    _XDisplay* display = nullptr;
    int damageEventBase = 0;
    int width = 0;
    int height = 0;
    long frames = 0;
    std::vector<std::uint32_t> presentedAt;
};
