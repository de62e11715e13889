#include "ListText.h"

#include "platform/TimeText.h"

#include <limits>

namespace bp {

std::string listTime(const IClock& clock, std::uint32_t seconds) {
    return displayTime(clock, seconds);
}

std::string priorityText(int priority) {
    switch (priority) {
        case 0:
            return "low";
        case 1:
            return "regular";
        case 2:
            return "high";
        default:
            // A value no dialog writes; an empty cell says so without guessing.
            return {};
    }
}

std::string stateText(int isClosed) {
    return isClosed == 1 ? "invisible" : "visible";
}

std::int32_t reselectNid(const std::vector<std::int32_t>& nids, std::int32_t current) {
    if (current == -1) {
        return -1;
    }
    std::int32_t greater = std::numeric_limits<std::int32_t>::max();
    std::int32_t smaller = std::numeric_limits<std::int32_t>::min();
    bool haveGreater = false;
    bool haveSmaller = false;
    for (const std::int32_t nid : nids) {
        if (nid == current) {
            return nid;
        }
        if (nid > current && nid <= greater) {
            greater = nid;
            haveGreater = true;
        } else if (nid < current && nid >= smaller) {
            smaller = nid;
            haveSmaller = true;
        }
    }
    return haveGreater ? greater : haveSmaller ? smaller : -1;
}

}  // namespace bp
