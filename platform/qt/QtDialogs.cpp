#include "QtDialogs.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace bp {

QString QtFileDialogs::startFolder() const {
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir()) {
        return lastFolder_;
    }
    return QDir::homePath();
}

std::string QtFileDialogs::run(QFileDialog& dialog, const QString& proposedName) {
    dialog.setDirectory(startFolder());
    if (!proposedName.isEmpty()) {
        dialog.selectFile(proposedName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen.toStdString();
}

std::string QtFileDialogs::openFile(const std::string& caption, const std::string& filter,
                                    const std::string& defaultSuffix) {
    QFileDialog dialog(nullptr, QString::fromStdString(caption));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromStdString(filter));
    // The dialog checks that the file exists, so it must look for the name the caller will
    // open: a name typed without extension is completed before that check.
    dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
    return run(dialog);
}

std::string QtFileDialogs::saveFile(const std::string& caption, const std::string& filter,
                                    const std::string& defaultSuffix) {
    QFileDialog dialog(nullptr, QString::fromStdString(caption));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromStdString(filter));
    // With the suffix added by the dialog, its overwrite question names the file that is
    // really written.
    dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
    return run(dialog);
}

std::string QtFileDialogs::saveFileOfType(const std::string& caption,
                                          const std::vector<std::string>& filters, int& type,
                                          const std::string& proposedName) {
    QFileDialog dialog(nullptr, QString::fromStdString(caption));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList names;
    for (const std::string& filter : filters) {
        names << QString::fromStdString(filter);
    }
    dialog.setNameFilters(names);
    std::string path = run(dialog, QString::fromStdString(proposedName));
    type = static_cast<int>(names.indexOf(dialog.selectedNameFilter())) + 1;
    if (type < 1) {
        type = 1;
    }
    return path;
}

std::string QtFileDialogs::openFolder(const std::string& caption) {
    QFileDialog dialog(nullptr, QString::fromStdString(caption));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return run(dialog);
}

int QtModalDialogs::run(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace bp
