#pragma once

#include "note/BodyEditor.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/NoteMenus.h"
#include "note/Paragraph.h"
#include "note/Title.h"
#include "platform/fake/FakePlatform.h"
#include "support/RecordingOwner.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"
#include "ui/NoteDialogs.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bp::test {

// Answers the note's dialogs from the test instead of a user.
struct ScriptedDialogs : INoteDialogs {
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override {
        colorAskedWith = initial;
        return color;
    }
    std::optional<FontChoice> chooseFont(QWidget*, const FontChoice& initial) override {
        fontAskedWith = initial.font;
        fontColorAskedWith = initial.color;
        if (!font) {
            return std::nullopt;
        }
        return FontChoice{*font, fontColor.value_or(initial.color)};
    }
    bool runParagraph(CParagraph& dialog) override {
        shown = dialog.choice();
        if (answer) {
            answer(dialog);
        }
        return confirm;
    }
    std::optional<QColor> color;
    std::optional<QFont> font;
    std::optional<QColor> fontColor;  // unset: the colour the dialog opened with
    QColor colorAskedWith;
    QFont fontAskedWith;
    QColor fontColorAskedWith;
    ParagraphChoice shown;
    std::function<void(CParagraph&)> answer;
    bool confirm = true;
};

// A menu the note opened, as the user would have seen it.
struct SeenMenu {
    QString name;
    std::map<int, bool> enabled;
    std::map<int, bool> checked;
};

// An open default database (three sample notes) and notes built from it, shown offscreen.
class NoteFixture : public ::testing::Test, public StoreFixture {
protected:
    NoteFixture() {
        previousTracker = setMenuTracker([this](QMenu& menu, const QPoint&) {
            SeenMenu seen;
            seen.name = menu.objectName();
            collect(menu, seen);
            menus.push_back(seen);
            return menuAnswer;
        });
    }
    ~NoteFixture() override { setMenuTracker(std::move(previousTracker)); }

    CNotesDatabase& db() { return store; }

    CNote& open(std::int32_t nid, bool show = true) {
        notes.push_back(std::make_unique<CNote>(fakes.platform(), store, owner, nid));
        CNote& note = *notes.back();
        note.CreateFromRecord();
        note.setNoteDialogs(&dialogs);
        if (show) {
            note.ShowNote(true);
        }
        return note;
    }

    static void collect(const QMenu& menu, SeenMenu& seen) {
        for (QAction* action : menu.actions()) {
            if (action->menu() != nullptr) {
                collect(*action->menu(), seen);
            } else if (!action->isSeparator()) {
                seen.enabled[action->data().toInt()] = action->isEnabled();
                seen.checked[action->data().toInt()] = action->isChecked();
            }
        }
    }

    RecordingOwner owner;
    ScriptedDialogs dialogs;
    std::vector<SeenMenu> menus;
    int menuAnswer = 0;
    MenuTracker previousTracker;
    std::vector<std::unique_ptr<CNote>> notes;
};

}  // namespace bp::test
