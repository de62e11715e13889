#pragma once

// The numbers of the program's window messages, commands and timers. They are the system's
// own protocol between the main window, the notes and the dialogs: menus, buttons, timers
// and tests all raise the same numbers.
//
// Several windows reuse a number for different things (each window has its own set of
// commands, timers and controls), so a number is only meaningful together with the window
// that receives it. The groups below say which window that is.

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

// Message to the Notes Manager (wParam nid). Its number is also kept as
// cmd::MANAGER_NOTE_CHANGED, the name the first callers used.
inline constexpr int WM_MANAGER_NOTE_CHANGED = 40009;

}  // namespace bp::msg

namespace bp::cmd {

// ---- Main window ------------------------------------------------------------------------

// Tray menu commands handled by the main window.
inline constexpr int SHOW_MANAGER = 9;      // "Notes Manager"
inline constexpr int APP_SETTINGS = 300;    // "App Settings"
inline constexpr int NOTES_SETTINGS = 301;  // "Notes Settings"
inline constexpr int NEW_NOTE = 302;        // "New Note"
inline constexpr int ABOUT = 307;           // "About"
inline constexpr int ONLINE_HELP = 308;     // "On-line Help": the support web page
inline constexpr int EXIT = 310;            // "Exit"
inline constexpr int FIND = 632;            // "Find"
inline constexpr int IMPORT_NOTES = 633;    // "Import Notes"
inline constexpr int EXPORT_NOTES = 634;    // "Export Notes"
inline constexpr int SAVE_ALL = 664;        // "Save": every note stores its body, then save
inline constexpr int SHOW_ALL = 666;        // "Show All"
inline constexpr int HIDE_ALL = 667;        // "Close All"
inline constexpr int CASCADE_ALL = 669;     // "Cascade All"
inline constexpr int MINIMIZE_ALL = 670;    // "Minimize All": collapse every note
inline constexpr int RECYCLE_BIN = 717;     // "Recycle Bin"

// Commands to the main window from notes and dialogs.
inline constexpr int KILL_AUTOLOCK_TIMERS = 10108;
inline constexpr int UPDATE_TRAY_TIP = 10109;
inline constexpr int STOP_OTHER_READING = 10111;
inline constexpr int READING_ENDED = 10112;
inline constexpr int REFRESH_MANAGER = 10120;

// ---- Note window ------------------------------------------------------------------------

// Commands the main window sends to notes.
inline constexpr int NOTE_ACTIVATE = 343;
inline constexpr int NOTE_BRING_TO_FRONT = 616;
inline constexpr int NOTE_STOP_SOUND = 748;
inline constexpr int NOTE_STORE_BODY = 752;
inline constexpr int NOTE_MOVE_TO_STORED = 757;
inline constexpr int NOTE_COLLAPSE_AT_STORED = 758;
inline constexpr int TITLE_OPEN_MENU = 10205;  // to the title bar; also its alarm button

// The note menu (menu 30), opened by the priority button.
inline constexpr int NOTE_PRIORITY_HIGH = 319;
inline constexpr int NOTE_PRIORITY_REGULAR = 320;
inline constexpr int NOTE_PRIORITY_LOW = 321;
inline constexpr int NOTE_TRANSPARENCY = 326;  // transparency dialog
inline constexpr int NOTE_SET_SIZE = 641;      // "Set size" dialog
inline constexpr int NOTE_MAXIMIZE = 325;      // fill the screen
inline constexpr int NOTE_LOCK = 328;          // lock, or unlock a locked note
inline constexpr int NOTE_DUPLICATE = 153;
inline constexpr int NOTE_DELETE = 330;        // delete after confirmation
inline constexpr int NOTE_SAVE_AS_TEXT = 705;  // "Save as txt/rtf"
inline constexpr int NOTE_SAVE_AS_PICTURE = 741;
inline constexpr int NOTE_PRINT = 329;  // print with a print dialog
inline constexpr int NOTE_SEND_EMAIL = 157;

// The edit menus (menu 31 on the title bar, menu 32 on the body; identical).
inline constexpr int TITLE_EDIT = 311;        // rename the note in place
inline constexpr int TITLE_FONT = 312;        // handled by the title bar
inline constexpr int TITLE_TEXT_COLOR = 313;  // handled by the title bar
inline constexpr int NOTE_BODY_FONT = 316;
inline constexpr int NOTE_BODY_TEXT_COLOR = 317;
inline constexpr int NOTE_COLOR = 318;  // body and title background
inline constexpr int SELECTION_FONT = 40015;
inline constexpr int SELECTION_TEXT_COLOR = 40016;
inline constexpr int PARAGRAPH_SETTINGS = 185;
inline constexpr int EDIT_UNDO = 331;
inline constexpr int EDIT_REDO = 332;
inline constexpr int EDIT_CUT = 333;
inline constexpr int EDIT_COPY = 334;
inline constexpr int EDIT_PASTE = 335;
inline constexpr int EDIT_DELETE = 336;
inline constexpr int EDIT_SELECT_ALL = 337;
inline constexpr int EDIT_PASTE_PLAIN = 173;

// The "Unlock" menu (menu 7), shown instead of the others on a locked note.
inline constexpr int NOTE_UNLOCK = 339;

// Commands of the note's own buttons, windows and life cycle.
inline constexpr int NOTE_MINIMIZE = 327;        // collapse to the title bar or restore
inline constexpr int NOTE_HIDE = 10104;          // the close button
inline constexpr int NOTE_ALARM_SETTINGS = 338;  // open the alarm dialog
inline constexpr int NOTE_BEGIN_MODAL = 750;     // a note dialog opens: disable the attach panel
inline constexpr int NOTE_END_MODAL = 751;       // the dialog closed: enable it again
inline constexpr int NOTE_POST_CHANGED = 10099;  // tell the main window the note changed
inline constexpr int NOTE_REFRESH_TOOLTIPS = 10100;

// ---- Title bar --------------------------------------------------------------------------

inline constexpr int TITLE_PRIORITY_BUTTON = 10201;  // opens the note menu
inline constexpr int TITLE_CLOSE_BUTTON = 10202;
inline constexpr int TITLE_MINIMIZE_BUTTON = 956;
inline constexpr int TITLE_READ_BUTTON = 10211;
inline constexpr int TITLE_ALARM_BUTTON = TITLE_OPEN_MENU;
inline constexpr int TITLE_STOP_SNOOZE_BUTTON = 10206;
inline constexpr int TITLE_EXPIRATION_BUTTON = 10210;  // switches the note's expiry off
inline constexpr int TITLE_EDIT_DONE = 10101;          // the title editor closed: take its text
inline constexpr int TITLE_FINISH_EDIT = 10102;        // commit a pending title edit
inline constexpr int TITLE_END_EDIT = 10204;           // also commits a pending title edit

// ---- Notes Manager ----------------------------------------------------------------------

// From the main window, and the context menu's "Refresh" item.
inline constexpr int MANAGER_RELOAD = 40007;
inline constexpr int MANAGER_NOTE_CHANGED = 40009;

// Buttons of the manager.
inline constexpr int MANAGER_NEW_BUTTON = 134;
inline constexpr int MANAGER_SHOW_BUTTON = 135;
inline constexpr int MANAGER_HIDE_BUTTON = 136;
inline constexpr int MANAGER_DELETE_BUTTON = 131;
inline constexpr int MANAGER_PRINT_BUTTON = 138;
inline constexpr int MANAGER_ALARM_BUTTON = 137;
inline constexpr int MANAGER_REFRESH_BUTTON = 133;
inline constexpr int MANAGER_MENU_BUTTON = 1250;  // opens the tray menu

// Its context menu (menu 14); "Refresh" is MANAGER_RELOAD.
inline constexpr int MANAGER_MENU_NEW = 40008;
inline constexpr int MANAGER_MENU_SHOW = 40003;
inline constexpr int MANAGER_MENU_HIDE = 40004;
inline constexpr int MANAGER_MENU_DELETE = 747;
inline constexpr int MANAGER_MENU_PRINT = 40012;
inline constexpr int MANAGER_MENU_ALARM = 40011;

// ---- Recycle Bin ------------------------------------------------------------------------

inline constexpr int BIN_RESTORE_BUTTON = 711;
inline constexpr int BIN_DELETE_BUTTON = 712;
inline constexpr int BIN_REFRESH_BUTTON = 728;
inline constexpr int BIN_EMPTY_BUTTON = 713;
inline constexpr int BIN_MENU_RESTORE = 714;
inline constexpr int BIN_MENU_DELETE = 715;
inline constexpr int BIN_MENU_EMPTY = 716;

// ---- Dialogs ----------------------------------------------------------------------------

// Every dialog's default and cancel buttons; the question boxes' "Yes" and "No".
inline constexpr int DLG_OK = 1;
inline constexpr int DLG_CANCEL = 2;
inline constexpr int BOX_YES = DLG_OK;
inline constexpr int BOX_NO = DLG_CANCEL;

// About box.
inline constexpr int ABOUT_PRODUCT_LINK = 552;  // the product name opens the web site

// Find.
inline constexpr int FIND_SHOW_SELECTED = 1189;  // "Show Selected Notes"

// Alarm settings.
inline constexpr int ALARM_OFF_RADIO = 811;
inline constexpr int ALARM_ON_RADIO = 812;
inline constexpr int ALARM_SNOOZE_CHECK = 1197;
inline constexpr int ALARM_ACTIONS_BUTTON = 1199;  // opens the alarm actions dialog

// Alarm actions.
inline constexpr int ACTIONS_OPEN_URL_CHECK = 1210;     // enables the address and "Go"
inline constexpr int ACTIONS_GO_BUTTON = 604;           // open the address now
inline constexpr int ACTIONS_OPEN_PROGRAM_CHECK = 594;  // enables the path and "Browse"
inline constexpr int ACTIONS_BROWSE_BUTTON = 597;

// Transparency dialog: both apply the state to the note at once.
inline constexpr int TRANSPARENCY_CHECK = 470;
inline constexpr int TRANSPARENCY_TRACKBAR = 471;

// Application settings: each check box enables its count.
inline constexpr int APP_RECYCLE_BIN_CHECK = 498;
inline constexpr int APP_AUTO_BACKUP_CHECK = 500;

// Notes settings.
inline constexpr int DEFAULTS_TITLE_COLOR = 400;
inline constexpr int DEFAULTS_TITLE_FONT = 402;
inline constexpr int DEFAULTS_TEXT_COLOR = 403;
inline constexpr int DEFAULTS_COLOR = 404;  // body and title background
inline constexpr int DEFAULTS_BODY_FONT = 405;
inline constexpr int DEFAULTS_TRANSPARENCY = 406;
inline constexpr int DEFAULTS_RANDOM_COLORS_CHECK = 433;  // disables the colour buttons
inline constexpr int DEFAULTS_AUTO_LOCK_CHECK = 421;      // enables the lock time

}  // namespace bp::cmd

namespace bp::hotkey {

// System-wide hot keys of the main window.
inline constexpr int NEW_NOTE = 70;
inline constexpr int SHOW_ALL = 72;
inline constexpr int HIDE_ALL = 73;
inline constexpr int TOGGLE_MANAGER = 74;
inline constexpr int SHOW_ATTACH = 76;  // stored, but nothing acts on it or grabs it
// Opens the tray menu from the keyboard; fixed, so that it is the same on every desktop.
inline constexpr int TRAY_MENU = 77;
inline constexpr unsigned TRAY_MENU_KEY = 0x42;  // B, with Ctrl and Alt

// Formatting keys a note holds while the program is active.
inline constexpr int BOLD = 77;           // Ctrl+B
inline constexpr int ITALIC = 78;         // Ctrl+I
inline constexpr int UNDERLINE = 79;      // Ctrl+U
inline constexpr int STRIKE_OUT = 80;     // Ctrl+Shift+S
inline constexpr int BODY_FONT = 81;      // Ctrl+D
inline constexpr int RANDOM_COLORS = 82;  // Ctrl+Shift+R

}  // namespace bp::hotkey

namespace bp::ctl {

// Child windows and controls that code finds by number but that raise no command.
inline constexpr int NOTE_BODY = 10199;
inline constexpr int NOTE_TITLE_BAR = 10200;
inline constexpr int BOX_MESSAGE = 10208;  // the text of the program's message and question boxes
inline constexpr int TITLE_EDITOR_FIELD = 480;
inline constexpr int DELETE_NOTE_TEXT = 510;
inline constexpr int MANAGER_LIST = 132;
inline constexpr int BIN_LIST = 710;
inline constexpr int FIND_LIST = 1166;
inline constexpr int ATTACH_LIST = 724;
inline constexpr int ADD_URL_FIELD = 736;

}  // namespace bp::ctl

namespace bp::res {

// Icons.
inline constexpr int ICON_PROGRAM = 199;  // dialogs and the question box
inline constexpr int ICON_ABOUT = 200;
inline constexpr int ICON_TRAY = 201;         // every note visible
inline constexpr int ICON_TRAY_HIDDEN = 202;  // at least one note hidden
inline constexpr int ICON_WARNING = 205;      // the program's message box
inline constexpr int ICON_QUESTION = 206;
inline constexpr int ICON_ERROR = 207;  // a box telling that something failed

// Dialogs.
inline constexpr int DLG_ABOUT = 100;
inline constexpr int DLG_ANSWER_BOX = 102;
inline constexpr int DLG_TITLE_EDITOR = 104;
inline constexpr int DLG_NOTES_SETTINGS = 105;
inline constexpr int DLG_NOTES_SETTINGS_PREVIEW = 106;
inline constexpr int DLG_DELETE_NOTE = 107;
inline constexpr int DLG_MESSAGE_BOX = 110;
inline constexpr int DLG_TRANSPARENCY = 116;
inline constexpr int DLG_RECYCLE_BIN = 122;
inline constexpr int DLG_ADD_URL = 123;
inline constexpr int DLG_NOTES_MANAGER = 124;
inline constexpr int DLG_FIND = 156;
inline constexpr int DLG_PARAGRAPH = 177;
inline constexpr int DLG_SET_SIZE = 656;
inline constexpr int DLG_READING = 658;
inline constexpr int DLG_APP_SETTINGS = 672;
inline constexpr int DLG_ALARM_SETTINGS = 674;
inline constexpr int DLG_ALARM_PAGE = 677;
inline constexpr int DLG_ALARM_ACTIONS = 679;

// Menus.
inline constexpr int MENU_TRAY = 2;
inline constexpr int MENU_UNLOCK = 7;
inline constexpr int MENU_RECYCLE_BIN = 10;
inline constexpr int MENU_MANAGER = 14;
inline constexpr int MENU_NOTE = 30;
inline constexpr int MENU_TITLE_EDIT = 31;
inline constexpr int MENU_BODY_EDIT = 32;

// Title-button images (16 x 16, pure blue is transparent).
inline constexpr int BMP_PRIORITY_REGULAR = 41;
inline constexpr int BMP_PRIORITY_LOW = 42;
inline constexpr int BMP_PRIORITY_HIGH = 43;
inline constexpr int BMP_CLOSE = 51;
inline constexpr int BMP_MINIMIZE = 52;
inline constexpr int BMP_RESTORE = 53;
inline constexpr int BMP_LOCKED = 54;
inline constexpr int BMP_ALARM_OFF = 55;
inline constexpr int BMP_ALARM_ON = 56;
inline constexpr int BMP_EXPIRATION = 625;
inline constexpr int BMP_READ = 663;
inline constexpr int BMP_STOP_SNOOZE = 673;

// Attach panel row images.
inline constexpr int BMP_ATTACH_ASSOCIATION = 61;
inline constexpr int BMP_ATTACH_FILE = 62;
inline constexpr int BMP_ATTACH_MIXED = 67;

// Tray menu images (32 x 32).
inline constexpr int BMP_MENU_MANAGER = 643;
inline constexpr int BMP_MENU_SETTINGS = 646;
inline constexpr int BMP_MENU_RECYCLE_BIN = 650;
inline constexpr int BMP_MENU_FIND = 652;
inline constexpr int BMP_MENU_SAVE = 665;

}  // namespace bp::res
