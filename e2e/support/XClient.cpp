#include "support/XClient.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xmu/WinUtil.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <stdexcept>

namespace
{
// A window may vanish between two requests (the game ends): that is reported by the caller's
// result, never by Xlib's default handler, which would end the test process.
int lastError = 0;
int recordError(Display*, XErrorEvent* event)
{
    lastError = event->error_code;
    return 0;
}
} // namespace

XClient::XClient(const std::string& displayName)
{
    XSetErrorHandler(recordError);
    display = XOpenDisplay(displayName.c_str());
    if (display == nullptr)
        throw std::runtime_error("cannot connect to X display " + displayName);
    // Every top-level window's mapping is reported to us from now on.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
}

XClient::~XClient()
{
    XCloseDisplay(display);
}

std::vector<WindowId> XClient::shownWindows()
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<WindowId> windows;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0)
        return windows;
    for (unsigned i = 0; i < count; ++i)
    {
        XWindowAttributes attributes{};
        lastError = 0;
        if (XGetWindowAttributes(display, children[i], &attributes) == 0 || lastError != 0 ||
            attributes.map_state != IsViewable || attributes.override_redirect)
            continue;
        // Inside the frame a window manager put it in, if any. A frame is shown a moment before the
        // window manager marks the window in it as its client, and has no class of its own: until
        // then it is not taken for the window.
        const Window client = XmuClientWindow(display, children[i]);
        if (!instanceName(client).empty())
            windows.push_back(client);
    }
    if (children != nullptr)
        XFree(children);
    return windows;
}

bool XClient::anyWindowShown()
{
    XSync(display, False);
    while (XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect)
            shown = true;
    }
    return shown;
}

std::string XClient::title(WindowId window)
{
    char* name = nullptr;
    std::string title;
    if (XFetchName(display, window, &name) != 0 && name != nullptr)
    {
        title = name;
        XFree(name);
    }
    return title;
}

std::optional<std::pair<int, int>> XClient::iconSize(WindowId window)
{
    XWMHints* hints = XGetWMHints(display, window);
    if (hints == nullptr)
        return std::nullopt;
    const bool offered = (hints->flags & IconPixmapHint) != 0;
    const Pixmap icon = hints->icon_pixmap;
    XFree(hints);
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    lastError = 0;
    if (!offered || XGetGeometry(display, icon, &root, &x, &y, &width, &height, &border, &depth) == 0 || lastError != 0)
        return std::nullopt;
    return std::make_pair(static_cast<int>(width), static_cast<int>(height));
}

std::string XClient::instanceName(WindowId window)
{
    XClassHint hint{};
    std::string name;
    if (XGetClassHint(display, window, &hint) != 0)
    {
        if (hint.res_name != nullptr)
            name = hint.res_name;
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    return name;
}

std::pair<int, int> XClient::size(WindowId window)
{
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return {0, 0};
    return {attributes.width, attributes.height};
}

SizeHints XClient::sizeHints(WindowId window)
{
    XSizeHints hints{};
    long supplied = 0;
    SizeHints result;
    if (XGetWMNormalHints(display, window, &hints, &supplied) == 0)
        return result;
    result.hasMinimum = (hints.flags & PMinSize) != 0;
    result.hasMaximum = (hints.flags & PMaxSize) != 0;
    result.minWidth = hints.min_width;
    result.minHeight = hints.min_height;
    result.maxWidth = hints.max_width;
    result.maxHeight = hints.max_height;
    return result;
}

std::pair<int, int> XClient::origin(WindowId window)
{
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y};
}

Box XClient::outline(WindowId window)
{
    // The frame is the window's ancestor just below the root.
    Window root = 0;
    Window parent = window;
    Window* children = nullptr;
    unsigned count = 0;
    for (Window outer = window; parent != root; outer = parent)
    {
        XQueryTree(display, outer, &root, &parent, &children, &count);
        XFree(children);
        window = outer;
    }
    XWindowAttributes outer{};
    XGetWindowAttributes(display, window, &outer);
    return {outer.x, outer.y, outer.x + outer.width + 2 * outer.border_width,
            outer.y + outer.height + 2 * outer.border_width};
}

WindowId XClient::openWindow()
{
    // In the screen's corner, where it hides none of a window in the middle: a hidden part of a window
    // would hide its frames from those who count them.
    constexpr unsigned side = 100;
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, side, side, 0, 0, WhitePixel(display, 0));
    XSizeHints hints{};
    hints.flags = USPosition;
    XSetWMNormalHints(display, window, &hints);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

void XClient::requestClose(WindowId window)
{
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &message);
    XSync(display, False);
}

void XClient::focus(WindowId window)
{
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
}

void XClient::click()
{
    constexpr unsigned leftButton = 1;
    XTestFakeButtonEvent(display, leftButton, True, CurrentTime);
    XTestFakeButtonEvent(display, leftButton, False, CurrentTime);
    XSync(display, False);
}

std::optional<Picture> XClient::capture(WindowId window)
{
    const auto [width, height] = size(window);
    if (width == 0 || height == 0)
        return std::nullopt;
    return capture(window, {0, 0, width, height});
}

std::optional<Picture> XClient::capture(WindowId window, const Box& area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    lastError = 0;
    XImage* image = XGetImage(display, window, area.left, area.top, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr || lastError != 0)
    {
        if (image != nullptr)
            XDestroyImage(image);
        return std::nullopt;
    }
    // The test's X servers are 24-bit: blue, green, red and an unused byte to a pixel.
    const bool plainTrueColour = image->bits_per_pixel == 32 && image->red_mask == 0xff0000 &&
                                 image->green_mask == 0xff00 && image->blue_mask == 0xff &&
                                 image->byte_order == LSBFirst;
    Picture picture(width, height);
    for (int y = 0; y < height && plainTrueColour; ++y)
    {
        const auto* row = reinterpret_cast<const std::uint8_t*>(image->data) + y * image->bytes_per_line;
        for (int x = 0; x < width; ++x)
            picture.set(x, y, {row[4 * x + 2], row[4 * x + 1], row[4 * x]});
    }
    XDestroyImage(image);
    if (!plainTrueColour)
        throw std::runtime_error("the X server's screen is not 24-bit true colour");
    return picture;
}
