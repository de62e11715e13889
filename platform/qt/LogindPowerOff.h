#pragma once

#include "platform/PowerOff.h"

namespace bp {

// Switching off through logind on the system bus. DBUS_SYSTEM_BUS_ADDRESS, when set, names
// the bus, which is how tests put a stand-in in logind's place.
class LogindPowerOff : public IPowerOff {
public:
    // "yes", or "challenge" (the user will be asked), count as allowed.
    bool canPowerOff() override;
    bool powerOff() override;
    std::string problem() const override { return problem_; }

    // The call waits no longer than this for logind to answer.
    static constexpr int kTimeoutMs = 5000;

private:
    std::string problem_;
};

}  // namespace bp
