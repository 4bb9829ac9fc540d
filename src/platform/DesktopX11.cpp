#include "platform/Desktop.hpp"

#include "DesktopScale.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace platform
{
namespace
{
// How long the window manager is given to say how large its frame is.
constexpr auto frameAnswerTimeout = std::chrono::milliseconds(200);

// A window the window manager has meanwhile destroyed must not end the process through Xlib's
// default handler: its properties then read as absent.
int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

// A property of 32-bit items (CARDINAL or WINDOW), or nothing when it is absent.
std::vector<unsigned long> numbers(Display* display, Window window, const char* name, Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long bytesLeft = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    const Atom property = XInternAtom(display, name, False);
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actualType, &format, &count, &bytesLeft,
                           &data) == Success &&
        actualType == type && format == 32)
    {
        // Xlib hands 32-bit items over as longs.
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        values.assign(items, items + count);
    }
    if (data != nullptr)
        XFree(data);
    return values;
}

// A window manager that follows the desktop conventions names a window of its own that names itself.
bool windowManagerRuns(Display* display)
{
    const std::vector<unsigned long> check =
        numbers(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    return check.size() == 1 && numbers(display, check[0], "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) == check;
}

std::optional<sf::Vector2u> workArea(Display* display)
{
    const Window root = DefaultRootWindow(display);
    const std::vector<unsigned long> areas = numbers(display, root, "_NET_WORKAREA", XA_CARDINAL);
    const std::vector<unsigned long> current = numbers(display, root, "_NET_CURRENT_DESKTOP", XA_CARDINAL);
    // x, y, width and height for each virtual desktop.
    const std::size_t at = 4 * (current.empty() ? 0 : current[0]);
    if (areas.size() < at + 4)
        return std::nullopt;
    return sf::Vector2u{static_cast<unsigned>(areas[at + 2]), static_cast<unsigned>(areas[at + 3])};
}

// Whether the window manager says it answers a request for a frame's size: asking one that does not
// would wait for an answer that never comes.
bool answersFrameRequests(Display* display)
{
    const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    const std::vector<unsigned long> supported =
        numbers(display, DefaultRootWindow(display), "_NET_SUPPORTED", XA_ATOM);
    return std::find(supported.begin(), supported.end(), request) != supported.end();
}

bool waitForProperty(Display* display, Window window, Atom property)
{
    const auto deadline = std::chrono::steady_clock::now() + frameAnswerTimeout;
    for (;;)
    {
        while (XPending(display) > 0)
        {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == PropertyNotify && event.xproperty.window == window && event.xproperty.atom == property)
                return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        if (left.count() <= 0 || poll(&connection, 1, static_cast<int>(left.count())) <= 0)
            return false;
    }
}

// The frame the window manager would put around a new window, asked for on a window never shown.
sf::Vector2u frameSize(Display* display)
{
    const Window root = DefaultRootWindow(display);
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window probe = XCreateWindow(display, root, 0, 0, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                                       CWEventMask, &attributes);
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = probe;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XFlush(display);

    sf::Vector2u frame;
    // left, right, top, bottom
    if (waitForProperty(display, probe, extents))
        if (const std::vector<unsigned long> sides = numbers(display, probe, "_NET_FRAME_EXTENTS", XA_CARDINAL);
            sides.size() == 4)
            frame = {static_cast<unsigned>(sides[0] + sides[1]), static_cast<unsigned>(sides[2] + sides[3])};
    XDestroyWindow(display, probe);
    XSync(display, False);
    return frame;
}

// The `Xft.dpi` resource as the desktop set it on the root window (xrdb's RESOURCE_MANAGER), matched
// as Xlib matches resources, so that `*dpi` counts too.
std::optional<std::string> xftDpi(Display* display)
{
    const char* resources = XResourceManagerString(display);
    if (resources == nullptr)
        return std::nullopt;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value{};
    std::optional<std::string> dpi;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) == True && value.addr != nullptr)
        dpi = std::string(value.addr);
    XrmDestroyDatabase(database);
    return dpi;
}
} // namespace

struct Desktop::Connection
{
    Display* display;
};

Desktop::Desktop()
{
    if (Display* display = XOpenDisplay(nullptr))
    {
        connection = std::make_unique<Connection>(Connection{display});
        return;
    }
    const char* named = std::getenv("DISPLAY");
    whyNoWindow = named == nullptr || *named == '\0'
                      ? "Error: unable to open a window: no display (DISPLAY is not set)"
                      : std::string("Error: unable to open the display \"") + named + "\" named by DISPLAY";
}

Desktop::~Desktop()
{
    if (connection)
        XCloseDisplay(connection->display);
}

WindowRoom Desktop::room() const
{
    if (!connection)
        return {};
    Display* display = connection->display;
    const auto previousHandler = XSetErrorHandler(ignoreError);
    WindowRoom room;
    if (windowManagerRuns(display))
        room = {workArea(display), answersFrameRequests(display) ? frameSize(display) : sf::Vector2u{}};
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    return room;
}

float Desktop::scale() const
{
    const std::optional<std::string> dpi = connection ? xftDpi(connection->display) : std::nullopt;
    const char* gdkScale = std::getenv("GDK_SCALE");
    return x11Scale(dpi, gdkScale ? std::optional<std::string_view>(gdkScale) : std::nullopt);
}
} // namespace platform
