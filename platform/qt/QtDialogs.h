#pragma once

#include "platform/FileDialogs.h"
#include "platform/ModalDialogs.h"

#include <QString>

class QFileDialog;

namespace bp {

class QtFileDialogs : public IFileDialogs {
public:
    std::string openFile(const std::string& caption, const std::string& filter,
                         const std::string& defaultSuffix) override;
    std::string saveFile(const std::string& caption, const std::string& filter,
                         const std::string& defaultSuffix) override;
    std::string saveFileOfType(const std::string& caption, const std::vector<std::string>& filters,
                               int& type, const std::string& proposedName) override;
    std::string openFolder(const std::string& caption) override;

    // Where the next dialog starts: the folder of the last file chosen while it still
    // exists, else the user's home. Never the program's working folder.
    QString startFolder() const;

private:
    std::string run(QFileDialog& dialog, const QString& proposedName = {});

    QString lastFolder_;
};

class QtModalDialogs : public IModalDialogs {
public:
    int run(QDialog& dialog) override;
};

}  // namespace bp
