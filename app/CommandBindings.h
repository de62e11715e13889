#pragma once

#include "TrayMenu.h"

#include <span>

namespace bp {

class MainWindow;

// Which of the main window's commands each item of the tray menu and each global hot key runs.
using Command = void (*)(MainWindow& window);

struct TrayMenuBinding {
    TrayMenu::Item item;
    Command run;
};
std::span<const TrayMenuBinding> trayMenuBindings();

// Null for an id no hot key has.
Command hotKeyCommand(int id);

}  // namespace bp
