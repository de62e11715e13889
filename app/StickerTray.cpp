#include "StickerTray.h"

#include "DatabaseRecovery.h"
#include "NoteDefaults.h"
#include "NoteThread.h"
#include "note/ColorSchemes.h"
#include "note/Note.h"
#include "platform/DataFolder.h"
#include "platform/Messages.h"
#include "platform/qt/NumberedTimers.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QList>
#include <QMenu>
#include <QMetaObject>
#include <QSystemTrayIcon>
#include <QThread>

#include <random>

namespace bp {

namespace {

constexpr int kIconWarning = 205;
constexpr int kMaxLiveNotes = 1000;

}  // namespace

CStickerTray::CStickerTray(Platform platform, CNotesDatabase& store,
                           std::optional<std::string> dataDir, QObject* parent)
    : QObject(parent), platform_(platform), store_(store), dataDirOverride_(std::move(dataDir)) {
    timers_ = new NumberedTimers(this);
    connect(timers_, &NumberedTimers::fired, this, &CStickerTray::onTimer);
    // Seeded from the clock's milliseconds, so two quick new notes still differ.
    auto engine = std::make_shared<std::minstd_rand>(
        static_cast<std::minstd_rand::result_type>(platform_.clock->tickCount()));
    random_ = [engine] { return static_cast<unsigned>((*engine)()); };
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state != Qt::ApplicationActive) {
                        RestoreZOrder();
                    }
                });
    }
}

CStickerTray::~CStickerTray() {
    // Notes go first: they may still tell the main window about themselves while closing.
    for (auto& thread : registry_) {
        thread->note().setClosing();
    }
    registry_.clear();
}

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

    timers_->start(timer::TRAY_TIP, 60000);
    timers_->start(timer::AUTO_SAVE, store_.GetSettingInt("autoSave") * 60000);

    createTrayIcon();

    const IdList notes = store_.ListNotes(kLiveSource);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        StartFlags flags;
        flags.applyPriorityOnStart = true;
        flags.startupBatch = true;
        flags.lastOfStartupBatch = i + 1 == notes.size();
        StartNoteThread(notes[i], flags);
    }

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
    timers_->stopAll();
    for (auto& thread : registry_) {
        thread->note().onCommand(cmd::NOTE_STORE_BODY);
        thread->note().setClosing();
    }
    registry_.clear();
    if (backupMode == 1) {
        store_.BackupDatabase();
    }
    store_.SaveDatabase("");
    // Every note lived on this thread and has stored its body, so there is nothing left to
    // wait for before the event loop ends.
    emit exited();
}

CThread& CStickerTray::StartNoteThread(std::int32_t nid, StartFlags flags) {
    auto thread = std::make_unique<CThread>(platform_, store_, *this, nid);
    thread->applyPriorityOnStart = flags.applyPriorityOnStart;
    thread->startupBatch = flags.startupBatch;
    thread->lastOfStartupBatch = flags.lastOfStartupBatch;
    CThread& started = *thread;
    registry_.push_back(std::move(thread));
    started.InitInstance();
    return started;
}

int CStickerTray::CreateNewNote() {
    busy_ = true;
    if (store_.CountNotesByPriority(3) >= kMaxLiveNotes) {
        platform_.messages->showMessage(
            "Attention", "", "You have reached the maximum number of notes", kIconWarning);
        busy_ = false;
        return 0;
    }
    const std::int64_t now = platform_.clock->now();
    const std::int32_t nid = store_.NewNote();
    if (store_.GetSettingInt("RandomColors") != 0) {
        const NoteColors colors = chooseRandomColors(random_);
        store_.SetNoteUInt(nid, colors.titleBack, "titleBackColor");
        store_.SetNoteUInt(nid, colors.titleFont, "titleFontColor");
        store_.SetNoteUInt(nid, colors.bodyBack, "bodyBackColor");
        store_.SetNoteUInt(nid, colors.bodyFont, "bodyFontColor");
    }
    store_.SetNoteUInt(nid, static_cast<std::uint32_t>(now), "time");
    store_.SetNoteString(
        nid,
        composeDefaultTitle(*platform_.clock, store_.GetSettingString("TitleDefaults"),
                            store_.GetSettingString("TitleText"),
                            store_.GetSettingInt("TitleOrder")),
        "title");
    CThread& thread = StartNoteThread(nid, {});
    thread.note().ApplyDefaultBodyFormat();
    thread.note().onCommand(cmd::NOTE_ACTIVATE);
    updateTrayTip();
    store_.SaveDatabase("");
    busy_ = false;
    postToManager(cmd::MANAGER_RELOAD);
    return 1;
}

void CStickerTray::DuplicateNote(std::int32_t source) {
    const std::int32_t nid = store_.NewNote();
    store_.SetNoteFont(nid, store_.GetNoteFont(kLiveSource, source, "titleFontType"),
                       "titleFontType");
    store_.SetNoteFont(nid, store_.GetNoteFont(kLiveSource, source, "bodyFontType"),
                       "bodyFontType");
    for (const char* name :
         {"title", "remindWav", "remindUrl", "remindExe", "imagePath", "schedule"}) {
        store_.SetNoteString(nid, store_.GetNoteString(kLiveSource, source, name), name);
    }
    std::string body;
    if (store_.GetNoteBody(kLiveSource, source, body)) {
        // The stored body ends with the line break the store put before its end marker.
        if (body.size() >= 2 && body.ends_with("\r\n")) {
            body.resize(body.size() - 2);
        }
        store_.SetNoteBody(nid, body);
    }
    for (const char* name : {"xPos",
                             "yPos",
                             "Width",
                             "Height",
                             "border",
                             "TransLevel",
                             "priority",
                             "isBody",
                             "isEdit",
                             "Transparency",
                             "links",
                             "isReminder",
                             "repeatEach",
                             "remindRepeat",
                             "remindSnoozeTime",
                             "remindRepeatTimes",
                             "remindRepeatInterval",
                             "remindRepeatInterval2",
                             "remindAction",
                             "remindFlashTimes",
                             "remindFlashInterval",
                             "imagePos"}) {
        store_.SetNoteInt(nid, store_.GetNoteInt(kLiveSource, source, name), name);
    }
    for (const char* name : {"titleFontColor", "titleBackColor", "bodyFontColor", "bodyBackColor",
                             "time", "remindTime", "remindTime1", "remindTime2", "expireTime"}) {
        store_.SetNoteUInt(nid, store_.GetNoteUInt(kLiveSource, source, name), name);
    }
    if (const auto files = store_.GetNoteAttachedFiles(kLiveSource, source, 5)) {
        for (const std::int32_t fid : *files) {
            std::string name;
            store_.GetNoteAttachedFilename(kLiveSource, source, fid, name);
            store_.AttachFileToNote(nid, store_.GetNoteAttachedFiletype(kLiveSource, source, fid),
                                    name);
        }
    }
    CThread& thread = StartNoteThread(nid, {});
    thread.note().ApplyDefaultBodyFormat();
    thread.note().onCommand(cmd::NOTE_ACTIVATE);
    updateTrayTip();
    postToManager(cmd::MANAGER_RELOAD);
}

void CStickerTray::RestoreNoteFromBin(std::int32_t nid) {
    store_.SetNoteDeleted(nid, 0);
    store_.SetNoteInt(nid, 0, "expireTime");
    StartFlags flags;
    flags.applyPriorityOnStart = true;
    StartNoteThread(nid, flags);
    updateTrayTip();
    postToManager(cmd::MANAGER_RELOAD);
}

void CStickerTray::deleteNote(std::size_t index) {
    CNote& note = registry_[index]->note();
    note.onCommand(cmd::NOTE_STOP_SOUND);
    const std::int32_t nid = note.nid();
    if (store_.GetSettingInt("deleteMode") != 0) {
        store_.SetNoteDeleted(nid, 1);
    } else {
        store_.DeleteNote(nid);
    }
    std::unique_ptr<CThread> thread = std::move(registry_[index]);
    registry_.erase(registry_.begin() + static_cast<std::ptrdiff_t>(index));
    thread->note().setClosing();
    thread->note().hide();
    // The note may be the sender of this very message: end it once its handler has returned.
    QMetaObject::invokeMethod(
        this, [t = thread.release()] { delete t; }, Qt::QueuedConnection);
    updateTrayTip();
    postToManager(cmd::MANAGER_RELOAD);
}

void CStickerTray::RestoreZOrder() {
    if (!notesRaised_ || exiting_) {
        return;
    }
    QThread::yieldCurrentThread();
    for (auto& thread : registry_) {
        if (thread->note().priority() != 2) {
            thread->note().ApplyPriorityZOrder();
        }
    }
    for (auto& thread : registry_) {
        thread->note().setRaisedByAll(false);
        thread->note().setKeepZOrder(false);
    }
    notesRaised_ = false;
}

std::optional<std::size_t> CStickerTray::indexOfNid(std::int32_t nid) const {
    for (std::size_t i = 0; i < registry_.size(); ++i) {
        if (registry_[i]->note().nid() == nid) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> CStickerTray::indexOfWindow(std::intptr_t window) const {
    for (std::size_t i = 0; i < registry_.size(); ++i) {
        if (reinterpret_cast<std::intptr_t>(&registry_[i]->note()) == window) {
            return i;
        }
    }
    return std::nullopt;
}

CNote* CStickerTray::findNote(std::int32_t nid) const {
    const auto index = indexOfNid(nid);
    return index ? &registry_[*index]->note() : nullptr;
}

CNote& CStickerTray::noteAt(std::size_t index) const {
    return registry_.at(index)->note();
}

void CStickerTray::reportNoteNotFound() {
    platform_.messages->showMessage("Error", "", "Not able to find the note", kIconWarning);
}

void CStickerTray::postToManager(int /*command*/) {
    // The Notes Manager takes these once it exists.
}

void CStickerTray::onMessage(int id, std::intptr_t wParam, std::intptr_t lParam) {
    if (exiting_) {
        return;
    }
    const auto nid = static_cast<std::int32_t>(wParam);
    switch (id) {
        case msg::WM_TRAY_NOTIFY:
            if (initialised_ && !busy_ && wParam == msg::TRAY_ICON_ID) {
                onTrayNotify(lParam);
            }
            break;
        case msg::WM_NOTE_DELETE_BY_WINDOW:
        case msg::WM_NOTE_DELETE: {
            const auto index = id == msg::WM_NOTE_DELETE ? indexOfNid(nid) : indexOfWindow(lParam);
            if (index) {
                deleteNote(*index);
            } else {
                reportNoteNotFound();
                updateTrayTip();
                postToManager(cmd::MANAGER_RELOAD);
            }
            break;
        }
        case msg::WM_NOTE_HIDE:
        case msg::WM_NOTE_SHOW:
        case msg::WM_NOTE_PRINT:
        case msg::WM_NOTE_TITLE_MENU: {
            CNote* note = findNote(nid);
            if (note == nullptr) {
                reportNoteNotFound();
                break;
            }
            if (id == msg::WM_NOTE_HIDE) {
                note->ShowNote(false);
                updateTrayTip();
            } else if (id == msg::WM_NOTE_SHOW) {
                note->ShowNote(true);
                note->onCommand(cmd::NOTE_BRING_TO_FRONT);
                QThread::yieldCurrentThread();
                updateTrayTip();
            }
            break;
        }
        case msg::WM_NOTE_CHANGED:
            postToManager(cmd::MANAGER_NOTE_CHANGED);
            break;
        case msg::WM_NOTE_RESTORE:
            RestoreNoteFromBin(nid);
            break;
        case msg::WM_NOTE_NEW:
            CreateNewNote();
            break;
        case msg::WM_NOTE_DUPLICATE:
            DuplicateNote(static_cast<std::int32_t>(lParam));
            break;
        case msg::WM_AUTOSAVE_CHANGED:
            timers_->stop(timer::AUTO_SAVE);
            timers_->start(timer::AUTO_SAVE, store_.GetSettingInt("autoSave") * 60000);
            break;
        case msg::WM_SHOW_TRAY_MENU:
            showTrayMenu();
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
        case cmd::KILL_AUTOLOCK_TIMERS:
            for (auto& thread : registry_) {
                thread->note().timers().stop(timer::NOTE_AUTO_LOCK);
            }
            break;
        case cmd::UPDATE_TRAY_TIP:
            updateTrayTip();
            break;
        case cmd::REFRESH_MANAGER:
            postToManager(cmd::MANAGER_RELOAD);
            break;
        default:
            break;
    }
}

void CStickerTray::sendMessage(int id, std::intptr_t wParam, std::intptr_t lParam) {
    onMessage(id, wParam, lParam);
}

void CStickerTray::postMessage(int id, std::intptr_t wParam, std::intptr_t lParam) {
    QMetaObject::invokeMethod(
        this, [this, id, wParam, lParam] { onMessage(id, wParam, lParam); }, Qt::QueuedConnection);
}

void CStickerTray::sendCommand(int id) {
    onCommand(id);
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
    return timers_->interval(timerId);
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
    for (auto& thread : registry_) {
        thread->note().onCommand(cmd::NOTE_STORE_BODY);
    }
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
    } else if (mouseMessage == msg::MOUSE_LBUTTONDBLCLK) {
        CreateNewNote();
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
