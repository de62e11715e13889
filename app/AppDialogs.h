#pragma once

#include "manage/NotesManagerWindow.h"
#include "platform/Platform.h"

#include <QPointer>
#include <QString>

#include <functional>

class QDialog;

namespace bp {

class CNotesDatabase;
class HotKeys;
class IListWindowOwner;
class INoteDialogs;
class ISettingsOwner;

// What the dialogs need of the main window beyond the calls their windows make.
class IDialogHost {
public:
    virtual ~IDialogHost() = default;

    // Runs a modal dialog while no hot key, tray click or action acts; the dialog's result.
    virtual int runModal(QDialog& dialog) = 0;
    // The notes settings changed the sizes a note may take.
    virtual void noteSizeLimitsChanged() = 0;
};

// The windows the tray menu opens: About, the help page, the Notes Manager (made once, kept
// until exit), Find, the Recycle Bin and the two settings dialogs.
class AppDialogs {
public:
    AppDialogs(const Platform& platform, CNotesDatabase& store, IDialogHost& host,
               IListWindowOwner& listOwner, ISettingsOwner& settingsOwner, HotKeys& hotKeys,
               NotesManagerWindow::PrintRunner printRunner);
    ~AppDialogs();
    AppDialogs(const AppDialogs&) = delete;
    AppDialogs& operator=(const AppDialogs&) = delete;

    void showAbout();
    void showOnlineHelp();
    void createNotesManager();
    void showNotesManager();
    void toggleNotesManager();
    void showAppSettings();
    void showNotesSettings();
    // With the terms in its box and searched, when there are any.
    void showFind(const QString& terms = {});
    void showRecycleBin();

    // Null until made.
    NotesManagerWindow* notesManager() const { return manager_; }
    // Tells the Notes Manager, once it exists, that the notes changed, once the event loop
    // turns: the manager may be the one asking for the change.
    void postToManager(std::function<void(NotesManagerWindow&)> call);
    // Hides the manager at exit; it goes once the event loop runs again, as it may be inside
    // its own context menu.
    void retireManager();
    // The manager goes now, retired or not.
    void destroyManager();

    // The colour and font choosers of the notes settings; tests answer them.
    void setNoteDialogs(INoteDialogs* dialogs) { noteDialogs_ = dialogs; }

private:
    const Platform& platform_;
    CNotesDatabase& store_;
    IDialogHost& host_;
    IListWindowOwner& listOwner_;
    ISettingsOwner& settingsOwner_;
    HotKeys& hotKeys_;
    NotesManagerWindow::PrintRunner printRunner_;
    INoteDialogs* noteDialogs_ = nullptr;
    // Hidden, not destroyed, by its close box.
    NotesManagerWindow* manager_ = nullptr;
    // The manager after exit, until its deferred deletion has run.
    QPointer<QObject> retiredManager_;
};

}  // namespace bp
