#pragma once

#include "AppDialogs.h"
#include "HotKeys.h"
#include "NamedActions.h"
#include "NoteArrangement.h"
#include "NoteTransfer.h"
#include "OpenNotes.h"
#include "ScriptedNoteWindows.h"
#include "SessionSaving.h"
#include "TrayClicks.h"
#include "TrayIcon.h"
#include "manage/ListWindowOwner.h"
#include "note/NoteOwner.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "qtsupport/PacedTimer.h"
#include "scripting/ScriptingService.h"
#include "settings/SettingsOwner.h"
#include "store/NotesDatabase.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QDialog;

namespace bp {

class AutoSaver;
class CNote;
class NotesManagerWindow;
class NoteHost;
class INoteDialogs;
class TrayMenu;

// The program's hidden main window: it sets the program up, answers what notes and dialogs
// ask of it and the commands of the tray menu, and takes the program down again. The open
// notes, the tray icon, the saving, the arranging of all notes and the copying of notes in and
// out are objects of their own that the commands hand on to.
class MainWindow : public QObject,
                   public INoteOwner,
                   public IListWindowOwner,
                   public ISettingsOwner,
                   public IActionTarget,
                   public IDialogHost {
    Q_OBJECT
public:
    MainWindow(Platform platform, CNotesDatabase& store, std::optional<std::string> dataDir,
               QObject* parent = nullptr);
    ~MainWindow() override;

    // 0 the database could not be made usable, 1 ready, 2 the session ended during set-up
    // (the program ends without saving over a damaged file).
    int initialize();
    static constexpr int kEndedDuringSetUp = 2;
    // Orderly exit: bodies stored, backup, save, end of the event loop. Safe to call twice, and
    // at any time during set-up: before a usable database is in place nothing is saved.
    void exitApplication();
    // The desktop is going away and the program with it: stores and saves what the notes
    // hold that the file does not, at once and silently. Off the GUI thread only what the
    // store already holds is saved.
    void saveUnsavedWork();
    // Saves shortly after every edit; null before set-up and after exit.
    AutoSaver* autoSaver() const { return saving_.autoSaver(); }

    // The note registry.
    using StartFlags = OpenNotes::StartFlags;
    NoteHost& startNoteThread(std::int32_t nid, StartFlags flags);
    // 1 when a note was created, 0 when the limit of live notes was reached.
    int createNewNote();
    void restoreZOrder();
    CNote* findNote(std::int32_t nid) const;
    std::size_t noteCount() const { return notes_.size(); }
    CNote& noteAt(std::size_t index) const;

    // What notes, the list windows and the settings dialogs ask of the main window.
    void createNote() override;
    void duplicateNote(std::int32_t nid) override;
    void deleteNote(std::int32_t nid) override;
    void deleteNoteWindow(const CNote& note) override;
    void restoreNote(std::int32_t nid) override;
    void showNote(std::int32_t nid) override;
    void hideNote(std::int32_t nid) override;
    void printNote(std::int32_t nid) override;
    void openNoteMenu(std::int32_t nid) override;
    void noteChanged(std::int32_t nid) override;
    void updateTrayTipLater() override;
    void stopOtherReading() override;
    void readingEnded() override;
    void autoSaveIntervalChanged() override;
    void stopAutoLockTimers() override;
    void autostartChanged() override { syncAutostart(); }

    // A request line from a later start of the program, "action <name>" with one of the
    // named actions: queued to be carried out, and an empty answer. Anything else is refused
    // with the reason.
    std::string handleRequest(const QByteArray& request);
    // A command-line action: "new-note", "show-all", "hide-all", "toggle-manager", "save",
    // "tray-menu", "quit", "autostart-on", "autostart-off". Like the hot keys they are dropped
    // while a modal operation runs, except "quit"; those asked for during set-up wait for its
    // end. False for an unknown name.
    bool performAction(const std::string& name);

    // What scripts, the command line and the desktop's search reach.
    INoteScripting& noteScripting() { return scripting_; }
    CNotesDatabase& store() const { return store_; }
    // A note made for a script, shown without the focus: its nid, or none at the limit of
    // notes (the script is told; no box).
    std::optional<std::int32_t> createScriptedNote(const std::string& title);
    // Into the Recycle Bin whatever the delete setting says.
    void moveNoteToBin(std::int32_t nid);
    void openAlarmDialogLater(std::int32_t nid);
    // Find with its box filled and searched.
    void showFindLater(const QString& terms);

    // The tray icon and its menu.
    void updateTrayTip() override;
    void showTrayMenu() override;
    // Presses on the icon; nothing while set-up or a modal operation runs.
    void trayIconClicked();
    void trayIconDoubleClicked();
    void trayIconContextMenu();
    const std::string& trayTip() const { return trayIcon_.tip(); }
    // 201 while every note is visible, 202 while some are hidden.
    int trayIconId() const { return trayIcon_.iconId(); }
    TrayMenu* trayMenu() const { return trayIcon_.menu(); }
    int trayMenuOpenings() const { return trayIcon_.menuOpenings(); }

    // Commands on all notes.
    void saveAllNotes();
    // As the "save" action: not while a modal operation runs.
    void saveAllNotesUnlessBusy() override;
    // Sets the autorun setting and the desktop's autostart entry with it.
    void setAutostart(bool on) override;
    void showAllNotes();
    void hideAllNotes();
    void cascadeAllNotes();
    void minimizeAllNotes();
    void importNotes();
    void exportNotes();

    // Dialogs. The Notes Manager, Recycle Bin, Find and the settings dialogs plug in here:
    // each Show* opens its window through runModal (or keeps a modeless one), and the
    // tray menu's items call them.
    void showAbout();
    void showOnlineHelp();
    void showNotesManager();
    void toggleNotesManager();
    void showAppSettings();
    void showNotesSettings();
    void showFind(const QString& terms = {});
    void showRecycleBin();
    // Null until set-up has made it.
    NotesManagerWindow* notesManager() const { return dialogs_.notesManager(); }

    // Global hot keys.
    void registerHotKeyValue(std::uint32_t value, int id);
    void registerHotKeys();
    // The settings dialog's change of one hot key, in force at once.
    void reRegisterHotKey(int id, std::uint32_t value);
    void unregisterHotKeys();
    void onHotKey(int id) override;

    bool isBusy() const { return busy_; }
    bool isInitialised() const { return initialised_; }
    bool isExiting() const { return exiting_; }
    // A database that opened or was recovered is in memory, so an exit saves it.
    bool hasUsableDatabase() const { return databaseReady_; }
    // The tray tip's refresh, the automatic save, and the wait after a click on the tray
    // icon for a second one.
    const PacedTimer& trayTipTimer() const { return trayTipTimer_; }
    const PacedTimer& autoSaveTimer() const { return saving_.intervalTimer(); }
    const PacedTimer& trayClickTimer() const { return trayClicks_.wait(); }
    void setNotesRaised(bool raised) { arrangement_.setRaised(raised); }

    // Random numbers for new notes' colours; tests script them.
    void setRandomSource(std::function<unsigned()> random) { random_ = std::move(random); }
    // Asked between the notes that set-up loads or an import brings in: whether the session is
    // ending.
    void setSessionEnding(std::function<bool()> ending) { sessionEnding_ = std::move(ending); }
    // The colour and font choosers of the settings dialogs; tests answer them.
    void setNoteDialogs(INoteDialogs* dialogs) { dialogs_.setNoteDialogs(dialogs); }

signals:
    // Emitted when ExitApplication has finished; the application ends its event loop.
    void exited();
    // A later start asked the program to end ("quit"); the application ends it in order.
    void endRequested();

private:
    void requestEnd() override;
    bool takesActions() const override;
    // Keeps the desktop's autostart entry in step with the autorun setting.
    void syncAutostart();

    // Each item of the tray menu calls its method once the menu has closed.
    void connectTrayMenu(TrayMenu& menu);
    // Brings the tray menu's hot-key texts and the Recycle Bin item up to date.
    void prepareTrayMenu();
    // Runs the work once the event loop runs again, unless the program is exiting by then.
    void runLater(std::function<void()> work);
    // The open note of the nid, or null when the program is exiting or, told to the user,
    // when no such note is open.
    CNote* noteToActOn(std::int32_t nid);
    // Runs a modal dialog with the busy flag set; the dialog's result.
    int runModal(QDialog& dialog) override;
    void noteSizeLimitsChanged() override;
    // The Notes Manager prints several notes with one print dialog.
    NotesManagerWindow::PrintRunner managerPrintRunner();
    void endRaise();
    // Starts a note that was just made (new, duplicate, imported) and gives it the focus.
    void startCreatedNote(std::int32_t nid);
    void deleteNoteAt(std::optional<std::size_t> index, bool alwaysIntoBin = false);
    // Scripts are told what changed once the event loop turns, once for a burst of changes.
    void tellScriptsLater();
    void reportNoteNotFound();
    // Tells the Notes Manager, once it exists, that the notes changed, once the event loop
    // turns: the manager may be the one asking for the change.
    void reloadManagerLater();

    Platform platform_;
    CNotesDatabase& store_;
    std::optional<std::string> dataDirOverride_;

    bool initialised_ = false;
    // A database that opened or was recovered is in memory, so an exit may save it.
    bool databaseReady_ = false;
    bool exiting_ = false;
    bool busy_ = false;
    // Holds the actions asked for before set-up was over.
    NamedActions actions_{*this};
    HotKeys hotKeys_{platform_, store_};
    AppDialogs dialogs_{platform_, store_, *this, *this, *this, hotKeys_, managerPrintRunner()};

    OpenNotes notes_;
    NoteTransfer transfer_;
    SessionSaving saving_;
    NoteArrangement arrangement_;
    PacedTimer trayTipTimer_;
    TrayClicks trayClicks_;
    TrayIcon trayIcon_;
    NoteDirectory noteDirectory_{store_, platform_.richText};
    ScriptedNoteWindows scriptedWindows_{*this};
    ScriptingService scripting_{noteDirectory_, scriptedWindows_};
    bool scriptsToldLater_ = false;
    std::function<unsigned()> random_;
    std::function<bool()> sessionEnding_;
};

}  // namespace bp
