#pragma once

#include <QMenu>

#include <array>
#include <string>

namespace bp {

// The tray menu: a dark header band, the program's commands with 32-pixel icons, and the
// "Notes" and "Settings" submenus. It does nothing itself: the main window connects each
// item's action to what it does.
class TrayMenu : public QMenu {
    Q_OBJECT
public:
    enum class Item {
        NotesManager,
        ShowAll,
        HideAll,
        CascadeAll,
        MinimizeAll,
        NewNote,
        AppSettings,
        NotesSettings,
        Find,
        importNotes,
        exportNotes,
        RecycleBin,
        About,
        OnlineHelp,
        Save,
        Exit,
    };
    static constexpr std::size_t kItemCount = static_cast<std::size_t>(Item::Exit) + 1;

    explicit TrayMenu(QWidget* parent = nullptr);
    ~TrayMenu() override;

    // Called before each opening: the hot keys shown in the "Notes" submenu may have changed,
    // and so may the Recycle Bin setting.
    void prepare(bool recycleBinEnabled, const std::string& newNoteKey,
                 const std::string& showAllKey, const std::string& hideAllKey);

    // The item's action, in the menu or one of its submenus.
    QAction* action(Item item) const { return actions_[static_cast<std::size_t>(item)]; }
    QMenu* notesMenu() const { return notesMenu_; }
    QMenu* settingsMenu() const { return settingsMenu_; }

private:
    void addItem(QMenu* menu, const QString& text, Item item, const QString& icon = {});

    QMenu* notesMenu_ = nullptr;
    QMenu* settingsMenu_ = nullptr;
    std::array<QAction*, kItemCount> actions_{};
};

}  // namespace bp
