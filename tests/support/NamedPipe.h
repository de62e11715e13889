#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <future>
#include <string>

namespace bp::test {

inline bool makeNamedPipe(const std::string& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

inline bool isNamedPipe(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// Runs call on a thread of its own. A faulty call waits in open(2) for the other end of the
// pipe: the pipe opened for both reading and writing, and closed again, lets it go on (to an
// empty read or a failed write), so that the fault fails the test instead of hanging it.
template <typename Call>
auto withoutWaitingOn(const std::string& pipe, Call call) {
    // A released writer must fail its write, not end the test program.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    auto result = std::async(std::launch::async, call);
    if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "waited for the other end of the named pipe " << pipe;
        ::close(::open(pipe.c_str(), O_RDWR | O_NONBLOCK));
    }
    auto value = result.get();
    std::signal(SIGPIPE, previous);
    return value;
}

}  // namespace bp::test
