#pragma once

#include "platform/Desktop.h"

namespace bp {

// Pulls a note rectangle onto a desktop of size width × height: a note off to the left or top
// moves to 0, one past the right or bottom edge moves back in, and one larger than the
// desktop shrinks to its size at 0.
Rect clampToDesktop(Rect note, int desktopWidth, int desktopHeight);

inline constexpr int kExpandedTitleHeight = 16;
inline constexpr int kCollapsedTitleHeight = 25;
// Height of a collapsed note: the title bar and the frame around it.
inline constexpr int collapsedHeight(int titleHeight) {
    return titleHeight + 6;
}

}  // namespace bp
