#include "NoteUserMessages.h"

#include "MessageBoxes.h"

#include <QMessageBox>

namespace bp {

namespace {

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void NoteUserMessages::standardError(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, fromUtf8(caption), fromUtf8(text), QMessageBox::Ok);
    // The store's texts quote file paths, which must not be taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void NoteUserMessages::showMessage(const std::string& caption, const std::string& label,
                                   const std::string& text, int iconId) {
    ShowMessageBox(nullptr, fromUtf8(caption), fromUtf8(label), fromUtf8(text), iconId);
}

bool NoteUserMessages::askYesNo(const std::string& caption, const std::string& label,
                                const std::string& text, int iconId) {
    return AskYesNo(nullptr, fromUtf8(caption), fromUtf8(label), fromUtf8(text), iconId);
}

}  // namespace bp
