#include "QtDialogs.h"

#include <QDialog>
#include <QFileDialog>

namespace bp {

std::string QtFileDialogs::openFile(const std::string& caption, const std::string& filter) {
    QFileDialog dialog(nullptr, QString::fromStdString(caption));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromStdString(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst().toStdString();
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

int QtModalDialogs::run(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace bp
