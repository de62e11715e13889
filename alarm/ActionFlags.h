#pragma once

#include <array>
#include <string>

namespace bp {

// The alarm's actions as the dialogs show them: one flag per bit of remindAction, in bit
// order (pop-up and flash, flash, read, beep, shut down, play, open url, open program).
using ActionFlags = std::array<bool, 8>;

namespace action {
inline constexpr int PopUpAndFlash = 0;
inline constexpr int Flash = 1;
inline constexpr int Read = 2;
inline constexpr int Beep = 3;
inline constexpr int ShutDown = 4;
inline constexpr int Play = 5;
inline constexpr int OpenUrl = 6;
inline constexpr int OpenProgram = 7;
}  // namespace action

ActionFlags DecodeActionFlags(int remindAction);
// Every confirmed alarm does something: no flag at all counts as pop-up and flash. The two
// pop-up flags both stand for pop-up together with flashing, never pop-up alone.
int EncodeActionFlags(const ActionFlags& flags);
bool AnyAction(const ActionFlags& flags);

// What the alarm actions dialog holds: the flags and the three things to open.
struct AlarmActionsChoice {
    ActionFlags flags{};
    std::string soundFile;
    std::string url;
    std::string program;
};

// The first thing that keeps the alarm actions dialog from closing with OK, as the text of
// the warning, or the empty text when there is none. A flag whose field is empty is cleared
// in the choice, so the caller gets back only what can run.
std::string CheckAlarmActions(AlarmActionsChoice& choice);

// "Go" opens only web addresses, and only with the scheme written in small letters.
bool OpensAsWebAddress(const std::string& address);

}  // namespace bp
