#pragma once

namespace bp {

// The main window as the settings dialogs see it: what it must do at once when a setting
// changes on OK, beyond reading the new value the next time it needs it.
class ISettingsOwner {
public:
    virtual ~ISettingsOwner() = default;

    // The auto-save setting changed: its timer starts again with the new interval.
    virtual void autoSaveIntervalChanged() = 0;
    // The auto-lock setting was turned off: no note locks itself any more.
    virtual void stopAutoLockTimers() = 0;
    // Start-at-log-in was turned on or off: the desktop's autostart entry follows.
    virtual void autostartChanged() = 0;
};

}  // namespace bp
