#pragma once

#include "platform/Desktop.h"

namespace bp {

// Where a window's frame goes so that all of it lies inside an area (the work area of a
// screen): moved as little as it takes; a frame larger than the area keeps its top-left
// corner, where the title bar and the window's menu are, inside the area.
Rect placedInside(const Rect& frame, const Rect& area);

}  // namespace bp
