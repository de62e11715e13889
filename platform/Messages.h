#pragma once

// The numbers of the program's window messages, commands and timers. They are the system's
// own protocol between the main window, the notes and the dialogs: menus, buttons, timers
// and tests all raise the same numbers.

namespace bp::msg {

// Tray icon notification (wParam icon id, lParam mouse message).
inline constexpr int WM_TRAY_NOTIFY = 10001;
inline constexpr int TRAY_ICON_ID = 10207;
inline constexpr int MOUSE_LBUTTONDOWN = 513;
inline constexpr int MOUSE_LBUTTONDBLCLK = 515;
inline constexpr int MOUSE_RBUTTONDOWN = 516;

// Messages to the main window.
inline constexpr int WM_NOTE_DELETE_BY_WINDOW = 10002;
inline constexpr int WM_NOTE_HIDE = 10003;
inline constexpr int WM_NOTE_PRINT = 10006;
inline constexpr int WM_NOTE_TITLE_MENU = 10007;
inline constexpr int WM_NOTE_CHANGED = 10009;
inline constexpr int WM_NOTE_RESTORE = 10012;
inline constexpr int WM_NOTE_DELETE = 10013;
inline constexpr int WM_NOTE_NEW = 10014;
inline constexpr int WM_NOTE_SHOW = 10015;
inline constexpr int WM_NOTE_DUPLICATE = 10017;
inline constexpr int WM_AUTOSAVE_CHANGED = 10019;
inline constexpr int WM_SHOW_TRAY_MENU = 10020;

}  // namespace bp::msg

namespace bp::cmd {

// Tray menu commands handled by the main window.
inline constexpr int EXIT = 310;

// Commands to the main window from notes and dialogs.
inline constexpr int KILL_AUTOLOCK_TIMERS = 10108;
inline constexpr int UPDATE_TRAY_TIP = 10109;
inline constexpr int STOP_OTHER_READING = 10111;
inline constexpr int READING_ENDED = 10112;
inline constexpr int REFRESH_MANAGER = 10120;

// Commands the main window sends to notes.
inline constexpr int NOTE_ACTIVATE = 343;
inline constexpr int NOTE_BRING_TO_FRONT = 616;
inline constexpr int NOTE_STOP_SOUND = 748;
inline constexpr int NOTE_STORE_BODY = 752;
inline constexpr int NOTE_MOVE_TO_STORED = 757;
inline constexpr int NOTE_COLLAPSE_AT_STORED = 758;
inline constexpr int TITLE_OPEN_MENU = 10205;

// To the Notes Manager.
inline constexpr int MANAGER_RELOAD = 40007;
inline constexpr int MANAGER_NOTE_CHANGED = 40009;

}  // namespace bp::cmd

namespace bp::timer {

inline constexpr int TRAY_TIP = 3;
inline constexpr int AUTO_SAVE = 9;

}  // namespace bp::timer
