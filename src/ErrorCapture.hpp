#pragma once

#include <string>

// Keeps what this thread writes on standard error, through the game's stream (std::cerr) and the
// library's (sf::err()), in `into` while it lives; other threads' lines go on as before. A load keeps
// its lines so that they can be said when its result is taken, in the order the loads are asked for,
// while the tune is loaded on a thread of its own.
class ErrorCapture
{
public:
    explicit ErrorCapture(std::string& into);
    ~ErrorCapture();
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    // Puts the capture between both streams and where they write. The first capture does it itself;
    // a thread that starts a second one calls it first, so that no two threads reroute the streams.
    static void routeStreams();

private:
    std::string* outer;
};
