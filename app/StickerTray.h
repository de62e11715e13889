#pragma once

#include "note/NoteOwner.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "store/NotesDatabase.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QSystemTrayIcon;

namespace bp {

class AutoSaver;
class CNote;
class CThread;
class NumberedTimers;
class TrayMenu;

// The program's hidden main window: it sets the program up, keeps the registry of live
// notes, owns the tray icon and the timers, answers the messages of notes and dialogs, and
// takes the program down again.
class CStickerTray : public QObject, public INoteOwner {
    Q_OBJECT
public:
    CStickerTray(Platform platform, CNotesDatabase& store, std::optional<std::string> dataDir,
                 QObject* parent = nullptr);
    ~CStickerTray() override;

    // -1 the platform is too new, 0 the database could not be made usable, 1 ready, 2 the
    // session ended during set-up (the program ends without saving over a damaged file).
    int Initialize();
    static constexpr int kEndedDuringSetUp = 2;
    // Recovers a damaged database; true when a usable one is in place afterwards.
    bool RestoreDatabase();
    // Orderly exit: bodies stored, backup, save, end of the event loop. Safe to call twice, and
    // at any time during set-up: before a usable database is in place nothing is saved.
    void ExitApplication();
    // The desktop is going away and the program with it: stores and saves what the notes
    // hold that the file does not, at once and silently. Off the GUI thread only what the
    // store already holds is saved.
    void SaveUnsavedWork();
    // Saves shortly after every edit; null before set-up and after exit.
    AutoSaver* autoSaver() const { return autoSaver_; }

    // The note registry.
    struct StartFlags {
        bool applyPriorityOnStart = false;
        bool startupBatch = false;
        bool lastOfStartupBatch = false;
    };
    CThread& StartNoteThread(std::int32_t nid, StartFlags flags);
    // 1 when a note was created, 0 when the limit of live notes was reached.
    int CreateNewNote();
    void DuplicateNote(std::int32_t sourceNid);
    void RestoreNoteFromBin(std::int32_t nid);
    void RestoreZOrder();
    CNote* findNote(std::int32_t nid) const;
    std::size_t noteCount() const { return registry_.size(); }
    CNote& noteAt(std::size_t index) const;

    // The message and command entry points. "Send" is a direct call, "post" queues it.
    void onMessage(int id, std::intptr_t wParam, std::intptr_t lParam);
    void onCommand(int id);
    void sendMessage(int id, std::intptr_t wParam, std::intptr_t lParam) override;
    void postMessage(int id, std::intptr_t wParam, std::intptr_t lParam) override;
    void sendCommand(int id) override;
    void postCommand(int id) override;

    // A request line from a later start of the program: "message <id> <wParam> <lParam>" or
    // "action <name>" (see performAction).
    void handleRequest(const QByteArray& request);
    // A command-line action: "new-note", "show-all", "hide-all", "toggle-manager", "save",
    // "quit". Like the hot keys they are dropped while a modal operation runs, except "quit".
    // False for an unknown name.
    bool performAction(const std::string& name);

    // The tray icon and its menu.
    void UpdateTrayTip();
    void ShowTrayMenu();
    const std::string& trayTip() const { return trayTip_; }
    // Dimmed while some notes are hidden.
    int trayIconId() const { return trayIconSwapped_ ? res::ICON_TRAY_HIDDEN : res::ICON_TRAY; }
    TrayMenu* trayMenu() const { return trayMenu_.get(); }
    int trayMenuOpenings() const { return trayMenuOpenings_; }

    // Commands on all notes.
    void SaveAllNotes();
    void ShowAllNotes();
    void HideAllNotes();
    void CascadeAllNotes();
    void MinimizeAllNotes();
    void ImportNotes();
    void ExportNotes();

    // Dialogs. Those of the Notes Manager, Recycle Bin, Find and the settings come later.
    void ShowAbout();
    void ShowOnlineHelp();
    void ShowNotesManager();
    void ToggleNotesManager();
    void ShowAppSettings();
    void ShowNotesSettings();
    void ShowFind();
    void ShowRecycleBin();

    // Global hot keys.
    void RegisterHotKeyValue(std::uint32_t value, int id);
    void RegisterHotKeys();
    void UnregisterHotKeys();
    void onHotKey(int id);

    bool isBusy() const { return busy_; }
    bool isInitialised() const { return initialised_; }
    bool isExiting() const { return exiting_; }
    // Milliseconds of a running timer, or 0 when it is not running.
    int timerInterval(int timerId) const;
    void setNotesRaised(bool raised) { notesRaised_ = raised; }

    // Random numbers for new notes' colours; tests script them.
    void setRandomSource(std::function<unsigned()> random) { random_ = std::move(random); }
    // Asked between the notes that set-up loads or an import brings in: whether the session is
    // ending.
    void setSessionEnding(std::function<bool()> ending) { sessionEnding_ = std::move(ending); }

signals:
    // Emitted when ExitApplication has finished; the application ends its event loop.
    void exited();

private:
    void onTimer(int timerId);
    void startAutoSaver();
    void createTrayIcon();
    void onTrayNotify(std::intptr_t mouseMessage);
    // Runs a modal dialog with the busy flag set; the dialog's result.
    int runModal(QDialog& dialog);
    void hideNotesQuietly();
    void endRaise();
    // The body and the attachment records of a note, copied into another (new) note.
    void copyBodyAndAttachments(int source, std::int32_t from, std::int32_t to);
    // Starts a note that was just made (new, duplicate, imported) and gives it the focus.
    void startCreatedNote(std::int32_t nid);
    // Writes every note's new place and size, raises it, and lets it move there with
    // placeCommand (move, or collapse, at the stored place).
    void arrangeNotes(const std::vector<Point>& positions, int width, std::optional<int> height,
                      int placeCommand);
    void showOpenNotesQuietly();
    void importNote(std::int32_t importedNid);
    void deleteNote(std::size_t index);
    std::optional<std::size_t> indexOfNid(std::int32_t nid) const;
    std::optional<std::size_t> indexOfWindow(std::intptr_t window) const;
    void reportNoteNotFound();
    void postToManager(int command);

    Platform platform_;
    CNotesDatabase& store_;
    std::optional<std::string> dataDirOverride_;

    bool initialised_ = false;
    // A database that opened or was recovered is in memory, so an exit may save it.
    bool databaseReady_ = false;
    bool exiting_ = false;
    bool busy_ = false;
    bool notesRaised_ = false;
    bool trayDoubleClicked_ = false;
    bool trayIconSwapped_ = false;
    int trayMenuOpenings_ = 0;
    std::string trayTip_;

    std::vector<std::unique_ptr<CThread>> registry_;
    // Notes of an ended session, kept until the program object goes.
    std::vector<std::unique_ptr<CThread>> ended_;
    NumberedTimers* timers_ = nullptr;
    AutoSaver* autoSaver_ = nullptr;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    std::unique_ptr<TrayMenu> trayMenu_;
    std::function<unsigned()> random_;
    std::function<bool()> sessionEnding_;
};

}  // namespace bp
