#include "support/PrivateDisplay.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace
{
// Xvfb writes the display number it chose to this descriptor once it accepts clients.
constexpr int displayNumberFd = 3;
constexpr auto startTimeout = std::chrono::seconds(30);
constexpr auto stopGrace = std::chrono::seconds(5);
constexpr auto windowManagerPollInterval = std::chrono::milliseconds(20);

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
// A window manager is ready once it has named its own window on the root, as the desktop
// conventions have it.
void waitForWindowManager(const std::string& displayName, ChildProcess& windowManager)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr)
        throw std::runtime_error("cannot connect to X display " + displayName);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    bool ready = false;
    while (!ready && windowManager.running() && std::chrono::steady_clock::now() < deadline)
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long left = 0;
        unsigned char* data = nullptr;
        ready = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type, &format,
                                   &count, &left, &data) == Success &&
                count == 1;
        if (data != nullptr)
            XFree(data);
        if (!ready)
            std::this_thread::sleep_for(windowManagerPollInterval);
    }
    XCloseDisplay(display);
    if (!ready)
        throw std::runtime_error("the window manager did not start");
}
} // namespace

PrivateDisplay::PrivateDisplay() : PrivateDisplay(Options{}) {}

PrivateDisplay::PrivateDisplay(Options options)
{
    Pipe ready;
    Launch launch;
    launch.program = "/usr/bin/Xvfb";
    launch.arguments = {"-displayfd",
                        std::to_string(displayNumberFd),
                        "-screen",
                        "0",
                        std::to_string(options.width) + "x" + std::to_string(options.height) + "x24",
                        "-nolisten",
                        "tcp",
                        "-noreset"};
    launch.passedDescriptor = ready.writeEnd();
    launch.passedAs = displayNumberFd;
    server = std::make_unique<ChildProcess>(launch);
    // Without our copy of the write end, a server that dies makes the read end report the end at once.
    ready.closeWriteEnd();
    displayName = ":" + readDisplayNumber(ready.readEnd());
    if (!options.windowManager)
        return;

    Launch openbox;
    openbox.program = "/usr/bin/openbox";
    // Debian's own settings, whatever the developer's are.
    openbox.arguments = {"--sm-disable", "--config-file", "/etc/xdg/openbox/rc.xml"};
    openbox.environment = {{"DISPLAY", displayName}};
    windowManager = std::make_unique<ChildProcess>(openbox);
    waitForWindowManager(displayName, *windowManager);
}

void PrivateDisplay::setResources(const std::string& resources)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr)
        throw std::runtime_error("cannot connect to X display " + displayName);
    // The server runs with -noreset, so the property outlives this connection.
    XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources.data()), static_cast<int>(resources.size()));
    XCloseDisplay(display);
}

PrivateDisplay::~PrivateDisplay()
{
    if (windowManager)
        windowManager->stop(stopGrace);
    // Asked first, so that the server removes its socket and lock file.
    server->stop(stopGrace);
}
