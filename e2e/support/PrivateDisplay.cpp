#include "support/PrivateDisplay.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

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

// A root window's property of 32-bit items, or nothing while it is absent.
std::vector<long> rootNumbers(Display* display, const char* name)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, name, False), 0, 1024, False,
                           AnyPropertyType, &type, &format, &count, &left, &data) == Success &&
        format == 32)
        values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
    if (data != nullptr)
        XFree(data);
    return values;
}

// A dock along the bottom edge of every desktop, its strut spanning the screen's width, and the last
// desktop shown;
// returned once the window manager's work area for that desktop leaves the dock out.
Display* openPanelOnLastDesktop(const std::string& displayName, int width, int height, int panelHeight)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr)
        throw std::runtime_error("cannot connect to X display " + displayName);
    // The window manager names its own window before it has set up its desktops.
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    std::vector<long> desktops;
    while ((desktops = rootNumbers(display, "_NET_NUMBER_OF_DESKTOPS")).empty() &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(windowManagerPollInterval);
    const long last = desktops.empty() ? 0 : desktops[0] - 1;
    const Window root = DefaultRootWindow(display);
    const Window panel = XCreateSimpleWindow(display, root, 0, height - panelHeight, static_cast<unsigned>(width),
                                             static_cast<unsigned>(panelHeight), 0, 0, BlackPixel(display, 0));
    const Atom dock = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&dock), 1);
    // Left, right, top and bottom, then where along each edge: the bottom one, the whole width.
    const long strut[12] = {0, 0, 0, panelHeight, 0, 0, 0, 0, 0, 0, 0, width - 1};
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(strut), 12);
    const long everyDesktop = 0xffffffff;
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_DESKTOP", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&everyDesktop), 1);
    XMapWindow(display, panel);

    XEvent switchTo{};
    switchTo.xclient.type = ClientMessage;
    switchTo.xclient.window = root;
    switchTo.xclient.message_type = XInternAtom(display, "_NET_CURRENT_DESKTOP", False);
    switchTo.xclient.format = 32;
    switchTo.xclient.data.l[0] = last;
    for (;;)
    {
        // Asked again until done: a window manager still starting up may pass over the first request.
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &switchTo);
        XSync(display, False);
        std::this_thread::sleep_for(windowManagerPollInterval);
        const std::vector<long> current = rootNumbers(display, "_NET_CURRENT_DESKTOP");
        const std::vector<long> areas = rootNumbers(display, "_NET_WORKAREA");
        const auto at = static_cast<std::size_t>(4 * last + 3);
        const long areaHeight = areas.size() > at ? areas[at] : -1;
        if (current == std::vector<long>{last} && areaHeight == height - panelHeight)
            return display;
        if (std::chrono::steady_clock::now() >= deadline)
            throw std::runtime_error("the window manager left no room for the panel: on desktop " +
                                     (current.empty() ? std::string("none") : std::to_string(current[0])) + " of " +
                                     std::to_string(last + 1) + ", a work area " + std::to_string(areaHeight) +
                                     " high");
    }
}

// Waits for a client's question about its frame (_NET_REQUEST_FRAME_EXTENTS, sent to the root) on its
// own connection, then lets the stopped window manager go on `delay` later, so that it answers late.
void continueLate(Display* display, pid_t windowManager, std::chrono::milliseconds delay,
                  const std::atomic<bool>& stopping)
{
    const Atom question = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    bool asked = false;
    const auto deadline = std::chrono::steady_clock::now() + 2 * startTimeout;
    while (!asked && !stopping && std::chrono::steady_clock::now() < deadline)
    {
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(windowManagerPollInterval.count()));
        while (!asked && XPending(display) > 0)
        {
            XEvent event;
            XNextEvent(display, &event);
            asked = event.type == ClientMessage && event.xclient.message_type == question;
        }
    }
    if (asked)
        std::this_thread::sleep_for(delay);
    kill(windowManager, SIGCONT);
    XCloseDisplay(display);
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
                        "tcp"};
    if (options.endsWithItsLastClient)
    {
        serverLog = std::make_unique<TempFolder>("xvfb-log");
        launch.arguments.insert(launch.arguments.end(), {"-terminate", "-audit", "4"});
        launch.standardError = serverLog->path() / "log";
    }
    else
        launch.arguments.emplace_back("-noreset");
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
    if (options.panelHeight > 0)
        panelClient = openPanelOnLastDesktop(displayName, options.width, options.height, options.panelHeight);
    if (options.frameAnswerDelay > std::chrono::milliseconds::zero())
    {
        Display* watcher = XOpenDisplay(displayName.c_str());
        if (watcher == nullptr)
            throw std::runtime_error("cannot connect to X display " + displayName);
        XSelectInput(watcher, DefaultRootWindow(watcher), SubstructureNotifyMask);
        XSync(watcher, False);
        kill(windowManager->pid(), SIGSTOP);
        lateAnswer =
            std::thread(continueLate, watcher, windowManager->pid(), options.frameAnswerDelay, std::cref(stopping));
    }
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

int PrivateDisplay::connectionsOf(pid_t process) const
{
    if (!serverLog)
        return 0;
    // "AUDIT: <date>: <server pid>: client 1 connected from local host ( uid=0 gid=0 pid=4321 )"
    const std::string log = readFile(serverLog->path() / "log");
    const std::string ofProcess = " pid=" + std::to_string(process) + " )";
    int connections = 0;
    for (std::size_t at = log.find(ofProcess); at != std::string::npos; at = log.find(ofProcess, at + 1))
        ++connections;
    return connections;
}

PrivateDisplay::~PrivateDisplay()
{
    stopping = true;
    if (lateAnswer.joinable())
        lateAnswer.join();
    if (panelClient != nullptr)
        XCloseDisplay(panelClient);
    if (windowManager)
        windowManager->stop(stopGrace);
    // Asked first, so that the server removes its socket and lock file.
    server->stop(stopGrace);
}
