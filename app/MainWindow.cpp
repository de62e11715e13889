#include "MainWindow.h"

#include "AutoSaver.h"
#include "Autostart.h"
#include "BusyScope.h"
#include "DatabaseRecovery.h"
#include "NewNoteRecord.h"
#include "NoteHost.h"
#include "NotePlacement.h"
#include "SaveFailure.h"
#include "TrayMenu.h"
#include "TrayText.h"
#include "alarm/MissedAlarm.h"
#include "manage/NotesManagerWindow.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/ReadAloud.h"
#include "note/Title.h"
#include "output/NoteOutput.h"
#include "platform/DataFolder.h"
#include "platform/Messages.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QList>
#include <QMetaObject>
#include <QTextDocument>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <random>
#include <utility>

namespace bp {

namespace {

constexpr std::size_t kNotesBetweenEvents = 16;

constexpr int kIconWarning = res::ICON_WARNING;
constexpr int kMaxLiveNotes = 1000;
constexpr int kTrayClickDelayMs = 300;

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

}  // namespace

MainWindow::MainWindow(Platform platform, CNotesDatabase& store, std::optional<std::string> dataDir,
                       QObject* parent)
    : QObject(parent),
      platform_(platform),
      store_(store),
      dataDirOverride_(std::move(dataDir)),
      notes_(platform, store, *this),
      transfer_(platform, store) {
    // What the store could not read or do is shown as it happens, in its own words. The sink
    // holds only the boxes, which outlive the store, so a main window made again (recovery,
    // tests) simply installs its own and none is taken away on destruction.
    store_.SetProblemSink([messages = platform_.messages](const StoreProblem& problem) {
        messages->standardError(problem.caption, problem.text);
    });
    connect(&trayTipTimer_, &PacedTimer::fired, this, [this] { onTimer(&trayTipTimer_); });
    connect(&autoSaveTimer_, &PacedTimer::fired, this, [this] { onTimer(&autoSaveTimer_); });
    connect(&trayClickTimer_, &PacedTimer::fired, this, [this] { onTimer(&trayClickTimer_); });
    // Seeded from the clock's milliseconds, so two quick new notes still differ.
    auto engine = std::make_shared<std::minstd_rand>(
        static_cast<std::minstd_rand::result_type>(platform_.clock->tickCount()));
    random_ = [engine] { return static_cast<unsigned>((*engine)()); };
    connect(&trayIcon_, &TrayIcon::clicked, this, &MainWindow::trayIconClicked);
    connect(&trayIcon_, &TrayIcon::doubleClicked, this, &MainWindow::trayIconDoubleClicked);
    connect(&trayIcon_, &TrayIcon::contextMenuRequested, this, &MainWindow::trayIconContextMenu);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state != Qt::ApplicationActive) {
                        restoreZOrder();
                    }
                });
    }
}

MainWindow::~MainWindow() {
    store_.SetChangeListener({});
    store_.SetSaveHandler({});
    delete autoSaver_;
    autoSaver_ = nullptr;
    unregisterHotKeys();
    if (platform_.hotKeys != nullptr) {
        platform_.hotKeys->setHandler({});
    }
    // Notes go first: they may still tell the main window about themselves while closing.
    notes_.closeAll();
    dialogs_.destroyManager();
}

int MainWindow::initialize() {
    if (!store_.InitDatabase()) {
        return 0;
    }
    const std::string dataFolder = resolveDataFolder(dataDirOverride_);
    if (const FolderCheck folder = preparePrivateFolder(dataFolder); !folder.usable) {
        platform_.messages->showMessage("Error", "", folder.problem, kIconWarning);
        return 0;
    }

    store_.SetDataFolder(dataFolder);
    if (!store_.OpenDatabase(kOpenReporting)) {
        // The session may end while the damage is being reported: the damaged file is then
        // left as it is, for the next start to recover.
        if (exiting_) {
            return kEndedDuringSetUp;
        }
        if (!restoreDatabase()) {
            return exiting_ ? kEndedDuringSetUp : 0;
        }
    }
    databaseReady_ = true;
    if (exiting_) {
        return kEndedDuringSetUp;
    }

    trayTipTimer_.start(60000);
    autoSaveTimer_.start(setting::get(store_, setting::autoSave) * 60000);
    startAutoSaver();
    if (const int cause = saveCauseOfFolder(store_.DataFolder()); cause != 0) {
        // Said once, after the notes are up; they stay usable, and the saves try again.
        autoSaver_->failureAlreadyReported();
        QMetaObject::invokeMethod(
            this,
            [this, cause] {
                platform_.messages->showMessage(
                    "Warning", "", saveFailureMessage(store_.DataFolder(), cause), kIconWarning);
            },
            Qt::QueuedConnection);
    }

    trayIcon_.create();
    connectTrayMenu(*trayIcon_.menu());
    if (platform_.hotKeys != nullptr) {
        platform_.hotKeys->setHandler([this](int id) { onHotKey(id); });
    }
    registerHotKeys();

    // The manager lists the records, so it can be there before their windows are. Shown
    // first, it leaves the last activation of set-up to the notes, as without it.
    dialogs_.createNotesManager();
    if (setting::get(store_, setting::openManager) != 0) {
        dialogs_.showNotesManager();
    }

    const IdList notes = store_.ListNotes(kLiveSource);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        StartFlags flags;
        flags.applyPriorityOnStart = true;
        flags.startupBatch = true;
        flags.lastOfStartupBatch = i + 1 == notes.size();
        startNoteThread(notes[i], flags);
        // What the notes posted and what the X server answered are taken in between: left
        // to queue up until the last note, each further event of a widget or an expose of a
        // window is checked against all that waits, which grows with the square of the notes.
        if ((i + 1) % kNotesBetweenEvents == 0) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                            QEventLoop::ExcludeSocketNotifiers);
        }
        // A session that ends while many or large notes load need not wait for the rest.
        if (sessionEnding_ && sessionEnding_()) {
            exitApplication();
            return kEndedDuringSetUp;
        }
    }

    updateTrayTip();
    syncAutostart();
    initialised_ = true;
    for (const std::string& action : actions_.takeHeld()) {
        QMetaObject::invokeMethod(
            this, [this, action] { performAction(action); }, Qt::QueuedConnection);
    }
    return 1;
}

void MainWindow::syncAutostart() {
    const Autostart autostart(QCoreApplication::applicationFilePath().toStdString(),
                              qEnvironmentVariable("XDG_CONFIG_HOME").toStdString(),
                              QDir::homePath().toStdString());
    if (!autostart.installed()) {
        return;
    }
    // Not worth a box at every start: the notes work either way.
    if (const std::string problem = autostart.apply(setting::get(store_, setting::autorun) != 0);
        !problem.empty()) {
        std::fprintf(stderr, "brightpost: %s\n", problem.c_str());
    }
}

bool MainWindow::restoreDatabase() {
    BusyScope busy(busy_);
    CDatabaseRecovery recovery(store_, *platform_.clock);
    const CDatabaseRecovery::Outcome outcome = recovery.Run();
    if (!outcome.message.empty()) {
        platform_.messages->showMessage(outcome.usable ? "Warning" : "Error", "", outcome.message,
                                        kIconWarning);
    }
    return outcome.usable;
}

void MainWindow::startAutoSaver() {
    AutoSaver::Hooks hooks;
    hooks.storeEdits = [this] {
        notes_.forEach([](CNote& note) {
            note.StoreBody();
            if (note.title() != nullptr) {
                note.title()->storeOpenEdit();
            }
        });
    };
    hooks.reportFailure = [this](const CNotesDatabase::SaveOutcome& outcome) {
        SaveReports(*platform_.messages, store_).failed(outcome);
    };
    hooks.reportKept = [this](const std::string& keptAs) {
        SaveReports(*platform_.messages, store_).kept(keptAs);
    };
    autoSaver_ = new AutoSaver(store_, std::move(hooks), this);
    store_.SetChangeListener([saver = autoSaver_] { saver->changed(); });
    store_.SetSaveHandler(
        [saver = autoSaver_](SaveUrgency urgency) { saver->requestSave(urgency); });
}

void MainWindow::saveUnsavedWork() {
    if (autoSaver_ == nullptr || exiting_) {
        return;
    }
    autoSaver_->saveNow();
}

void MainWindow::exitApplication() {
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
    const int backupMode = setting::get(store_, setting::backupMode);
    unregisterHotKeys();
    trayIcon_.remove();
    trayTipTimer_.stop();
    autoSaveTimer_.stop();
    trayClickTimer_.stop();
    notes_.forEach([](CNote& note) {
        note.StoreBody();
        note.setClosing();
        note.hide();
    });
    // The manager may be inside its own context menu when the session ends; it goes once
    // that has returned.
    dialogs_.retireManager();
    // A note may still be inside one of its dialogs or menus when the session ends; those
    // return once the event loops end, so the notes live until the program object goes.
    notes_.retireAll();
    if (backupMode == 1) {
        store_.BackupDatabase();
    }
    store_.RequestSave(SaveUrgency::Now);
    // Every note lived on this thread and has stored its body, so there is nothing left to
    // wait for before the event loop ends.
    emit exited();
}

NoteHost& MainWindow::startNoteThread(std::int32_t nid, StartFlags flags) {
    NoteHost& started = notes_.start(nid, flags);
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

int MainWindow::createNewNote() {
    {
        BusyScope busy(busy_);
        if (store_.CountNotesByPriority(3) >= kMaxLiveNotes) {
            platform_.messages->showMessage(
                "Attention", "", "You have reached the maximum number of notes", kIconWarning);
            return 0;
        }
        const std::int32_t nid = addNewNoteRecord(store_, *platform_.clock, random_);
        startCreatedNote(nid);
        updateTrayTip();
        store_.RequestSave(SaveUrgency::Now);
    }
    reloadManagerLater();
    return 1;
}

void MainWindow::createNote() {
    if (!exiting_) {
        createNewNote();
    }
}

void MainWindow::duplicateNote(std::int32_t source) {
    if (exiting_) {
        return;
    }
    const std::int32_t nid = transfer_.duplicate(source);
    startCreatedNote(nid);
    updateTrayTip();
    reloadManagerLater();
}

void MainWindow::restoreNote(std::int32_t nid) {
    if (exiting_) {
        return;
    }
    store_.SetNoteDeleted(nid, 0);
    store_.SetNote(nid, 0u, note::expireTime);
    StartFlags flags;
    flags.applyPriorityOnStart = true;
    startNoteThread(nid, flags);
    updateTrayTip();
    reloadManagerLater();
}

void MainWindow::deleteNote(std::int32_t nid) {
    if (!exiting_) {
        deleteNoteAt(notes_.indexOf(nid));
    }
}

void MainWindow::deleteNoteWindow(const CNote& window) {
    if (!exiting_) {
        deleteNoteAt(notes_.indexOfWindow(window));
    }
}

void MainWindow::deleteNoteAt(std::optional<std::size_t> index) {
    if (!index) {
        reportNoteNotFound();
        updateTrayTip();
        reloadManagerLater();
        return;
    }
    CNote& note = notes_.at(*index);
    const std::int32_t nid = note.nid();
    if (setting::get(store_, setting::deleteMode) != 0) {
        store_.SetNoteDeleted(nid, 1);
    } else {
        store_.DeleteNote(nid);
    }
    std::unique_ptr<NoteHost> thread = notes_.take(*index);
    thread->note().setClosing();
    thread->note().hide();
    // The note may be the caller, from inside its own menu or dialog: it goes once the event
    // loop it was asked from has returned.
    thread.release()->endLater();
    updateTrayTip();
    reloadManagerLater();
}

void MainWindow::restoreZOrder() {
    if (!notesRaised_ || exiting_) {
        return;
    }
    notes_.forEach([](CNote& note) {
        if (note.priority() != 2) {
            note.ApplyPriorityZOrder();
        }
    });
    notes_.forEach([](CNote& note) {
        note.setRaisedByAll(false);
        note.setKeepZOrder(false);
    });
    notesRaised_ = false;
}

void MainWindow::endRaise() {
    // A dialog of the shell takes the activation from notes raised by Show All, Cascade or
    // Minimize All, which ends their raise. Qt does not report it once the dialog is gone:
    // a window destroyed while active leaves the application active without a focus window,
    // so the deactivation that follows never arrives.
    restoreZOrder();
}

CNote* MainWindow::findNote(std::int32_t nid) const {
    return notes_.find(nid);
}

CNote& MainWindow::noteAt(std::size_t index) const {
    return notes_.at(index);
}

void MainWindow::reportNoteNotFound() {
    platform_.messages->showMessage("Error", "", "Not able to find the note", kIconWarning);
}

void MainWindow::reloadManagerLater() {
    dialogs_.postToManager([](NotesManagerWindow& manager) { manager.reload(); });
}

CNote* MainWindow::noteToActOn(std::int32_t nid) {
    if (exiting_) {
        return nullptr;
    }
    CNote* note = findNote(nid);
    if (note == nullptr) {
        reportNoteNotFound();
    }
    return note;
}

void MainWindow::showNote(std::int32_t nid) {
    if (CNote* note = noteToActOn(nid)) {
        note->ShowNote(true);
        note->bringToFront();
        note->alarm().openedByUser();
        updateTrayTip();
    }
}

void MainWindow::hideNote(std::int32_t nid) {
    if (CNote* note = noteToActOn(nid)) {
        note->ShowNote(false);
        updateTrayTip();
    }
}

void MainWindow::printNote(std::int32_t nid) {
    if (CNote* note = noteToActOn(nid)) {
        CNoteOutput(*note).PrintShared();
    }
}

void MainWindow::openNoteMenu(std::int32_t nid) {
    if (CNote* note = noteToActOn(nid); note != nullptr && note->title() != nullptr) {
        note->title()->onAlarmButton();
    }
}

void MainWindow::noteChanged(std::int32_t nid) {
    runLater([this, nid] {
        dialogs_.postToManager([nid](NotesManagerWindow& manager) { manager.noteChanged(nid); });
    });
}

void MainWindow::updateTrayTipLater() {
    runLater([this] { updateTrayTip(); });
}

void MainWindow::stopOtherReading() {
    runLater([this] {
        if (CNote* note = readingNid != 0 ? findNote(readingNid) : nullptr;
            note != nullptr && !note->closing()) {
            note->reading().stopForAnotherReading();
        }
    });
}

void MainWindow::readingEnded() {
    if (!exiting_) {
        readingNid = 0;
    }
}

void MainWindow::autoSaveIntervalChanged() {
    if (!exiting_) {
        autoSaveTimer_.stop();
        autoSaveTimer_.start(setting::get(store_, setting::autoSave) * 60000);
    }
}

void MainWindow::stopAutoLockTimers() {
    if (!exiting_) {
        notes_.forEach([](CNote& note) { note.autoLockTimer().stop(); });
    }
}

void MainWindow::runLater(std::function<void()> work) {
    QMetaObject::invokeMethod(
        this,
        [this, work = std::move(work)] {
            if (!exiting_) {
                work();
            }
        },
        Qt::QueuedConnection);
}

void MainWindow::connectTrayMenu(TrayMenu& menu) {
    using Item = TrayMenu::Item;
    struct Entry {
        Item item;
        void (*run)(MainWindow& tray);
    };
    static constexpr Entry kEntries[] = {
        {Item::NotesManager, [](MainWindow& t) { t.showNotesManager(); }},
        {Item::ShowAll, [](MainWindow& t) { t.showAllNotes(); }},
        {Item::HideAll, [](MainWindow& t) { t.hideAllNotes(); }},
        {Item::CascadeAll, [](MainWindow& t) { t.cascadeAllNotes(); }},
        {Item::MinimizeAll, [](MainWindow& t) { t.minimizeAllNotes(); }},
        {Item::NewNote, [](MainWindow& t) { t.createNewNote(); }},
        {Item::AppSettings, [](MainWindow& t) { t.showAppSettings(); }},
        {Item::NotesSettings, [](MainWindow& t) { t.showNotesSettings(); }},
        {Item::Find, [](MainWindow& t) { t.showFind(); }},
        {Item::importNotes, [](MainWindow& t) { t.importNotes(); }},
        {Item::exportNotes, [](MainWindow& t) { t.exportNotes(); }},
        {Item::RecycleBin, [](MainWindow& t) { t.showRecycleBin(); }},
        {Item::About, [](MainWindow& t) { t.showAbout(); }},
        {Item::OnlineHelp, [](MainWindow& t) { t.showOnlineHelp(); }},
        {Item::Save, [](MainWindow& t) { t.saveAllNotes(); }},
        {Item::Exit, [](MainWindow& t) { t.exitApplication(); }},
    };
    for (const Entry& entry : kEntries) {
        // Queued, so that a dialog the item opens starts after the menu has closed.
        connect(menu.action(entry.item), &QAction::triggered, this,
                [this, run = entry.run] { runLater([this, run] { run(*this); }); });
    }
}

std::string MainWindow::handleRequest(const QByteArray& request) {
    NamedActions::Request parsed = NamedActions::parse(request);
    if (!parsed.refusal.empty()) {
        return parsed.refusal;
    }
    QMetaObject::invokeMethod(
        this, [this, name = std::move(parsed.name)] { performAction(name); }, Qt::QueuedConnection);
    return {};
}

bool MainWindow::performAction(const std::string& name) {
    return actions_.perform(name);
}

bool MainWindow::takesActions() const {
    return initialised_ || exiting_;
}

void MainWindow::requestEnd() {
    emit endRequested();
}

void MainWindow::setAutostart(bool on) {
    if (databaseReady_ && !exiting_) {
        setting::set(store_, setting::autorun, on ? 1 : 0);
        syncAutostart();
    }
}

void MainWindow::saveAllNotesUnlessBusy() {
    if (initialised_ && !busy_ && !exiting_) {
        saveAllNotes();
    }
}

void MainWindow::onTimer(const PacedTimer* timer) {
    if (exiting_) {
        return;
    }
    if (timer == &trayTipTimer_) {
        updateTrayTip();
    } else if (timer == &autoSaveTimer_) {
        saveAllNotes();
    } else if (timer == &trayClickTimer_) {
        trayClickTimer_.stop();
        if (!trayDoubleClicked_ && !busy_) {
            showTrayMenu();
        }
        trayDoubleClicked_ = false;
    }
}

void MainWindow::trayIconClicked() {
    if (initialised_ && !busy_ && !exiting_) {
        // The desktop reports the first press of a double click as a click too: wait
        // whether a second one follows.
        trayClickTimer_.start(kTrayClickDelayMs);
    }
}

void MainWindow::trayIconDoubleClicked() {
    if (initialised_ && !busy_ && !exiting_) {
        trayDoubleClicked_ = true;
        createNewNote();
    }
}

void MainWindow::trayIconContextMenu() {
    if (initialised_ && !busy_ && !exiting_) {
        showTrayMenu();
    }
}

void MainWindow::showTrayMenu() {
    if (trayIcon_.menu() == nullptr || exiting_) {
        return;
    }
    trayIcon_.showMenu(platform_.desktop->cursorPos(),
                       setting::get(store_, setting::deleteMode) != 0,
                       HotKeyText(setting::get(store_, setting::hkNewNote)),
                       HotKeyText(setting::get(store_, setting::hkShowAll)),
                       HotKeyText(setting::get(store_, setting::hkHideAll)));
}

void MainWindow::updateTrayTip() {
    if (exiting_) {
        return;
    }
    int missedAlarms = 0;
    notes_.forEach([this, &missedAlarms](const CNote& note) {
        if (storedMissedAlarm(store_, note.nid())) {
            ++missedAlarms;
        }
    });
    trayIcon_.update(static_cast<int>(notes_.size()), notes_.hiddenCount(), missedAlarms);
}

// ---- Commands on all notes -----------------------------------------------------------------

void MainWindow::saveAllNotes() {
    notes_.forEach([this](CNote& note) {
        if (store_.GetNote(kLiveSource, note.nid(), note::isDeleted) == 0) {
            note.StoreBody();
        }
    });
    store_.RequestSave(SaveUrgency::Now);
}

void MainWindow::showAllNotes() {
    notes_.raiseAll();
    notesRaised_ = true;
    updateTrayTip();
}

void MainWindow::hideAllNotes() {
    notes_.hideAll();
    updateTrayTip();
}

void MainWindow::cascadeAllNotes() {
    const Rect desktop = platform_.desktop->screenRect();
    const auto layout = cascadeLayout(desktop.width, desktop.height, notes_.size());
    if (!layout) {
        platform_.messages->showMessage(
            "Warning", "", "Can't cascade notes.\nScreen resolution is to small.", kIconWarning);
        return;
    }
    arrangeNotes(layout->positions, layout->width, layout->height, &CNote::moveToStored);
}

void MainWindow::minimizeAllNotes() {
    const Rect desktop = platform_.desktop->screenRect();
    const auto layout = collapsedLayout(desktop.width, desktop.height, notes_.size());
    if (!layout) {
        platform_.messages->showMessage(
            "Warning", "", "Can't process.\nScreen resolution is to small.", kIconWarning);
        return;
    }
    arrangeNotes(layout->positions, layout->width, std::nullopt, &CNote::collapseAtStored);
}

void MainWindow::arrangeNotes(const std::vector<Point>& positions, int width,
                              std::optional<int> height, void (CNote::*place)()) {
    notes_.arrange(positions, width, height, place);
    notesRaised_ = true;
    updateTrayTip();
}

void MainWindow::exportNotes() {
    {
        BusyScope busy(busy_);
        endRaise();
        notes_.hideQuietly();
        const std::string path = transfer_.chooseExportFile();
        if (!path.empty() && !exiting_) {
            transfer_.exportTo(path);
        }
    }
    notes_.showOpenQuietly();
    updateTrayTip();
}

void MainWindow::importNotes() {
    {
        BusyScope busy(busy_);
        endRaise();
        notes_.hideQuietly();
        const std::string path = transfer_.chooseImportFile();
        // What came in before the session began to end is saved; the end need not wait for
        // more.
        if (!path.empty() && !exiting_ &&
            transfer_.importFile(
                path, [this](std::int32_t nid) { startCreatedNote(nid); }, sessionEnding_)) {
            updateTrayTip();
            store_.RequestSave(SaveUrgency::Now);
            reloadManagerLater();
        }
    }
    notes_.showOpenQuietly();
    updateTrayTip();
}

void MainWindow::startCreatedNote(std::int32_t nid) {
    NoteHost& thread = startNoteThread(nid, {});
    thread.note().applyDefaultBodyFormat();
    thread.note().activate();
}

// ---- Dialogs -------------------------------------------------------------------------------

int MainWindow::runModal(QDialog& dialog) {
    BusyScope busy(busy_);
    endRaise();
    return platform_.modalDialogs != nullptr ? platform_.modalDialogs->run(dialog) : dialog.exec();
}

void MainWindow::noteSizeLimitsChanged() {
    notes_.forEach([](CNote& note) { note.SizeLimitsChanged(); });
}

NotesManagerWindow::PrintRunner MainWindow::managerPrintRunner() {
    return [this](QWidget* owner, const std::vector<std::int32_t>& nids,
                  const std::function<void(std::int32_t)>& printOne) {
        printNotesWithOneDialog(owner, platform_.modalDialogs, nids, printOne);
    };
}

void MainWindow::showAbout() {
    dialogs_.showAbout();
}

void MainWindow::showOnlineHelp() {
    dialogs_.showOnlineHelp();
}

void MainWindow::showNotesManager() {
    dialogs_.showNotesManager();
}

void MainWindow::toggleNotesManager() {
    dialogs_.toggleNotesManager();
}

void MainWindow::showAppSettings() {
    dialogs_.showAppSettings();
}

void MainWindow::showNotesSettings() {
    dialogs_.showNotesSettings();
}

void MainWindow::showFind() {
    dialogs_.showFind();
}

void MainWindow::showRecycleBin() {
    dialogs_.showRecycleBin();
}

// ---- Hot keys ------------------------------------------------------------------------------

void MainWindow::registerHotKeyValue(std::uint32_t value, int id) {
    hotKeys_.registerValue(value, id);
}

void MainWindow::registerHotKeys() {
    hotKeys_.registerAll();
}

void MainWindow::reRegisterHotKey(int id, std::uint32_t value) {
    hotKeys_.reRegister(id, value);
}

void MainWindow::unregisterHotKeys() {
    hotKeys_.unregisterAll();
}

void MainWindow::onHotKey(int id) {
    if (!initialised_ || busy_ || exiting_) {
        return;
    }
    switch (id) {
        case hotkey::NEW_NOTE:
            createNewNote();
            break;
        case hotkey::SHOW_ALL:
            showAllNotes();
            break;
        case hotkey::HIDE_ALL:
            hideAllNotes();
            break;
        case hotkey::TOGGLE_MANAGER:
            toggleNotesManager();
            break;
        case hotkey::TRAY_MENU:
            showTrayMenu();
            break;
        default:
            break;
    }
}

}  // namespace bp
