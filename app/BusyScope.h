#pragma once

namespace bp {

// Sets the busy flag for a scope and gives back the value it had, so that operations nested
// in one another do not clear it early.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = previous_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
    bool previous_;
};

}  // namespace bp
