#include "NotePlacement.h"

namespace bp {

namespace {

// A position is tried at most this often; the last try is taken even when it does not fit.
constexpr int kAttempts = 10;
constexpr int kCollapsedRowHeight = 25;

}  // namespace

std::optional<CascadeLayout> cascadeLayout(int W, int H, std::size_t count) {
    const int w = W <= 800 ? 150 : W <= 1024 ? 200 : 230;
    const int h = H <= 600 ? 125 : H <= 768 ? 150 : 175;
    if (w >= W || h >= H) {
        return std::nullopt;
    }
    CascadeLayout layout{w, h, {}};
    // Diagonal runs 15 right and 30 down per note; run i starts at (i * (w + 1), 0). The
    // column and step carry over from one note to the next.
    int i = 0;
    int j = 0;
    for (std::size_t n = 0; n < count; ++n) {
        Point p;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            p = {(w + 1) * i + 15 * j, 30 * j};
            if (p.y + h > H) {
                j = 0;
                ++i;
            } else if (p.x + w > W) {
                if (j > 0) {
                    j = 0;
                    ++i;
                } else {
                    i = 0;
                }
            } else {
                ++j;
            }
            if (p.x + w <= W && p.y + h <= H) {
                break;
            }
        }
        layout.positions.push_back(p);
    }
    return layout;
}

std::optional<CollapsedLayout> collapsedLayout(int W, int H, std::size_t count) {
    const int w = W <= 800 ? 100 : W <= 1024 ? 150 : 200;
    if (w + 1 > W) {
        return std::nullopt;
    }
    CollapsedLayout layout{w, {}};
    int i = 0;
    int r = 0;
    for (std::size_t n = 0; n < count; ++n) {
        Point p;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            p = {(w + 1) * i, kCollapsedRowHeight * r};
            if (p.x + w > W) {
                ++r;
                i = 0;
            } else if (p.y + kCollapsedRowHeight > H) {
                r = 0;
                i = 0;
            } else {
                ++i;
            }
            if (p.x + w <= W && p.y + kCollapsedRowHeight <= H) {
                break;
            }
        }
        layout.positions.push_back(p);
    }
    return layout;
}

}  // namespace bp
