#pragma once

#include <cstdint>
#include <optional>

namespace bp {

// When the save that follows an edit is due: once the edits have paused for a moment, but
// never later than a longest wait after the first unsaved edit, so that steady typing is
// still saved every few seconds. Times are milliseconds of a steady clock.
class SaveSchedule {
public:
    struct Delays {
        std::int64_t quietMs = 1500;
        std::int64_t longestWaitMs = 5000;
    };

    SaveSchedule() = default;
    explicit SaveSchedule(Delays delays) : delays_(delays) {}

    // An edit at now; gives the moment the save is due.
    std::int64_t changed(std::int64_t now);
    // A save takes everything edited so far; later edits wait afresh.
    void saveStarted();
    std::optional<std::int64_t> due() const;
    bool pending() const { return firstUnsaved_.has_value(); }

private:
    Delays delays_;
    std::optional<std::int64_t> firstUnsaved_;
    std::int64_t lastChange_ = 0;
};

}  // namespace bp
