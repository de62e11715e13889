#include "StickerTray.h"

#include "AboutBox.h"
#include "AutoSaver.h"
#include "DatabaseRecovery.h"
#include "NoteDefaults.h"
#include "NotePlacement.h"
#include "NoteThread.h"
#include "ProductInfo.h"
#include "SaveFailure.h"
#include "TrayMenu.h"
#include "TrayText.h"
#include "note/ColorSchemes.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/NoteGeometry.h"
#include "note/Title.h"
#include "platform/DataFolder.h"
#include "platform/KeyTable.h"
#include "platform/Messages.h"
#include "qtsupport/NumberedTimers.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QList>
#include <QMenu>
#include <QMetaObject>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <QThread>

#include <filesystem>
#include <random>

namespace bp {

namespace {

constexpr int kIconWarning = res::ICON_WARNING;
constexpr int kMaxLiveNotes = 1000;
constexpr int kTrayClickDelayMs = 300;
constexpr const char* kDatFilter = "Dat Files (*.dat)";

// Sets the busy flag for a scope and gives back the value it had, so that operations nested
// in one another do not clear it early.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = previous_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
    bool previous_;
};

void closeModalBoxes() {
    while (QWidget* box = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(box)) {
            dialog->reject();
        } else {
            box->close();
        }
        if (QApplication::activeModalWidget() == box) {
            break;  // it would not close; its own loop ends with the program
        }
    }
}

bool samePath(const std::string& a, const std::string& b) {
    std::error_code error;
    const auto left = std::filesystem::weakly_canonical(a, error);
    if (error) {
        return false;
    }
    const auto right = std::filesystem::weakly_canonical(b, error);
    return !error && left == right;
}

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
    store_.SetChangeListener({});
    delete autoSaver_;
    autoSaver_ = nullptr;
    UnregisterHotKeys();
    if (platform_.hotKeys != nullptr) {
        platform_.hotKeys->setHandler({});
    }
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
    if (const FolderCheck folder = preparePrivateFolder(dataFolder); !folder.usable) {
        platform_.messages->showMessage("Error", "", folder.problem, kIconWarning);
        return 0;
    }

    const PlatformVersion version = platform_.info->version();
    if (version.major > 6 || (version.major == 6 && version.minor >= 2)) {
        return -1;
    }

    store_.SetDataFolder(dataFolder);
    if (!store_.OpenDatabase(kOpenReporting)) {
        // The session may end while the damage is being reported: the damaged file is then
        // left as it is, for the next start to recover.
        if (exiting_) {
            return kEndedDuringSetUp;
        }
        if (!RestoreDatabase()) {
            return exiting_ ? kEndedDuringSetUp : 0;
        }
    }
    databaseReady_ = true;
    if (exiting_) {
        return kEndedDuringSetUp;
    }

    timers_->start(timer::TRAY_TIP, 60000);
    timers_->start(timer::AUTO_SAVE, store_.GetSettingInt("autoSave") * 60000);
    startAutoSaver();

    createTrayIcon();
    if (platform_.hotKeys != nullptr) {
        platform_.hotKeys->setHandler([this](int id) { onHotKey(id); });
    }
    RegisterHotKeys();

    const IdList notes = store_.ListNotes(kLiveSource);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        StartFlags flags;
        flags.applyPriorityOnStart = true;
        flags.startupBatch = true;
        flags.lastOfStartupBatch = i + 1 == notes.size();
        StartNoteThread(notes[i], flags);
        // A session that ends while many or large notes load need not wait for the rest.
        if (sessionEnding_ && sessionEnding_()) {
            ExitApplication();
            return kEndedDuringSetUp;
        }
    }

    UpdateTrayTip();
    initialised_ = true;
    return 1;
}

bool CStickerTray::RestoreDatabase() {
    busy_ = true;
    CDatabaseRecovery recovery(store_, *platform_.clock);
    const CDatabaseRecovery::Outcome outcome = recovery.Run();
    if (!outcome.message.empty()) {
        platform_.messages->showMessage(outcome.usable ? "Warning" : "Error", "", outcome.message,
                                        kIconWarning);
    }
    busy_ = false;
    return outcome.usable;
}

void CStickerTray::startAutoSaver() {
    AutoSaver::Hooks hooks;
    hooks.storeEdits = [this] {
        for (auto& thread : registry_) {
            CNote& note = thread->note();
            note.onCommand(cmd::NOTE_STORE_BODY);
            if (note.title() != nullptr) {
                note.title()->storeOpenEdit();
            }
        }
    };
    hooks.reportFailure = [this](int cause) {
        platform_.messages->showMessage("Error", "", saveFailureMessage(store_.DataFolder(), cause),
                                        kIconWarning);
    };
    autoSaver_ = new AutoSaver(store_, std::move(hooks), this);
    store_.SetChangeListener([saver = autoSaver_] { saver->changed(); });
}

void CStickerTray::SaveUnsavedWork() {
    if (autoSaver_ == nullptr || exiting_) {
        return;
    }
    if (QThread::currentThread() == thread()) {
        autoSaver_->saveNow();
    } else {
        // The windows belong to the GUI thread: only what the store holds can be saved.
        store_.SaveChanges();
    }
}

void CStickerTray::ExitApplication() {
    if (exiting_) {
        return;
    }
    // The final save below writes everything; a save of edits still running finishes first.
    store_.SetChangeListener({});
    if (autoSaver_ != nullptr) {
        autoSaver_->finish();
    }
    exiting_ = true;
    if (!databaseReady_) {
        // Set-up has not got a usable database yet: whatever the store holds may be the
        // remains of a damaged file, which must not be saved over it. The event loop has not
        // started, so quitting it would not close the box that reports the damage.
        closeModalBoxes();
        emit exited();
        return;
    }
    const int backupMode = store_.GetSettingInt("backupMode");
    UnregisterHotKeys();
    if (trayIcon_) {
        trayIcon_->hide();
    }
    trayIcon_.reset();
    trayMenu_.reset();
    timers_->stopAll();
    for (auto& thread : registry_) {
        thread->note().onCommand(cmd::NOTE_STORE_BODY);
        thread->note().setClosing();
        thread->note().hide();
    }
    // A note may still be inside one of its dialogs or menus when the session ends; those
    // return once the event loops end, so the notes live until the program object goes.
    for (auto& thread : registry_) {
        ended_.push_back(std::move(thread));
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
    if (autoSaver_ != nullptr && started.note().body() != nullptr) {
        // Typing reaches the store only when the body is stored, which the save does.
        connect(started.note().body()->document(), &QTextDocument::contentsChanged, autoSaver_,
                &AutoSaver::changed);
    }
    if (autoSaver_ != nullptr && started.note().title() != nullptr) {
        connect(started.note().title(), &CTitle::editTyped, autoSaver_, &AutoSaver::changed);
    }
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
    startCreatedNote(nid);
    UpdateTrayTip();
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
    copyBodyAndAttachments(kLiveSource, source, nid);
    startCreatedNote(nid);
    UpdateTrayTip();
    postToManager(cmd::MANAGER_RELOAD);
}

void CStickerTray::RestoreNoteFromBin(std::int32_t nid) {
    store_.SetNoteDeleted(nid, 0);
    store_.SetNoteInt(nid, 0, "expireTime");
    StartFlags flags;
    flags.applyPriorityOnStart = true;
    StartNoteThread(nid, flags);
    UpdateTrayTip();
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
    // The note may be the sender of this very message, from inside its own menu or dialog:
    // it goes once the event loop it was asked from has returned.
    thread.release()->endLater();
    UpdateTrayTip();
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

void CStickerTray::endRaise() {
    // A dialog of the shell takes the activation from notes raised by Show All, Cascade or
    // Minimize All, which ends their raise. Qt does not report it once the dialog is gone:
    // a window destroyed while active leaves the application active without a focus window,
    // so the deactivation that follows never arrives.
    RestoreZOrder();
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
                UpdateTrayTip();
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
                UpdateTrayTip();
            } else if (id == msg::WM_NOTE_SHOW) {
                note->ShowNote(true);
                note->onCommand(cmd::NOTE_BRING_TO_FRONT);
                QThread::yieldCurrentThread();
                UpdateTrayTip();
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
            ShowTrayMenu();
            break;
        default:
            break;
    }
}

void CStickerTray::onCommand(int id) {
    if (exiting_) {
        return;
    }
    switch (id) {
        case cmd::EXIT:
            ExitApplication();
            break;
        case cmd::SHOW_MANAGER:
            ShowNotesManager();
            break;
        case cmd::APP_SETTINGS:
            ShowAppSettings();
            break;
        case cmd::NOTES_SETTINGS:
            ShowNotesSettings();
            break;
        case cmd::NEW_NOTE:
            CreateNewNote();
            break;
        case cmd::SHOW_ALL:
            ShowAllNotes();
            break;
        case cmd::HIDE_ALL:
            HideAllNotes();
            break;
        case cmd::ABOUT:
            ShowAbout();
            break;
        case cmd::ONLINE_HELP:
            ShowOnlineHelp();
            break;
        case cmd::FIND:
            ShowFind();
            break;
        case cmd::IMPORT_NOTES:
            ImportNotes();
            break;
        case cmd::EXPORT_NOTES:
            ExportNotes();
            break;
        case cmd::SAVE_ALL:
            SaveAllNotes();
            break;
        case cmd::CASCADE_ALL:
            CascadeAllNotes();
            break;
        case cmd::MINIMIZE_ALL:
            MinimizeAllNotes();
            break;
        case cmd::RECYCLE_BIN:
            ShowRecycleBin();
            break;
        case cmd::KILL_AUTOLOCK_TIMERS:
            for (auto& thread : registry_) {
                thread->note().timers().stop(timer::NOTE_AUTO_LOCK);
            }
            break;
        case cmd::UPDATE_TRAY_TIP:
            UpdateTrayTip();
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
    } else if (words.size() == 2 && words[0] == "action") {
        QMetaObject::invokeMethod(
            this, [this, name = words[1].toStdString()] { performAction(name); },
            Qt::QueuedConnection);
    }
}

bool CStickerTray::performAction(const std::string& name) {
    if (name == "quit") {
        ExitApplication();
        return true;
    }
    static const std::pair<const char*, int> kHotKeyActions[] = {
        {"new-note", hotkey::NEW_NOTE},
        {"show-all", hotkey::SHOW_ALL},
        {"hide-all", hotkey::HIDE_ALL},
        {"toggle-manager", hotkey::TOGGLE_MANAGER},
    };
    for (const auto& [actionName, id] : kHotKeyActions) {
        if (name == actionName) {
            onHotKey(id);
            return true;
        }
    }
    if (name == "save") {
        if (initialised_ && !busy_ && !exiting_) {
            SaveAllNotes();
        }
        return true;
    }
    return false;
}

int CStickerTray::timerInterval(int timerId) const {
    return timers_->interval(timerId);
}

void CStickerTray::onTimer(int timerId) {
    if (exiting_) {
        return;
    }
    if (timerId == timer::TRAY_TIP) {
        UpdateTrayTip();
    } else if (timerId == timer::AUTO_SAVE) {
        SaveAllNotes();
    } else if (timerId == timer::TRAY_CLICK) {
        timers_->stop(timer::TRAY_CLICK);
        if (!trayDoubleClicked_ && !busy_) {
            ShowTrayMenu();
        }
        trayDoubleClicked_ = false;
    }
}

void CStickerTray::createTrayIcon() {
    trayMenu_ = std::make_unique<TrayMenu>();
    // Posted, so that a dialog the command opens starts after the menu has closed.
    connect(trayMenu_.get(), &TrayMenu::commandChosen, this,
            [this](int command) { postCommand(command); });

    // On X11 Qt docks the icon by itself once a tray host appears, even when there was none
    // at start-up.
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
    switch (mouseMessage) {
        case msg::MOUSE_LBUTTONDOWN:
            // The desktop reports the first press of a double click as a click too: wait
            // whether a second one follows.
            timers_->start(timer::TRAY_CLICK, kTrayClickDelayMs);
            break;
        case msg::MOUSE_LBUTTONDBLCLK:
            trayDoubleClicked_ = true;
            CreateNewNote();
            break;
        case msg::MOUSE_RBUTTONDOWN:
            ShowTrayMenu();
            break;
        default:
            break;
    }
}

void CStickerTray::ShowTrayMenu() {
    if (!trayMenu_ || exiting_) {
        return;
    }
    trayMenu_->prepare(store_.GetSettingInt("deleteMode") != 0,
                       HotKeyText(store_.GetSettingUInt("hkNewNote")),
                       HotKeyText(store_.GetSettingUInt("hkShowAll")),
                       HotKeyText(store_.GetSettingUInt("hkHideAll")));
    const Point cursor = platform_.desktop->cursorPos();
    // The menu's bottom-right corner at the pointer; Qt moves it onto the screen when the
    // tray sits at the top.
    const QSize size = trayMenu_->sizeHint();
    trayMenu_->popup(QPoint(cursor.x - size.width(), cursor.y - size.height()));
    trayMenu_->activateWindow();
    ++trayMenuOpenings_;
}

void CStickerTray::UpdateTrayTip() {
    if (exiting_) {
        return;
    }
    int invisible = 0;
    for (const auto& thread : registry_) {
        if (thread->started && !thread->note().isVisible()) {
            ++invisible;
        }
    }
    const int created = static_cast<int>(registry_.size());
    trayTip_ = trayTipText(created, created - invisible, invisible);
    const bool swap = invisible > 0;
    const bool changed = swap != trayIconSwapped_;
    trayIconSwapped_ = swap;
    if (!trayIcon_) {
        return;
    }
    trayIcon_->setToolTip(
        QString::fromStdString(trayTip_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (changed) {
        trayIcon_->setIcon(QIcon(swap ? QStringLiteral(":/icons/tray-hidden.svg")
                                      : QStringLiteral(":/icons/tray.svg")));
    }
}

// ---- Commands on all notes -----------------------------------------------------------------

void CStickerTray::SaveAllNotes() {
    for (auto& thread : registry_) {
        CNote& note = thread->note();
        if (store_.GetNoteInt(kLiveSource, note.nid(), "isDeleted") == 0) {
            note.onCommand(cmd::NOTE_STORE_BODY);
        }
    }
    store_.SaveDatabase("");
}

void CStickerTray::ShowAllNotes() {
    for (auto& thread : registry_) {
        CNote& note = thread->note();
        note.setRaisedByAll(true);
        if (!note.isVisible()) {
            note.ShowNote(true);
        }
        note.onCommand(cmd::NOTE_BRING_TO_FRONT);
        QThread::yieldCurrentThread();
    }
    notesRaised_ = true;
    UpdateTrayTip();
}

void CStickerTray::HideAllNotes() {
    for (auto& thread : registry_) {
        thread->note().ShowNote(false);
    }
    UpdateTrayTip();
}

void CStickerTray::CascadeAllNotes() {
    const Rect desktop = platform_.desktop->screenRect();
    const auto layout = cascadeLayout(desktop.width, desktop.height, registry_.size());
    if (!layout) {
        platform_.messages->showMessage(
            "Warning", "", "Can't cascade notes.\nScreen resolution is to small.", kIconWarning);
        return;
    }
    arrangeNotes(layout->positions, layout->width, layout->height, cmd::NOTE_MOVE_TO_STORED);
}

void CStickerTray::MinimizeAllNotes() {
    const Rect desktop = platform_.desktop->screenRect();
    const auto layout = collapsedLayout(desktop.width, desktop.height, registry_.size());
    if (!layout) {
        platform_.messages->showMessage(
            "Warning", "", "Can't process.\nScreen resolution is to small.", kIconWarning);
        return;
    }
    arrangeNotes(layout->positions, layout->width, std::nullopt, cmd::NOTE_COLLAPSE_AT_STORED);
}

void CStickerTray::arrangeNotes(const std::vector<Point>& positions, int width,
                                std::optional<int> height, int placeCommand) {
    for (std::size_t i = 0; i < registry_.size(); ++i) {
        CNote& note = registry_[i]->note();
        store_.SetNoteInt(note.nid(), positions[i].x, "xPos");
        store_.SetNoteInt(note.nid(), positions[i].y, "yPos");
        store_.SetNoteInt(note.nid(), width, "Width");
        if (height) {
            store_.SetNoteInt(note.nid(), *height, "Height");
        }
        note.setRaisedByAll(true);
        if (!note.isVisible()) {
            note.ShowNote(true);
        }
        note.onCommand(placeCommand);
        QThread::yieldCurrentThread();
    }
    notesRaised_ = true;
    UpdateTrayTip();
}

void CStickerTray::hideNotesQuietly() {
    for (auto& thread : registry_) {
        if (thread->note().isVisible()) {
            thread->note().ShowQuietly(false);
        }
    }
}

void CStickerTray::showOpenNotesQuietly() {
    for (auto& thread : registry_) {
        CNote& note = thread->note();
        if (store_.GetNoteInt(kLiveSource, note.nid(), "isClosed") == 0 && !note.isVisible()) {
            note.ShowQuietly(true);
        }
    }
}

void CStickerTray::ExportNotes() {
    {
        BusyScope busy(busy_);
        endRaise();
        hideNotesQuietly();
        const std::string chosen =
            platform_.fileDialogs != nullptr
                ? platform_.fileDialogs->saveFile("Export Notes", kDatFilter, "dat")
                : std::string();
        if (!chosen.empty() && !exiting_) {
            const std::string path = withDatExtension(chosen);
            // Written in place, an export onto the open database would lose it if the write
            // failed half-way; the save goes through a temporary file instead.
            if (samePath(path, store_.DatabasePath())) {
                store_.SaveDatabase("");
            } else {
                store_.ExportDatabase(path);
            }
        }
    }
    showOpenNotesQuietly();
    UpdateTrayTip();
}

void CStickerTray::ImportNotes() {
    {
        BusyScope busy(busy_);
        endRaise();
        hideNotesQuietly();
        const std::string chosen =
            platform_.fileDialogs != nullptr
                ? platform_.fileDialogs->openFile("Import Notes", kDatFilter, "dat")
                : std::string();
        if (!chosen.empty() && !exiting_) {
            // The store has told the user why a file could not be read.
            if (const auto notes = store_.LoadImportFile(withDatExtension(chosen))) {
                for (const std::int32_t nid : *notes) {
                    importNote(nid);
                    // What came in so far is saved; the session's end need not wait for more.
                    if (sessionEnding_ && sessionEnding_()) {
                        break;
                    }
                }
                UpdateTrayTip();
                store_.SaveDatabase("");
                postToManager(cmd::MANAGER_RELOAD);
            }
        }
    }
    showOpenNotesQuietly();
    UpdateTrayTip();
}

void CStickerTray::importNote(std::int32_t source) {
    static constexpr const char* kInts[] = {"TransLevel",
                                            "priority",
                                            "isBody",
                                            "isEdit",
                                            "Transparency",
                                            "links",
                                            "isReminder",
                                            "remindRepeat",
                                            "remindSnoozeTime",
                                            "remindRepeatTimes",
                                            "remindRepeatInterval",
                                            "remindRepeatInterval2",
                                            "remindAction",
                                            "remindFlashTimes",
                                            "remindFlashInterval",
                                            "imagePos",
                                            "repeatEach"};
    static constexpr const char* kUInts[] = {"titleFontColor", "titleBackColor", "bodyFontColor",
                                             "bodyBackColor",  "time",           "remindTime",
                                             "remindTime1",    "remindTime2",    "expireTime"};
    static constexpr const char* kStrings[] = {"title",     "remindWav", "remindUrl",
                                               "remindExe", "imagePath", "schedule"};

    const std::int32_t nid = store_.NewNote();
    const Rect desktop = platform_.desktop->screenRect();
    const Rect fitted = clampToDesktop({store_.GetNoteInt(kImportSource, source, "xPos"),
                                        store_.GetNoteInt(kImportSource, source, "yPos"),
                                        store_.GetNoteInt(kImportSource, source, "Width"),
                                        store_.GetNoteInt(kImportSource, source, "Height")},
                                       desktop.width, desktop.height);
    store_.SetNoteInt(nid, fitted.x, "xPos");
    store_.SetNoteInt(nid, fitted.y, "yPos");
    store_.SetNoteInt(nid, fitted.width, "Width");
    store_.SetNoteInt(nid, fitted.height, "Height");
    const int border = store_.GetNoteInt(kImportSource, source, "border");
    store_.SetNoteInt(nid, border > 0 ? border : store_.GetSettingInt("border"), "border");
    for (const char* name : kInts) {
        store_.SetNoteInt(nid, store_.GetNoteInt(kImportSource, source, name), name);
    }
    for (const char* name : kUInts) {
        store_.SetNoteUInt(nid, store_.GetNoteUInt(kImportSource, source, name), name);
    }
    for (const char* name : {"titleFontType", "bodyFontType"}) {
        store_.SetNoteFont(nid, store_.GetNoteFont(kImportSource, source, name), name);
    }
    for (const char* name : kStrings) {
        store_.SetNoteString(nid, store_.GetNoteString(kImportSource, source, name), name);
    }
    copyBodyAndAttachments(kImportSource, source, nid);
    startCreatedNote(nid);
}

void CStickerTray::copyBodyAndAttachments(int source, std::int32_t from, std::int32_t to) {
    std::string body;
    if (store_.GetNoteBody(source, from, body)) {
        // The stored body ends with the line break the store put before its end marker;
        // kept, a copied body would grow by one line at every copy.
        if (body.ends_with("\r\n")) {
            body.resize(body.size() - 2);
        }
        store_.SetNoteBody(to, body);
    }
    if (const auto files = store_.GetNoteAttachedFiles(source, from, 5)) {
        for (const std::int32_t fid : *files) {
            std::string name;
            store_.GetNoteAttachedFilename(source, from, fid, name);
            store_.AttachFileToNote(to, store_.GetNoteAttachedFiletype(source, from, fid), name);
        }
    }
}

void CStickerTray::startCreatedNote(std::int32_t nid) {
    CThread& thread = StartNoteThread(nid, {});
    thread.note().ApplyDefaultBodyFormat();
    thread.note().onCommand(cmd::NOTE_ACTIVATE);
}

// ---- Dialogs -------------------------------------------------------------------------------

int CStickerTray::runModal(QDialog& dialog) {
    BusyScope busy(busy_);
    endRaise();
    return platform_.modalDialogs != nullptr ? platform_.modalDialogs->run(dialog) : dialog.exec();
}

void CStickerTray::ShowAbout() {
    CAboutBox about(platform_.shell);
    runModal(about);
}

void CStickerTray::ShowOnlineHelp() {
    if (platform_.shell != nullptr) {
        platform_.shell->open(kProductHelpPage);
    }
}

void CStickerTray::ShowNotesManager() {
    // The Notes Manager is not there yet.
}

void CStickerTray::ToggleNotesManager() {
    // The Notes Manager is not there yet.
}

void CStickerTray::ShowAppSettings() {
    // The settings dialog is not there yet.
}

void CStickerTray::ShowNotesSettings() {
    // The settings dialog is not there yet.
}

void CStickerTray::ShowFind() {
    // The Find dialog is not there yet.
}

void CStickerTray::ShowRecycleBin() {
    // The Recycle Bin dialog is not there yet.
}

// ---- Hot keys ------------------------------------------------------------------------------

void CStickerTray::RegisterHotKeyValue(std::uint32_t value, int id) {
    const HotKeyValue key = decodeHotKey(value);
    if (key.virtualKey == 0 || platform_.hotKeys == nullptr ||
        keysymForVirtualKey(key.virtualKey) == 0) {
        return;
    }
    unsigned modifiers = 0;
    if (key.alt) {
        modifiers |= IHotKeys::Alt;
    }
    if (key.ctrl) {
        modifiers |= IHotKeys::Ctrl;
    }
    if (key.shift) {
        modifiers |= IHotKeys::Shift;
    }
    // A combination another program holds just does not work; the setting keeps its value.
    platform_.hotKeys->registerKey(id, modifiers, key.virtualKey);
}

void CStickerTray::RegisterHotKeys() {
    RegisterHotKeyValue(store_.GetSettingUInt("hkNewNote"), hotkey::NEW_NOTE);
    RegisterHotKeyValue(store_.GetSettingUInt("hkShowAll"), hotkey::SHOW_ALL);
    RegisterHotKeyValue(store_.GetSettingUInt("hkHideAll"), hotkey::HIDE_ALL);
    RegisterHotKeyValue(store_.GetSettingUInt("hkShowManager"), hotkey::TOGGLE_MANAGER);
}

void CStickerTray::UnregisterHotKeys() {
    if (platform_.hotKeys == nullptr) {
        return;
    }
    for (const int id :
         {hotkey::NEW_NOTE, hotkey::SHOW_ALL, hotkey::HIDE_ALL, hotkey::TOGGLE_MANAGER}) {
        platform_.hotKeys->unregisterKey(id);
    }
}

void CStickerTray::onHotKey(int id) {
    if (!initialised_ || busy_ || exiting_) {
        return;
    }
    switch (id) {
        case hotkey::NEW_NOTE:
            CreateNewNote();
            break;
        case hotkey::SHOW_ALL:
            ShowAllNotes();
            break;
        case hotkey::HIDE_ALL:
            HideAllNotes();
            break;
        case hotkey::TOGGLE_MANAGER:
            ToggleNotesManager();
            break;
        default:
            break;
    }
}

}  // namespace bp
