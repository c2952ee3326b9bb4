#pragma once
// What a child window may ask of the main window, and nothing more: a window never sees the
// main window itself. The main window implements it; a test may give its own.
#include <string>

#include "platform/sockets.h"

class QMdiArea;
class QWidget;

namespace tiderune {

class RedrawTick;

// A system's TCP connection as the monitor shows it.
struct SocketStatus {
    SocketState state = SocketState::Closed;
    std::string remoteHost;
};

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // The main window's status-bar panel 1-13 (the program's 8-bit text).
    virtual void setStatusPanel(int panel, const std::string& text) = 0;
    // Keeps a child window's sub-window inside the main window.
    virtual void fitChildWindow(QWidget* frame) = 0;
    // The area the child windows live in.
    virtual QMdiArea& childArea() = 0;
    // The TCP connection of a system (1-4).
    virtual SocketStatus socketStatus(int system) const = 0;
    // The one shared redraw tick of all windows.
    virtual RedrawTick& redrawTick() = 0;
};

}  // namespace tiderune
