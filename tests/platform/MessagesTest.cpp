#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace bp {
namespace {

struct Named {
    const char* name;
    int id;
};

// A window tells its commands apart by number only: two names of one window on one number
// would make one of them unreachable.
void expectDistinct(const std::vector<Named>& ids) {
    std::map<int, std::string> seen;
    for (const Named& n : ids) {
        auto [it, fresh] = seen.emplace(n.id, n.name);
        EXPECT_TRUE(fresh) << n.name << " and " << it->second << " share " << n.id;
    }
}

#define N(x)  \
    Named {   \
#x, x \
    }

TEST(Messages, MainWindowNumbersAreDistinct) {
    using namespace msg;
    expectDistinct({N(WM_TRAY_NOTIFY), N(WM_NOTE_DELETE_BY_WINDOW), N(WM_NOTE_HIDE),
                    N(WM_NOTE_PRINT), N(WM_NOTE_TITLE_MENU), N(WM_NOTE_CHANGED), N(WM_NOTE_RESTORE),
                    N(WM_NOTE_DELETE), N(WM_NOTE_NEW), N(WM_NOTE_SHOW), N(WM_NOTE_DUPLICATE),
                    N(WM_AUTOSAVE_CHANGED), N(WM_SHOW_TRAY_MENU)});
    using namespace cmd;
    expectDistinct({N(SHOW_MANAGER),
                    N(APP_SETTINGS),
                    N(NOTES_SETTINGS),
                    N(NEW_NOTE),
                    N(ABOUT),
                    N(ONLINE_HELP),
                    N(EXIT),
                    N(FIND),
                    N(IMPORT_NOTES),
                    N(EXPORT_NOTES),
                    N(SAVE_ALL),
                    N(SHOW_ALL),
                    N(HIDE_ALL),
                    N(CASCADE_ALL),
                    N(MINIMIZE_ALL),
                    N(RECYCLE_BIN),
                    N(KILL_AUTOLOCK_TIMERS),
                    N(UPDATE_TRAY_TIP),
                    N(STOP_OTHER_READING),
                    N(READING_ENDED),
                    N(REFRESH_MANAGER)});
    expectDistinct({N(hotkey::NEW_NOTE), N(hotkey::SHOW_ALL), N(hotkey::HIDE_ALL),
                    N(hotkey::TOGGLE_MANAGER), N(hotkey::SHOW_ATTACH)});
}

TEST(Messages, NoteWindowNumbersAreDistinct) {
    using namespace cmd;
    expectDistinct({N(NOTE_ACTIVATE),
                    N(NOTE_BRING_TO_FRONT),
                    N(NOTE_STOP_SOUND),
                    N(NOTE_STORE_BODY),
                    N(NOTE_MOVE_TO_STORED),
                    N(NOTE_COLLAPSE_AT_STORED),
                    N(NOTE_PRIORITY_HIGH),
                    N(NOTE_PRIORITY_REGULAR),
                    N(NOTE_PRIORITY_LOW),
                    N(NOTE_TRANSPARENCY),
                    N(NOTE_SET_SIZE),
                    N(NOTE_MAXIMIZE),
                    N(NOTE_LOCK),
                    N(NOTE_DUPLICATE),
                    N(NOTE_DELETE),
                    N(NOTE_SAVE_AS_TEXT),
                    N(NOTE_SAVE_AS_PICTURE),
                    N(NOTE_PRINT),
                    N(NOTE_SEND_EMAIL),
                    N(TITLE_EDIT),
                    N(TITLE_FONT),
                    N(TITLE_TEXT_COLOR),
                    N(NOTE_BODY_FONT),
                    N(NOTE_BODY_TEXT_COLOR),
                    N(NOTE_COLOR),
                    N(SELECTION_FONT),
                    N(SELECTION_TEXT_COLOR),
                    N(PARAGRAPH_SETTINGS),
                    N(EDIT_UNDO),
                    N(EDIT_REDO),
                    N(EDIT_CUT),
                    N(EDIT_COPY),
                    N(EDIT_PASTE),
                    N(EDIT_DELETE),
                    N(EDIT_SELECT_ALL),
                    N(EDIT_PASTE_PLAIN),
                    N(NOTE_UNLOCK),
                    N(NOTE_MINIMIZE),
                    N(NOTE_HIDE),
                    N(NOTE_ALARM_SETTINGS),
                    N(NOTE_BEGIN_MODAL),
                    N(NOTE_END_MODAL),
                    N(NOTE_POST_CHANGED),
                    N(NOTE_REFRESH_TOOLTIPS)});
    using namespace hotkey;
    expectDistinct(
        {N(BOLD), N(ITALIC), N(UNDERLINE), N(STRIKE_OUT), N(BODY_FONT), N(RANDOM_COLORS)});
}

TEST(Messages, TitleBarPanelAndDialogNumbersAreDistinct) {
    using namespace cmd;
    // The title bar passes the note's menu commands on, so its own must not collide with them.
    expectDistinct({N(TITLE_PRIORITY_BUTTON),
                    N(TITLE_CLOSE_BUTTON),
                    N(TITLE_MINIMIZE_BUTTON),
                    N(TITLE_READ_BUTTON),
                    N(TITLE_ALARM_BUTTON),
                    N(TITLE_STOP_SNOOZE_BUTTON),
                    N(TITLE_EXPIRATION_BUTTON),
                    N(TITLE_EDIT_DONE),
                    N(TITLE_FINISH_EDIT),
                    N(TITLE_END_EDIT),
                    N(TITLE_EDIT),
                    N(TITLE_FONT),
                    N(TITLE_TEXT_COLOR),
                    N(NOTE_MINIMIZE),
                    N(NOTE_DUPLICATE),
                    N(NOTE_SEND_EMAIL),
                    N(NOTE_LOCK),
                    N(NOTE_DELETE),
                    N(NOTE_UNLOCK),
                    N(NOTE_SET_SIZE),
                    N(SELECTION_FONT)});
    expectDistinct({N(MANAGER_RELOAD), N(MANAGER_NEW_BUTTON), N(MANAGER_SHOW_BUTTON),
                    N(MANAGER_HIDE_BUTTON), N(MANAGER_DELETE_BUTTON), N(MANAGER_PRINT_BUTTON),
                    N(MANAGER_ALARM_BUTTON), N(MANAGER_REFRESH_BUTTON), N(MANAGER_MENU_BUTTON),
                    N(MANAGER_MENU_NEW), N(MANAGER_MENU_SHOW), N(MANAGER_MENU_HIDE),
                    N(MANAGER_MENU_DELETE), N(MANAGER_MENU_PRINT), N(MANAGER_MENU_ALARM), N(DLG_OK),
                    N(DLG_CANCEL)});
    expectDistinct({N(BIN_RESTORE_BUTTON), N(BIN_DELETE_BUTTON), N(BIN_REFRESH_BUTTON),
                    N(BIN_EMPTY_BUTTON), N(BIN_MENU_RESTORE), N(BIN_MENU_DELETE), N(BIN_MENU_EMPTY),
                    N(DLG_OK), N(DLG_CANCEL)});
    expectDistinct({N(ALARM_OFF_RADIO), N(ALARM_ON_RADIO), N(ALARM_SNOOZE_CHECK),
                    N(ALARM_ACTIONS_BUTTON), N(DLG_OK), N(DLG_CANCEL)});
    expectDistinct({N(ACTIONS_OPEN_URL_CHECK), N(ACTIONS_GO_BUTTON), N(ACTIONS_OPEN_PROGRAM_CHECK),
                    N(ACTIONS_BROWSE_BUTTON), N(DLG_OK), N(DLG_CANCEL)});
    expectDistinct({N(DEFAULTS_TITLE_COLOR), N(DEFAULTS_TITLE_FONT), N(DEFAULTS_TEXT_COLOR),
                    N(DEFAULTS_COLOR), N(DEFAULTS_BODY_FONT), N(DEFAULTS_TRANSPARENCY),
                    N(DEFAULTS_RANDOM_COLORS_CHECK), N(DEFAULTS_AUTO_LOCK_CHECK), N(DLG_OK),
                    N(DLG_CANCEL)});
}

TEST(Messages, TheQuestionBoxAnswersAreItsButtons) {
    EXPECT_EQ(cmd::BOX_YES, 1);
    EXPECT_EQ(cmd::BOX_NO, 2);
    EXPECT_EQ(msg::WM_MANAGER_NOTE_CHANGED, cmd::MANAGER_NOTE_CHANGED);
    EXPECT_EQ(cmd::TITLE_ALARM_BUTTON, cmd::TITLE_OPEN_MENU);
}

#undef N

}  // namespace
}  // namespace bp
