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

// A top-level window that is no QDialog but is placed and stacked like the program's dialogs
// (the stop-alarm window): it opens wholly inside the work area and above the window it came
// from, the Notes Manager included. Set as a true dynamic property of the widget.
inline constexpr const char* kDialogLikeProperty = "_bp_dialogLike";

// Geometry of the desktop the notes live on.
class IDesktop {
public:
    virtual ~IDesktop() = default;
    // The whole primary screen.
    virtual Rect screenRect() const = 0;
    // The primary screen less panels and docks.
    virtual Rect availableRect() const = 0;
    virtual Point cursorPos() const = 0;
    // The work area (less panels and docks) of the screen the pointer is on, where the
    // program's windows open.
    virtual Rect workAreaAtPointer() const = 0;
};

}  // namespace bp
