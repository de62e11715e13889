#pragma once

#include "platform/Desktop.h"
#include "platform/PlatformInfo.h"

namespace bp {

class QtDesktop : public IDesktop {
public:
    Rect screenRect() const override;
    Rect availableRect() const override;
    Point cursorPos() const override;
    Rect workAreaAtPointer() const override;
};

// This build supports the desktop it runs on; it reports itself as the newest accepted version.
class QtPlatformInfo : public IPlatformInfo {
public:
    PlatformVersion version() const override { return {6, 1}; }
};

}  // namespace bp
