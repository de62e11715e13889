#include "CommandBindings.h"

#include "MainWindow.h"
#include "platform/Messages.h"

namespace bp {

std::span<const TrayMenuBinding> trayMenuBindings() {
    using Item = TrayMenu::Item;
    static constexpr TrayMenuBinding kBindings[] = {
        {Item::NotesManager, [](MainWindow& w) { w.showNotesManager(); }},
        {Item::ShowAll, [](MainWindow& w) { w.showAllNotes(); }},
        {Item::HideAll, [](MainWindow& w) { w.hideAllNotes(); }},
        {Item::CascadeAll, [](MainWindow& w) { w.cascadeAllNotes(); }},
        {Item::MinimizeAll, [](MainWindow& w) { w.minimizeAllNotes(); }},
        {Item::NewNote, [](MainWindow& w) { w.createNewNote(); }},
        {Item::AppSettings, [](MainWindow& w) { w.showAppSettings(); }},
        {Item::NotesSettings, [](MainWindow& w) { w.showNotesSettings(); }},
        {Item::Find, [](MainWindow& w) { w.showFind(); }},
        {Item::importNotes, [](MainWindow& w) { w.importNotes(); }},
        {Item::exportNotes, [](MainWindow& w) { w.exportNotes(); }},
        {Item::RecycleBin, [](MainWindow& w) { w.showRecycleBin(); }},
        {Item::About, [](MainWindow& w) { w.showAbout(); }},
        {Item::OnlineHelp, [](MainWindow& w) { w.showOnlineHelp(); }},
        {Item::Save, [](MainWindow& w) { w.saveAllNotes(); }},
        {Item::Exit, [](MainWindow& w) { w.exitApplication(); }},
    };
    return kBindings;
}

Command hotKeyCommand(int id) {
    switch (id) {
        case hotkey::NEW_NOTE:
            return [](MainWindow& w) { w.createNewNote(); };
        case hotkey::SHOW_ALL:
            return [](MainWindow& w) { w.showAllNotes(); };
        case hotkey::HIDE_ALL:
            return [](MainWindow& w) { w.hideAllNotes(); };
        case hotkey::TOGGLE_MANAGER:
            return [](MainWindow& w) { w.toggleNotesManager(); };
        case hotkey::TRAY_MENU:
            return [](MainWindow& w) { w.showTrayMenu(); };
        default:
            return nullptr;
    }
}

}  // namespace bp
