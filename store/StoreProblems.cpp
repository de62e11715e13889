#include "StoreProblems.h"

#include <utility>

namespace bp {

void StoreProblems::install(Sink sink) {
    std::lock_guard guard(lock_);
    sink_ = std::move(sink);
}

void StoreProblems::report(StoreProblem problem) {
    Sink sink;
    {
        std::lock_guard guard(lock_);
        if (!sink_) {
            kept_.push_back(std::move(problem));
            return;
        }
        sink = sink_;
    }
    sink(problem);
}

std::vector<StoreProblem> StoreProblems::take() {
    std::lock_guard guard(lock_);
    return std::exchange(kept_, {});
}

}  // namespace bp
