#pragma once

#include <optional>
#include <string_view>

// How many device pixels the desktop gives what is designed as one pixel: 2 on a desktop set to 200%.
// The desktop says it as a density (96 dots per inch is 100%) or as a whole factor. A desktop set below
// 100%, and a value that is no number or an absurd one, leave the designed size: 1.

// A density, as Windows gives a monitor's and X11 desktops give the `Xft.dpi` resource.
[[nodiscard]] float scaleOfDpi(double dotsPerInch);

// What an X11 desktop says: `GDK_SCALE` (a whole factor, set for a program or a session) where it is
// set and sensible, else the `Xft.dpi` resource, else 1. Under Wayland both are trusted as they are: a
// compositor that enlarges X programs itself (GNOME's, KDE's "scaled by the system") tells them 96 dpi,
// one that leaves it to them tells the screen's density, so the game is never enlarged twice by them.
[[nodiscard]] float x11Scale(std::optional<std::string_view> xftDpi, std::optional<std::string_view> gdkScale);
