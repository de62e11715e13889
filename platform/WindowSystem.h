#pragma once

class QWidget;

namespace bp {

// What notes need of the window manager beyond plain Qt: stacking layers that change on the
// live window, staying out of the task bar, opacity and taking the foreground.
class IWindowSystem {
public:
    enum class Stacking { Bottom, Normal, Top };

    virtual ~IWindowSystem() = default;
    // Changes the layer of a shown window without hiding or re-creating it.
    virtual void setStacking(QWidget* window, Stacking stacking) = 0;
    // Keeps a top-level window out of the task bar and the pager; best called just before it
    // is shown, and again after each time it is shown.
    virtual void hideFromTaskbar(QWidget* window) = 0;
    // 0.0 (invisible) to 1.0 (opaque).
    virtual void setOpacity(QWidget* window, double opacity) = 0;
    // Brings the window to the front and gives it the keyboard focus.
    virtual void activate(QWidget* window) = 0;
};

}  // namespace bp
