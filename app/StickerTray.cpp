#include "StickerTray.h"

#include "DatabaseRecovery.h"
#include "platform/DataFolder.h"
#include "platform/Messages.h"

#include <QAction>
#include <QCursor>
#include <QIcon>
#include <QList>
#include <QMenu>
#include <QMetaObject>
#include <QSystemTrayIcon>
#include <QTimer>

namespace bp {

namespace {

constexpr int kIconWarning = 205;

}  // namespace

CStickerTray::CStickerTray(Platform platform, CNotesDatabase& store,
                           std::optional<std::string> dataDir, QObject* parent)
    : QObject(parent), platform_(platform), store_(store), dataDirOverride_(std::move(dataDir)) {}

CStickerTray::~CStickerTray() = default;

int CStickerTray::Initialize() {
    if (!store_.InitDatabase()) {
        return 0;
    }
    const std::string dataFolder = resolveDataFolder(dataDirOverride_);
    ensureDataFolder(dataFolder);

    const PlatformVersion version = platform_.info->version();
    if (version.major > 6 || (version.major == 6 && version.minor >= 2)) {
        return -1;
    }

    store_.SetDataFolder(dataFolder);
    if (!store_.OpenDatabase(0) && !RestoreDatabase()) {
        return 0;
    }

    startTimer(timer::TRAY_TIP, 60000);
    startTimer(timer::AUTO_SAVE, store_.GetSettingInt("autoSave") * 60000);

    createTrayIcon();

    // The notes that are not in the Recycle Bin; their windows join the registry here.
    const IdList notes = store_.ListNotes(kLiveSource);
    (void)notes;

    updateTrayTip();
    initialised_ = true;
    return 1;
}

bool CStickerTray::RestoreDatabase() {
    busy_ = true;
    CDatabaseRecovery recovery(store_, *platform_.clock);
    const CDatabaseRecovery::Outcome outcome = recovery.Run();
    if (outcome.usable) {
        platform_.messages->showMessage("Warning", "", outcome.message, kIconWarning);
    }
    busy_ = false;
    return outcome.usable;
}

void CStickerTray::ExitApplication() {
    if (exiting_) {
        return;
    }
    const int backupMode = store_.GetSettingInt("backupMode");
    exiting_ = true;
    if (trayIcon_) {
        trayIcon_->hide();
    }
    trayIcon_.reset();
    trayMenu_.reset();
    for (auto& [id, timer] : timers_) {
        timer->stop();
    }
    if (backupMode == 1) {
        store_.BackupDatabase();
    }
    store_.SaveDatabase("");
    // The note windows live on this thread and have already stored their bodies, so there
    // is nothing left to wait for before the event loop ends.
    emit exited();
}

void CStickerTray::onMessage(int id, std::intptr_t wParam, std::intptr_t lParam) {
    if (exiting_) {
        return;
    }
    switch (id) {
        case msg::WM_TRAY_NOTIFY:
            if (initialised_ && !busy_ && wParam == msg::TRAY_ICON_ID) {
                onTrayNotify(lParam);
            }
            break;
        case msg::WM_AUTOSAVE_CHANGED:
            killTimer(timer::AUTO_SAVE);
            startTimer(timer::AUTO_SAVE, store_.GetSettingInt("autoSave") * 60000);
            break;
        default:
            break;
    }
}

void CStickerTray::onCommand(int id) {
    switch (id) {
        case cmd::EXIT:
            ExitApplication();
            break;
        case cmd::UPDATE_TRAY_TIP:
            updateTrayTip();
            break;
        default:
            break;
    }
}

void CStickerTray::postMessage(int id, std::intptr_t wParam, std::intptr_t lParam) {
    QMetaObject::invokeMethod(
        this, [this, id, wParam, lParam] { onMessage(id, wParam, lParam); }, Qt::QueuedConnection);
}

void CStickerTray::postCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { onCommand(id); }, Qt::QueuedConnection);
}

void CStickerTray::handleRequest(const QByteArray& request) {
    const QList<QByteArray> words = request.split(' ');
    if (words.size() == 4 && words[0] == "message") {
        postMessage(words[1].toInt(), words[2].toLongLong(), words[3].toLongLong());
    }
}

int CStickerTray::timerInterval(int timerId) const {
    auto it = timers_.find(timerId);
    return it != timers_.end() && it->second->isActive() ? it->second->interval() : 0;
}

void CStickerTray::startTimer(int timerId, int milliseconds) {
    QTimer*& timer = timers_[timerId];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, timerId] { onTimer(timerId); });
    }
    // A period of 0 would fire without pause; such a timer stays off.
    if (milliseconds > 0) {
        timer->start(milliseconds);
    } else {
        timer->stop();
    }
}

void CStickerTray::killTimer(int timerId) {
    if (auto it = timers_.find(timerId); it != timers_.end()) {
        it->second->stop();
    }
}

void CStickerTray::onTimer(int timerId) {
    if (exiting_) {
        return;
    }
    if (timerId == timer::TRAY_TIP) {
        updateTrayTip();
    } else if (timerId == timer::AUTO_SAVE) {
        saveAllNotes();
    }
}

void CStickerTray::saveAllNotes() {
    store_.SaveDatabase("");
}

void CStickerTray::createTrayIcon() {
    trayMenu_ = std::make_unique<QMenu>();
    QAction* exit = trayMenu_->addAction(QStringLiteral("Exit"));
    connect(exit, &QAction::triggered, this, [this] { postCommand(cmd::EXIT); });

    trayIcon_ = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/icons/tray.svg")));
    connect(trayIcon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                    case QSystemTrayIcon::Context:
                        onMessage(msg::WM_TRAY_NOTIFY, msg::TRAY_ICON_ID, msg::MOUSE_RBUTTONDOWN);
                        break;
                    case QSystemTrayIcon::Trigger:
                        onMessage(msg::WM_TRAY_NOTIFY, msg::TRAY_ICON_ID, msg::MOUSE_LBUTTONDOWN);
                        break;
                    case QSystemTrayIcon::DoubleClick:
                        onMessage(msg::WM_TRAY_NOTIFY, msg::TRAY_ICON_ID, msg::MOUSE_LBUTTONDBLCLK);
                        break;
                    default:
                        break;
                }
            });
    trayIcon_->show();
}

void CStickerTray::onTrayNotify(std::intptr_t mouseMessage) {
    if (mouseMessage == msg::MOUSE_RBUTTONDOWN || mouseMessage == msg::MOUSE_LBUTTONDOWN) {
        showTrayMenu();
    }
}

void CStickerTray::showTrayMenu() {
    if (trayMenu_) {
        trayMenu_->popup(QCursor::pos());
        trayMenu_->activateWindow();
    }
}

void CStickerTray::updateTrayTip() {
    if (exiting_ || !trayIcon_) {
        return;
    }
    trayIcon_->setToolTip(QStringLiteral("Brightpost"));
}

}  // namespace bp
