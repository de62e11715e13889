#include "WindowPlacement.h"

#include <algorithm>

namespace bp {

namespace {

// The start of a span of the given length within [areaStart, areaStart + areaLength).
int startInside(int start, int length, int areaStart, int areaLength) {
    const int latest = areaStart + areaLength - length;
    return std::max(areaStart, std::min(start, latest));
}

}  // namespace

Rect placedInside(const Rect& frame, const Rect& area) {
    if (area.width <= 0 || area.height <= 0) {
        return frame;
    }
    return {startInside(frame.x, frame.width, area.x, area.width),
            startInside(frame.y, frame.height, area.y, area.height), frame.width, frame.height};
}

}  // namespace bp
