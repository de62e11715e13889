#include "AppDialogs.h"

#include "AboutBox.h"
#include "HotKeys.h"
#include "ProductInfo.h"
#include "manage/FindWindow.h"
#include "manage/RecycleBinWindow.h"
#include "settings/AppSettingsDialog.h"
#include "settings/NotesSettingsDialog.h"
#include "store/NotesDatabase.h"
#include "ui/NoteDialogs.h"

#include <QDialog>
#include <QLineEdit>
#include <QMetaObject>

#include <algorithm>
#include <utility>

namespace bp {

AppDialogs::AppDialogs(const Platform& platform, CNotesDatabase& store, IDialogHost& host,
                       IListWindowOwner& listOwner, ISettingsOwner& settingsOwner, HotKeys& hotKeys,
                       NotesManagerWindow::PrintRunner printRunner)
    : platform_(platform),
      store_(store),
      host_(host),
      listOwner_(listOwner),
      settingsOwner_(settingsOwner),
      hotKeys_(hotKeys),
      printRunner_(std::move(printRunner)) {}

AppDialogs::~AppDialogs() {
    destroyManager();
}

void AppDialogs::showAbout() {
    CAboutBox about(platform_.shell);
    host_.runModal(about);
}

void AppDialogs::showOnlineHelp() {
    if (platform_.shell != nullptr) {
        platform_.shell->open(kProductHelpPage);
    }
}

void AppDialogs::createNotesManager() {
    if (manager_ != nullptr) {
        return;
    }
    manager_ = new NotesManagerWindow(platform_, store_, listOwner_);
    manager_->setPrintRunner(printRunner_);
    const Rect area = platform_.desktop != nullptr ? platform_.desktop->availableRect() : Rect{};
    // Its minimum size (700 x 400) is kept, so it is as large as that, not 605 x 365.
    manager_->move(0, std::max(0, area.y + area.height - 400));
}

void AppDialogs::showNotesManager() {
    createNotesManager();
    // Shown on top of every note without taking the focus, with a list read afresh now.
    manager_->showOnTop();
}

void AppDialogs::toggleNotesManager() {
    createNotesManager();
    if (manager_->isVisible()) {
        manager_->hide();
    } else {
        manager_->showOnTop();
    }
}

void AppDialogs::showAppSettings() {
    AppSettingsDialog dialog(
        store_, *platform_.messages, settingsOwner_,
        [this](int id, std::uint32_t value) { hotKeys_.reRegister(id, value); }, nullptr,
        platform_.speech);
    // Our own grabs would take the keys before the hot-key controls see them, so a control
    // could not be given a combination another action has now. OK grabs them all again.
    hotKeys_.unregisterAll();
    if (host_.runModal(dialog) != QDialog::Accepted) {
        hotKeys_.registerAll();
    }
    store_.RequestSave(SaveUrgency::Now);
}

void AppDialogs::showNotesSettings() {
    NotesSettingsDialog dialog(store_, platform_, settingsOwner_,
                               noteDialogs_ != nullptr ? *noteDialogs_ : standardNoteDialogs());
    if (host_.runModal(dialog) == QDialog::Accepted) {
        host_.noteSizeLimitsChanged();
    }
    store_.RequestSave(SaveUrgency::Now);
}

void AppDialogs::showFind(const QString& terms) {
    FindWindow find(platform_, store_, listOwner_);
    if (!terms.isEmpty()) {
        find.textField()->setText(terms);
        find.search();
    }
    host_.runModal(find);
}

void AppDialogs::showRecycleBin() {
    {
        RecycleBinWindow bin(platform_, store_, listOwner_);
        host_.runModal(bin);
    }
    store_.RequestSave(SaveUrgency::Now);
}

void AppDialogs::postToManager(std::function<void(NotesManagerWindow&)> call) {
    if (manager_ == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(
        manager_,
        [manager = QPointer<NotesManagerWindow>(manager_), call = std::move(call)] {
            if (manager != nullptr) {
                call(*manager);
            }
        },
        Qt::QueuedConnection);
}

void AppDialogs::retireManager() {
    if (manager_ != nullptr) {
        manager_->hide();
        manager_->deleteLater();
        retiredManager_ = manager_;
        manager_ = nullptr;
    }
}

void AppDialogs::destroyManager() {
    delete manager_;
    manager_ = nullptr;
    delete retiredManager_.data();
}

}  // namespace bp
