#pragma once

#include "platform/FileDialogs.h"
#include "platform/ModalDialogs.h"

namespace bp {

class QtFileDialogs : public IFileDialogs {
public:
    std::string openFile(const std::string& caption, const std::string& filter) override;
    std::string saveFile(const std::string& caption, const std::string& filter,
                         const std::string& defaultSuffix) override;
};

class QtModalDialogs : public IModalDialogs {
public:
    int run(QDialog& dialog) override;
};

}  // namespace bp
