#pragma once

#include "platform/Platform.h"
#include "store/NotesDatabase.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace bp {

// The program's hidden main window: it sets the program up, owns the tray icon and the
// timers, receives the messages of notes and dialogs, and takes the program down again.
class CStickerTray : public QObject {
    Q_OBJECT
public:
    CStickerTray(Platform platform, CNotesDatabase& store, std::optional<std::string> dataDir,
                 QObject* parent = nullptr);
    ~CStickerTray() override;

    // -1 the platform is too new, 0 the database could not be made usable, 1 ready.
    int Initialize();
    // Recovers a damaged database; true when a usable one is in place afterwards.
    bool RestoreDatabase();
    // Orderly exit: backup, save, end of the event loop. Safe to call more than once.
    void ExitApplication();

    // The message and command entry points. "Send" is a direct call, "post" queues it.
    void onMessage(int id, std::intptr_t wParam, std::intptr_t lParam);
    void onCommand(int id);
    void postMessage(int id, std::intptr_t wParam, std::intptr_t lParam);
    void postCommand(int id);

    // A request line from a later start of the program.
    void handleRequest(const QByteArray& request);

    bool isBusy() const { return busy_; }
    bool isInitialised() const { return initialised_; }
    bool isExiting() const { return exiting_; }
    // Milliseconds of a running timer, or 0 when it is not running.
    int timerInterval(int timerId) const;

signals:
    // Emitted when ExitApplication has finished; the application ends its event loop.
    void exited();

private:
    void onTimer(int timerId);
    void startTimer(int timerId, int milliseconds);
    void killTimer(int timerId);
    void createTrayIcon();
    void showTrayMenu();
    void onTrayNotify(std::intptr_t mouseMessage);
    void updateTrayTip();
    void saveAllNotes();

    Platform platform_;
    CNotesDatabase& store_;
    std::optional<std::string> dataDirOverride_;

    bool initialised_ = false;
    bool exiting_ = false;
    bool busy_ = false;

    std::map<int, QTimer*> timers_;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    std::unique_ptr<QMenu> trayMenu_;
};

}  // namespace bp
