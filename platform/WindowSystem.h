#pragma once

class QWidget;

namespace bp {

// What notes need of the window manager beyond plain Qt: stacking layers that change on the
// live window, staying out of the task bar, opacity and taking the foreground.
class IWindowSystem {
public:
    enum class Stacking { Bottom, Normal, Top };

    virtual ~IWindowSystem() = default;
    // Changes the layer of a window, shown or not, without hiding or re-creating it. The
    // layer is remembered and survives hiding and showing the window again.
    virtual void setStacking(QWidget* window, Stacking stacking) = 0;
    // Keeps a top-level window out of the task bar and the pager; best called just before it
    // is shown. Remembered like the layer.
    virtual void hideFromTaskbar(QWidget* window) = 0;
    // To be called after every show() of a window that was shown before: the window manager
    // forgets a window's layer and task-bar state when it is hidden, so they are given again.
    virtual void windowShown(QWidget* window) = 0;
    // 0.0 (invisible) to 1.0 (opaque).
    virtual void setOpacity(QWidget* window, double opacity) = 0;
    // Brings the window to the front and gives it the keyboard focus.
    virtual void activate(QWidget* window) = 0;
};

}  // namespace bp
