#pragma once

namespace bp {

struct PlatformVersion {
    int major = 0;
    int minor = 0;
};

// The desktop platform's version, which decides whether this build may run on it.
class IPlatformInfo {
public:
    virtual ~IPlatformInfo() = default;
    virtual PlatformVersion version() const = 0;
};

}  // namespace bp
