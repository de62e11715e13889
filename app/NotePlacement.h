#pragma once

#include "platform/Desktop.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace bp {

// Where the tray's "Cascade All" and "Minimize All" put the notes, on a desktop of
// width x height pixels. Both are nullopt when the desktop is too small for even one note.

struct CascadeLayout {
    int width = 0;
    int height = 0;
    std::vector<Point> positions;  // one per note, in registry order
};
std::optional<CascadeLayout> cascadeLayout(int width, int height, std::size_t count);

struct CollapsedLayout {
    int width = 0;  // the notes keep their heights
    std::vector<Point> positions;
};
std::optional<CollapsedLayout> collapsedLayout(int width, int height, std::size_t count);

}  // namespace bp
