#include "support/PresentedFrames.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <stdexcept>

PresentedFrames::PresentedFrames(const std::string& displayName, WindowId window)
{
    display = XOpenDisplay(displayName.c_str());
    if (display == nullptr)
        throw std::runtime_error("cannot connect to X display " + displayName);
    int errorBase = 0;
    if (!XDamageQueryExtension(display, &damageEventBase, &errorBase))
    {
        XCloseDisplay(display);
        throw std::runtime_error("the X server has no Damage extension");
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    width = attributes.width;
    height = attributes.height;
    // Every drawing request is reported as it comes, none merged with the next. The damage object
    // goes with the connection.
    XDamageCreate(display, window, XDamageReportRawRectangles);
    XSync(display, False);
}

PresentedFrames::~PresentedFrames()
{
    XCloseDisplay(display);
}

long PresentedFrames::count()
{
    XSync(display, False);
    while (XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != damageEventBase + XDamageNotify)
            continue;
        const auto& notice = reinterpret_cast<const XDamageNotifyEvent&>(event);
        if (notice.area.width == width && notice.area.height == height)
        {
            ++frames;
            presentedAt.push_back(static_cast<std::uint32_t>(notice.timestamp));
        }
    }
    return frames;
}
