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
    expectDistinct({N(hotkey::NEW_NOTE), N(hotkey::SHOW_ALL), N(hotkey::HIDE_ALL),
                    N(hotkey::TOGGLE_MANAGER), N(hotkey::SHOW_ATTACH)});
}

TEST(Messages, NoteWindowNumbersAreDistinct) {
    using namespace cmd;
    expectDistinct({N(NOTE_PRIORITY_HIGH),
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
                    N(NOTE_UNLOCK)});
    using namespace hotkey;
    expectDistinct(
        {N(BOLD), N(ITALIC), N(UNDERLINE), N(STRIKE_OUT), N(BODY_FONT), N(RANDOM_COLORS)});
}

TEST(Messages, TitleBarPanelAndDialogNumbersAreDistinct) {
    using namespace cmd;
    // The title bar passes the note's menu commands on, so its own must not collide with them.
    expectDistinct({N(TITLE_PRIORITY_BUTTON), N(TITLE_CLOSE_BUTTON), N(TITLE_MINIMIZE_BUTTON),
                    N(TITLE_READ_BUTTON), N(TITLE_ALARM_BUTTON), N(TITLE_STOP_SNOOZE_BUTTON),
                    N(TITLE_EXPIRATION_BUTTON), N(TITLE_EDIT), N(TITLE_FONT), N(TITLE_TEXT_COLOR),
                    N(NOTE_DUPLICATE), N(NOTE_SEND_EMAIL), N(NOTE_LOCK), N(NOTE_DELETE),
                    N(NOTE_UNLOCK), N(NOTE_SET_SIZE), N(SELECTION_FONT)});
    expectDistinct({N(ALARM_OFF_RADIO), N(ALARM_ON_RADIO), N(ALARM_SNOOZE_CHECK),
                    N(ALARM_ACTIONS_BUTTON), N(DLG_OK), N(DLG_CANCEL)});
    expectDistinct({N(ACTIONS_OPEN_URL_CHECK), N(ACTIONS_GO_BUTTON), N(ACTIONS_OPEN_PROGRAM_CHECK),
                    N(ACTIONS_BROWSE_BUTTON), N(DLG_OK), N(DLG_CANCEL)});
}

TEST(Messages, TheQuestionBoxAnswersAreItsButtons) {
    EXPECT_EQ(cmd::BOX_YES, 1);
    EXPECT_EQ(cmd::BOX_NO, 2);
}

#undef N

}  // namespace
}  // namespace bp
