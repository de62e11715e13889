#pragma once

#include "platform/WindowSystem.h"

namespace bp {

// Stacking and task-bar state through the window manager's EWMH hints. Without an X11
// connection (offscreen tests, a pure Wayland session) it falls back to plain Qt calls.
class X11WindowSystem : public IWindowSystem {
public:
    void setStacking(QWidget* window, Stacking stacking) override;
    void hideFromTaskbar(QWidget* window) override;
    void setOpacity(QWidget* window, double opacity) override;
    void activate(QWidget* window) override;
};

}  // namespace bp
