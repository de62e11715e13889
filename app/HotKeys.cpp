#include "HotKeys.h"

#include "TrayText.h"
#include "platform/KeyTable.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "store/Settings.h"

namespace bp {

HotKeys::HotKeys(const Platform& platform, CNotesDatabase& store)
    : platform_(platform), store_(store) {}

void HotKeys::registerValue(std::uint32_t value, int id) {
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

void HotKeys::registerAll() {
    registerValue(setting::get(store_, setting::hkNewNote), hotkey::NEW_NOTE);
    registerValue(setting::get(store_, setting::hkShowAll), hotkey::SHOW_ALL);
    registerValue(setting::get(store_, setting::hkHideAll), hotkey::HIDE_ALL);
    registerValue(setting::get(store_, setting::hkShowManager), hotkey::TOGGLE_MANAGER);
    if (platform_.hotKeys != nullptr) {
        platform_.hotKeys->registerKey(hotkey::TRAY_MENU, IHotKeys::Ctrl | IHotKeys::Alt,
                                       hotkey::TRAY_MENU_KEY);
    }
}

void HotKeys::reRegister(int id, std::uint32_t value) {
    if (platform_.hotKeys == nullptr) {
        return;
    }
    platform_.hotKeys->unregisterKey(id);
    // Nothing acts on the attach panel's key, so it takes no combination from other programs.
    if (id != hotkey::SHOW_ATTACH) {
        registerValue(value, id);
    }
}

void HotKeys::unregisterAll() {
    if (platform_.hotKeys == nullptr) {
        return;
    }
    for (const int id : {hotkey::NEW_NOTE, hotkey::SHOW_ALL, hotkey::HIDE_ALL,
                         hotkey::TOGGLE_MANAGER, hotkey::TRAY_MENU}) {
        platform_.hotKeys->unregisterKey(id);
    }
}

}  // namespace bp
