#include "MainWindow.h"

#include "AutoSaver.h"
#include "AutostartSync.h"
#include "BusyScope.h"
#include "CommandBindings.h"
#include "DatabaseOpening.h"
#include "ModalBoxes.h"
#include "NewNoteRecord.h"
#include "NoteHost.h"
#include "StartupNotes.h"
#include "TrayMenu.h"
#include "TrayText.h"
#include "Welcome.h"
#include "alarm/MissedAlarm.h"
#include "manage/NotesManagerWindow.h"
#include "note/Note.h"
#include "note/ReadAloud.h"
#include "note/Title.h"
#include "output/NoteOutput.h"
#include "platform/Messages.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QMetaObject>

#include <random>
#include <utility>

namespace bp {

namespace {

constexpr int kIconWarning = res::ICON_WARNING;
constexpr int kMaxLiveNotes = 1000;

}  // namespace

MainWindow::MainWindow(Platform platform, CNotesDatabase& store, std::optional<std::string> dataDir,
                       QObject* parent)
    : QObject(parent),
      platform_(platform),
      store_(store),
      dataDirOverride_(std::move(dataDir)),
      notes_(platform, store, *this),
      transfer_(platform, store),
      saving_(platform, store, notes_),
      arrangement_(platform, notes_) {
    // What the store could not read or do is shown as it happens, in its own words. The sink
    // holds only the boxes, which outlive the store, so a main window made again (recovery,
    // tests) simply installs its own and none is taken away on destruction.
    store_.SetProblemSink([messages = platform_.messages](const StoreProblem& problem) {
        messages->standardError(problem.caption, problem.text);
    });
    connect(&trayTipTimer_, &PacedTimer::fired, this, &MainWindow::updateTrayTip);
    connect(&trayClicks_, &TrayClicks::singleClick, this, [this] {
        if (!exiting_ && !busy_) {
            showTrayMenu();
        }
    });
    connect(&trayClicks_, &TrayClicks::doubleClick, this, [this] {
        if (!exiting_ && !busy_) {
            createNewNote();
        }
    });
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
    saving_.detach();
    unregisterHotKeys();
    if (platform_.hotKeys != nullptr) {
        platform_.hotKeys->setHandler({});
    }
    // Notes go first: they may still tell the main window about themselves while closing.
    notes_.closeAll();
    dialogs_.destroyManager();
}

int MainWindow::initialize() {
    switch (DatabaseOpening(platform_, store_, exiting_, busy_).open(dataDirOverride_)) {
        case DatabaseOpening::Result::Failed:
            return 0;
        case DatabaseOpening::Result::SessionEnded:
            return kEndedDuringSetUp;
        case DatabaseOpening::Result::Ready:
            break;
    }
    databaseReady_ = true;
    if (exiting_) {
        return kEndedDuringSetUp;
    }

    trayTipTimer_.start(60000);
    saving_.start();
    // Typing reaches the store when it is saved; scripts hear of it then.
    connect(saving_.autoSaver(), &AutoSaver::saveEnded, this, [this] { tellScriptsLater(); });

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

    const bool allOpened = openStartupNotes(
        store_.ListNotes(kLiveSource),
        [this](std::int32_t nid, StartFlags flags) { startNoteThread(nid, flags); },
        sessionEnding_);
    if (!allOpened) {
        exitApplication();
        return kEndedDuringSetUp;
    }

    updateTrayTip();
    syncAutostart();
    showWelcomeOnFirstStart(*this, platform_, store_, [this](bool on) { setAutostart(on); });
    initialised_ = true;
    for (const std::string& action : actions_.takeHeld()) {
        QMetaObject::invokeMethod(
            this, [this, action] { performAction(action); }, Qt::QueuedConnection);
    }
    return 1;
}

void MainWindow::syncAutostart() {
    syncAutostartEntry(setting::get(store_, setting::autorun) != 0);
}

void MainWindow::saveUnsavedWork() {
    if (!exiting_) {
        saving_.saveNow();
    }
}

void MainWindow::exitApplication() {
    if (exiting_) {
        return;
    }
    saving_.finish();
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
    saving_.stopInterval();
    trayClicks_.stop();
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
    saving_.watch(started.note());
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

std::optional<std::int32_t> MainWindow::createScriptedNote(const std::string& title) {
    if (exiting_ || store_.CountNotesByPriority(3) >= kMaxLiveNotes) {
        return std::nullopt;
    }
    const std::int32_t nid = addNewNoteRecord(store_, *platform_.clock, random_);
    store_.SetNote(nid, title, note::title);
    StartFlags flags;
    flags.applyPriorityOnStart = true;
    startNoteThread(nid, flags);
    updateTrayTip();
    reloadManagerLater();
    return nid;
}

void MainWindow::openAlarmDialogLater(std::int32_t nid) {
    runLater([this, nid] {
        if (CNote* note = findNote(nid); note != nullptr && !isBusy()) {
            note->OpenAlarmDialog();
        }
    });
}

void MainWindow::showFindLater(const QString& terms) {
    runLater([this, terms] {
        if (!isBusy()) {
            showFind(terms);
        }
    });
}

void MainWindow::tellScriptsLater() {
    if (scriptsToldLater_) {
        return;
    }
    scriptsToldLater_ = true;
    runLater([this] {
        scriptsToldLater_ = false;
        scripting_.notesMayHaveChanged();
    });
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

void MainWindow::moveNoteToBin(std::int32_t nid) {
    if (!exiting_) {
        deleteNoteAt(notes_.indexOf(nid), true);
    }
}

void MainWindow::deleteNoteAt(std::optional<std::size_t> index, bool alwaysIntoBin) {
    if (!index) {
        reportNoteNotFound();
        updateTrayTip();
        reloadManagerLater();
        return;
    }
    CNote& note = notes_.at(*index);
    const std::int32_t nid = note.nid();
    if (alwaysIntoBin || setting::get(store_, setting::deleteMode) != 0) {
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
    if (!exiting_) {
        arrangement_.restoreZOrder();
    }
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
    tellScriptsLater();
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
    tellScriptsLater();
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
        saving_.intervalChanged();
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
    for (const TrayMenuBinding& binding : trayMenuBindings()) {
        // Queued, so that a dialog the item opens starts after the menu has closed.
        connect(menu.action(binding.item), &QAction::triggered, this,
                [this, run = binding.run] { runLater([this, run] { run(*this); }); });
    }
    // A StatusNotifier host shows the exported menu without asking us to open it: it only says
    // that the menu is about to show, and it may read the items before that.
    connect(&menu, &QMenu::aboutToShow, this, &MainWindow::prepareTrayMenu);
    connect(menu.notesMenu(), &QMenu::aboutToShow, this, &MainWindow::prepareTrayMenu);
    prepareTrayMenu();
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

void MainWindow::trayIconClicked() {
    if (initialised_ && !busy_ && !exiting_) {
        trayClicks_.clicked();
    }
}

void MainWindow::trayIconDoubleClicked() {
    if (initialised_ && !busy_ && !exiting_) {
        trayClicks_.doubleClicked();
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
    prepareTrayMenu();
    trayIcon_.showMenu(platform_.desktop->cursorPos());
}

void MainWindow::prepareTrayMenu() {
    if (TrayMenu* menu = trayIcon_.menu(); menu != nullptr && !exiting_) {
        menu->prepare(setting::get(store_, setting::deleteMode) != 0,
                      HotKeyText(setting::get(store_, setting::hkNewNote)),
                      HotKeyText(setting::get(store_, setting::hkShowAll)),
                      HotKeyText(setting::get(store_, setting::hkHideAll)));
    }
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
    saving_.saveAll();
}

void MainWindow::showAllNotes() {
    arrangement_.showAll();
    updateTrayTip();
}

void MainWindow::hideAllNotes() {
    arrangement_.hideAll();
    updateTrayTip();
}

void MainWindow::cascadeAllNotes() {
    if (arrangement_.cascade()) {
        updateTrayTip();
    }
}

void MainWindow::minimizeAllNotes() {
    if (arrangement_.minimizeAll()) {
        updateTrayTip();
    }
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

void MainWindow::showFind(const QString& terms) {
    dialogs_.showFind(terms);
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
    if (const Command run = hotKeyCommand(id)) {
        run(*this);
    }
}

}  // namespace bp
