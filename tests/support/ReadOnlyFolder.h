#pragma once

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace bp::test {

// The exit code of a child that could not make the folder read-only (not root, no namespaces).
inline constexpr int kCannotMakeReadOnly = 77;

// Runs body in a child process that sees the folder on a read-only file system: a read-only
// bind mount in a mount namespace of the child's own, so that no other process sees it and
// it ends with the child however the test ends. The mode bits alone would not do, as root
// writes through them. Returns the child's exit code: 0 when body returned true.
inline int withFolderReadOnly(const std::string& folder, const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        const char* path = folder.c_str();
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(path, path, nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, path, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            ::_exit(kCannotMakeReadOnly);
        }
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace bp::test
