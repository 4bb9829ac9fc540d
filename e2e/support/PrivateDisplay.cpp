#include "support/PrivateDisplay.hpp"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace
{
// Xvfb writes the display number it chose to this descriptor once it accepts clients.
constexpr int displayNumberFd = 3;
constexpr auto startTimeout = std::chrono::seconds(30);
constexpr auto stopGrace = std::chrono::seconds(5);

std::string readDisplayNumber(int fd)
{
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    while (number.empty() || number.back() != '\n')
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd request{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&request, 1, static_cast<int>(left.count())) <= 0)
            throw std::runtime_error("Xvfb did not start");
        char chunk[16];
        const ssize_t count = read(fd, chunk, sizeof chunk);
        if (count <= 0)
            throw std::runtime_error("Xvfb ended before it was ready");
        number.append(chunk, static_cast<std::size_t>(count));
    }
    number.pop_back();
    return number;
}

class Pipe
{
public:
    Pipe()
    {
        if (pipe2(fds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
    }
    ~Pipe()
    {
        close(fds[0]);
        close(fds[1]);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    [[nodiscard]] int readEnd() const { return fds[0]; }
    [[nodiscard]] int writeEnd() const { return fds[1]; }
    void closeWriteEnd()
    {
        close(fds[1]);
        fds[1] = -1;
    }

private:
    int fds[2] = {-1, -1};
};
} // namespace

PrivateDisplay::PrivateDisplay()
{
    Pipe ready;
    Launch launch;
    launch.program = "/usr/bin/Xvfb";
    launch.arguments = {"-displayfd",
                        std::to_string(displayNumberFd),
                        "-screen",
                        "0",
                        std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + "x24",
                        "-nolisten",
                        "tcp",
                        "-noreset"};
    launch.passedDescriptor = ready.writeEnd();
    launch.passedAs = displayNumberFd;
    server = std::make_unique<ChildProcess>(launch);
    // Without our copy of the write end, a server that dies makes the read end report the end at once.
    ready.closeWriteEnd();
    displayName = ":" + readDisplayNumber(ready.readEnd());
}

PrivateDisplay::~PrivateDisplay()
{
    // Asked first, so that the server removes its socket and lock file.
    server->stop(stopGrace);
}
