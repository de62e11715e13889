#pragma once

// The numbers of the program's window messages, commands and timers. They are the system's
// own protocol between the main window, the notes and the dialogs: menus, buttons, timers
// and tests all raise the same numbers.
//
// Several windows reuse a number for different things (each window has its own set of
// commands, timers and controls), so a number is only meaningful together with the window
// that receives it. The groups below say which window that is.

namespace bp::cmd {

// ---- Note window ------------------------------------------------------------------------

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
inline constexpr int NOTE_ALARM_SETTINGS = 338;  // the alarm dialog, as the alarm button opens it
inline constexpr int NOTE_READ_ALOUD = 342;
inline constexpr int NOTE_EXPIRY = 343;       // "Expiry date…" dialog
inline constexpr int NOTE_ATTACHMENTS = 344;  // shows or hides the attach panel

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
inline constexpr int CHECKLIST = 40017;  // makes the selected paragraphs checklist items
inline constexpr int EDIT_PASTE_MARKDOWN = 40018;
inline constexpr int EDIT_COPY_MARKDOWN = 40019;  // the selection, or the whole note
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

// ---- Title bar --------------------------------------------------------------------------

inline constexpr int TITLE_PRIORITY_BUTTON = 10201;  // opens the note menu
inline constexpr int TITLE_CLOSE_BUTTON = 10202;
inline constexpr int TITLE_MINIMIZE_BUTTON = 956;
inline constexpr int TITLE_READ_BUTTON = 10211;
inline constexpr int TITLE_ALARM_BUTTON = 10205;
inline constexpr int TITLE_STOP_SNOOZE_BUTTON = 10206;
inline constexpr int TITLE_EXPIRATION_BUTTON = 10210;  // switches the note's expiry off

// ---- Dialogs ----------------------------------------------------------------------------

// Every dialog's default and cancel buttons; the question boxes' "Yes" and "No".
inline constexpr int DLG_OK = 1;
inline constexpr int DLG_CANCEL = 2;
inline constexpr int BOX_YES = DLG_OK;
inline constexpr int BOX_NO = DLG_CANCEL;

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
inline constexpr int CHECKLIST = 83;      // Ctrl+Shift+L

}  // namespace bp::hotkey

namespace bp::ctl {

// Child windows and controls that code finds by number but that raise no command.
inline constexpr int NOTE_BODY = 10199;
inline constexpr int NOTE_TITLE_BAR = 10200;
inline constexpr int BOX_MESSAGE = 10208;  // the text of the program's message and question boxes
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
