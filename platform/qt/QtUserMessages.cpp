#include "QtUserMessages.h"

#include <QMessageBox>

namespace bp {

namespace {

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void QtUserMessages::standardError(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, fromUtf8(caption), fromUtf8(text), QMessageBox::Ok);
    box.exec();
}

void QtUserMessages::showMessage(const std::string& caption, const std::string& /*label*/,
                                 const std::string& text, int /*iconId*/) {
    QMessageBox box(QMessageBox::Warning, fromUtf8(caption), fromUtf8(text), QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

bool QtUserMessages::askYesNo(const std::string& caption, const std::string& /*label*/,
                              const std::string& text, int /*iconId*/) {
    QMessageBox box(QMessageBox::Question, fromUtf8(caption), fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace bp
