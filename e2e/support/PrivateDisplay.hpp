#pragma once

#include "support/ChildProcess.hpp"

#include <memory>
#include <string>

// An X server (Xvfb) of the test's own, on a display number the server picks itself. Each test gets
// one, so tests running side by side never see, or send input to, each other's windows, and a
// developer's own desktop is left alone. The server stops when the object goes.
class PrivateDisplay
{
public:
    PrivateDisplay();
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // ":N", as DISPLAY wants it.
    [[nodiscard]] const std::string& name() const { return displayName; }

    static constexpr int screenWidth = 1280;
    static constexpr int screenHeight = 1024;

private:
    std::unique_ptr<ChildProcess> server;
    std::string displayName;
};
