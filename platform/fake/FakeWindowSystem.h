#pragma once

#include "platform/WindowSystem.h"

#include <map>
#include <vector>

namespace bp::fake {

// Remembers what was asked of each window.
class FakeWindowSystem : public IWindowSystem {
public:
    void setStacking(QWidget* window, Stacking stacking) override {
        stacking_[window] = stacking;
        stackingCalls.push_back({window, stacking});
    }
    void hideFromTaskbar(QWidget* window) override { hiddenFromTaskbar[window] = true; }
    void windowShown(QWidget* window) override { ++shownCount[window]; }
    void setOpacity(QWidget* window, double opacity) override { opacity_[window] = opacity; }
    void activate(QWidget* window) override { activated.push_back(window); }

    // The last stacking asked for, Normal when never asked.
    Stacking stackingOf(QWidget* window) const {
        auto it = stacking_.find(window);
        return it == stacking_.end() ? Stacking::Normal : it->second;
    }
    double opacityOf(QWidget* window) const {
        auto it = opacity_.find(window);
        return it == opacity_.end() ? 1.0 : it->second;
    }

    struct StackingCall {
        QWidget* window;
        Stacking stacking;
    };
    std::vector<StackingCall> stackingCalls;
    std::map<QWidget*, bool> hiddenFromTaskbar;
    std::map<QWidget*, int> shownCount;
    std::vector<QWidget*> activated;

private:
    std::map<QWidget*, Stacking> stacking_;
    std::map<QWidget*, double> opacity_;
};

}  // namespace bp::fake
