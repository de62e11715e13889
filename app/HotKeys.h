#pragma once

#include <cstdint>

namespace bp {

class CNotesDatabase;
struct Platform;

// The program's global hot keys: the combinations the settings hold, registered with the
// desktop, and the fixed one that opens the tray menu. What a pressed key does is the main
// window's.
class HotKeys {
public:
    HotKeys(const Platform& platform, CNotesDatabase& store);

    // One stored combination under the id; nothing for none or one the keyboard lacks.
    void registerValue(std::uint32_t value, int id);
    void registerAll();
    // The settings dialog's change of one hot key, in force at once.
    void reRegister(int id, std::uint32_t value);
    void unregisterAll();

private:
    const Platform& platform_;
    CNotesDatabase& store_;
};

}  // namespace bp
