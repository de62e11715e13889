#pragma once

#include "platform/WindowSystem.h"

namespace bp {

// Stacking and task-bar state through the window manager's EWMH hints. Without an X11
// connection (offscreen tests, a pure Wayland session) it falls back to plain Qt calls.
//
// The layer is never handed to Qt as a window flag: Qt 6 re-creates the X window at the next
// show() once WindowStaysOnTopHint or WindowStaysOnBottomHint changed, and the new window
// comes without the task-bar state, is placed afresh by the window manager and stacks anew.
class X11WindowSystem : public IWindowSystem {
public:
    void setStacking(QWidget* window, Stacking stacking) override;
    void hideFromTaskbar(QWidget* window) override;
    void windowShown(QWidget* window) override;
    void setOpacity(QWidget* window, double opacity) override;
    void activate(QWidget* window) override;
};

}  // namespace bp
