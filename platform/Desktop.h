#pragma once

namespace bp {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Geometry of the desktop the notes live on.
class IDesktop {
public:
    virtual ~IDesktop() = default;
    // The whole primary screen.
    virtual Rect screenRect() const = 0;
    // The primary screen less panels and docks.
    virtual Rect availableRect() const = 0;
    virtual Point cursorPos() const = 0;
};

}  // namespace bp
