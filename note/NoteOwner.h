#pragma once

#include <cstdint>

namespace bp {

// The main window as a note sees it: the only way notes reach it is by its message numbers.
class INoteOwner {
public:
    virtual ~INoteOwner() = default;
    virtual void sendMessage(int id, std::intptr_t wParam, std::intptr_t lParam) = 0;
    virtual void postMessage(int id, std::intptr_t wParam, std::intptr_t lParam) = 0;
    virtual void sendCommand(int id) = 0;
    virtual void postCommand(int id) = 0;
};

}  // namespace bp
