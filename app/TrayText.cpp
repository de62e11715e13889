#include "TrayText.h"

#include "ProductInfo.h"
#include "platform/KeyTable.h"

#include <cctype>
#include <cstdio>

namespace bp {

std::string trayTipText(int created, int visible, int invisible, int missedAlarms) {
    std::string tip = std::string(kProductName) + "\r\nCreated notes: " + std::to_string(created) +
                      "\r\nVisible notes: " + std::to_string(visible) +
                      "\r\nInvisible notes: " + std::to_string(invisible);
    if (missedAlarms > 0) {
        tip += "\r\n" + std::to_string(missedAlarms) +
               (missedAlarms == 1 ? " missed alarm" : " missed alarms");
    }
    return tip;
}

HotKeyValue decodeHotKey(std::uint32_t value) {
    HotKeyValue key;
    key.virtualKey = value >> 16;
    key.shift = (value & 1u) != 0;
    key.ctrl = (value & 2u) != 0;
    key.alt = (value & 4u) != 0;
    key.extended = (value & 8u) != 0;
    return key;
}

std::string HotKeyText(std::uint32_t value) {
    const HotKeyValue key = decodeHotKey(value);
    std::string text;
    if (key.ctrl) {
        text += "Ctrl + ";
    }
    if (key.alt) {
        text += "Alt + ";
    }
    if (key.shift) {
        text += "Shift + ";
    }
    std::string name = keyNameForVirtualKey(key.virtualKey, key.extended);
    if (name.size() > 7) {
        name.resize(7);
    }
    return text + name;
}

std::string withDatExtension(std::string path) {
    std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    for (char& c : tail) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (tail != ".dat") {
        path += ".dat";
    }
    return path;
}

std::string aboutVersionText() {
    int major = 0;
    int minor = 0;
    int patch = 0;
    std::sscanf(kProductVersion, "%d.%d.%d", &major, &minor, &patch);
    return std::string(kProductName) + " version " + std::to_string(major) + "." +
           std::to_string(minor) + "." + std::to_string(patch);
}

}  // namespace bp
