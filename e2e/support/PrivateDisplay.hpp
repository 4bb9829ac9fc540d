#pragma once

#include "support/AssetCopy.hpp"
#include "support/ChildProcess.hpp"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

struct _XDisplay;

// An X server (Xvfb) of the test's own, on a display number the server picks itself. Each test gets
// one, so tests running side by side never see, or send input to, each other's windows, and a
// developer's own desktop is left alone. The server stops when the object goes.
class PrivateDisplay
{
public:
    struct Options
    {
        int width = 1280;
        int height = 1024;
        // A real window manager (openbox): frames, focus, minimising, a work area. Without one, windows
        // lie where they ask to and keep the focus they are given.
        bool windowManager = false;
        // Under the window manager, a desktop as a player's may be: a panel along the bottom edge this
        // high, which the work area leaves out, with the last of the virtual desktops shown.
        int panelHeight = 0;
        // Under the window manager: how late it answers the first question about a window's frame, as
        // a loaded one may. It stands still from its start until then.
        std::chrono::milliseconds frameAnswerDelay{0};
        // The server ends once its last client leaves, as one started for a session by xinit does,
        // and logs every client's coming and going (see connectionsOf). Otherwise it never resets.
        bool endsWithItsLastClient = false;
    };

    PrivateDisplay();
    explicit PrivateDisplay(Options options);
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // ":N", as DISPLAY wants it.
    [[nodiscard]] const std::string& name() const { return displayName; }
    // Sets the X resources the desktop gives programs on the root window, as `xrdb` does
    // ("Xft.dpi:\t192\n"); programs read them as they connect.
    void setResources(const std::string& resources);
    // Where the server ends with its last client: how many times the process connected so far.
    [[nodiscard]] int connectionsOf(pid_t process) const;

private:
    std::unique_ptr<ChildProcess> server;
    std::unique_ptr<ChildProcess> windowManager;
    std::string displayName;
    std::unique_ptr<TempFolder> serverLog;
    // The panel's client, whose window lives as long as its connection.
    _XDisplay* panelClient = nullptr;
    std::thread lateAnswer;
    std::atomic<bool> stopping{false};
};
