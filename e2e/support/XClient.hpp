#pragma once

#include "support/Picture.hpp"

#include <optional>
#include <string>
#include <vector>

struct _XDisplay;
using WindowId = unsigned long;

struct SizeHints
{
    bool hasMinimum = false;
    bool hasMaximum = false;
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
};

// A client of the test's X server that looks at windows the way a window manager would: which are
// shown, their titles, sizes and size hints, what they show, and it asks them to close.
class XClient
{
public:
    explicit XClient(const std::string& displayName);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    // Programs' top-level windows now shown on the screen (inside their frames where a window manager
    // framed them).
    [[nodiscard]] std::vector<WindowId> shownWindows();
    // Whether any top-level window has been shown since this client connected.
    [[nodiscard]] bool anyWindowShown();

    [[nodiscard]] std::string title(WindowId window);
    // The instance half of WM_CLASS, by which a task bar finds the window's desktop entry.
    [[nodiscard]] std::string instanceName(WindowId window);
    // Width and height of the client area.
    [[nodiscard]] std::pair<int, int> size(WindowId window);
    [[nodiscard]] SizeHints sizeHints(WindowId window);
    // The size of the icon the window offers a window manager (its WM_HINTS pixmap), or nothing if
    // it offers none.
    [[nodiscard]] std::optional<std::pair<int, int>> iconSize(WindowId window);
    // Where the client area's top-left corner lies on the screen.
    [[nodiscard]] std::pair<int, int> origin(WindowId window);
    // Where the window lies on the screen with its frame, or the window alone where it has none.
    [[nodiscard]] Box outline(WindowId window);
    // A window of the test's own, shown in the screen's top-left corner: a window manager gives it the
    // focus, as it does a program's.
    WindowId openWindow();

    // What a close button does: a WM_DELETE_WINDOW message, which the program may act on as it likes.
    void requestClose(WindowId window);
    // A left click where the pointer is, sent from this client: the X server has handled both the
    // press and the release when this returns.
    void click();
    // Keyboard input goes to this window.
    void focus(WindowId window);
    // The window's content, or nothing if it could not be read (the window has gone).
    [[nodiscard]] std::optional<Picture> capture(WindowId window);
    // Part of it, which costs the X server and the game less than the whole.
    [[nodiscard]] std::optional<Picture> capture(WindowId window, const Box& area);

private:
    _XDisplay* display = nullptr;
    bool shown = false;
};
