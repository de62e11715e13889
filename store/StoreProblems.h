#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace bp {

// Something the store could not read or do, in the words the user is shown.
struct StoreProblem {
    std::string caption;
    std::string text;
    bool operator==(const StoreProblem&) const = default;
};

// Where the store's problems go. Many of them arise deep inside a read that returns a plain
// value, so they cannot travel back with it: the program installs a sink that tells the user
// at once; without one (tools, tests) they are kept until someone takes them.
class StoreProblems {
public:
    using Sink = std::function<void(const StoreProblem&)>;

    void install(Sink sink);
    void report(StoreProblem problem);
    // The problems kept since the last call, oldest first.
    std::vector<StoreProblem> take();

private:
    // Reports come from whichever thread reads the store; the sink itself is called outside
    // the lock, as it may show a box and run an event loop.
    std::mutex lock_;
    Sink sink_;
    std::vector<StoreProblem> kept_;
};

}  // namespace bp
