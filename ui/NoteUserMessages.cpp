#include "NoteUserMessages.h"

#include "MessageBoxes.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>

namespace bp {

namespace {

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Runs show on the GUI thread: at once when called there, else queued without waiting, since
// the GUI thread may itself be waiting for the caller (a save's lock).
template <typename Show>
void onGuiThread(Show show) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
        show();
    } else {
        QMetaObject::invokeMethod(app, std::move(show), Qt::QueuedConnection);
    }
}

}  // namespace

void NoteUserMessages::standardError(const std::string& caption, const std::string& text) {
    onGuiThread([caption = fromUtf8(caption), text = fromUtf8(text)] {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
        // The store's texts quote file paths, which must not be taken for markup.
        box.setTextFormat(Qt::PlainText);
        box.exec();
    });
}

void NoteUserMessages::showMessage(const std::string& caption, const std::string& label,
                                   const std::string& text, int iconId) {
    onGuiThread([caption = fromUtf8(caption), label = fromUtf8(label), text = fromUtf8(text),
                 iconId] { ShowMessageBox(nullptr, caption, label, text, iconId); });
}

bool NoteUserMessages::askYesNo(const std::string& caption, const std::string& label,
                                const std::string& text, int iconId) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr && QThread::currentThread() != app->thread()) {
        // Nobody can be asked in time off the GUI thread: the answer is "No".
        return false;
    }
    return AskYesNo(nullptr, fromUtf8(caption), fromUtf8(label), fromUtf8(text), iconId);
}

}  // namespace bp
