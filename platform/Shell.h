#pragma once

#include <string>

namespace bp {

// Opens a document, file or web address with the desktop's default handler.
class IShell {
public:
    virtual ~IShell() = default;
    // True when a handler was started; it does not say whether the handler succeeded.
    virtual bool open(const std::string& target) = 0;
};

}  // namespace bp
