// Every window and dialog the program shows, walked as a screen reader walks it: a control the
// keyboard can reach must say what it is.
#include "alarmui/AlarmActionsDialog.h"
#include "alarmui/StopAlarm.h"
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "attach/AttachPanel.h"
#include "attach/AttachUrl.h"
#include "note/DeleteNoteDialog.h"
#include "note/Note.h"
#include "note/Paragraph.h"
#include "note/ReadAloud.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"
#include "ui/FontDialog.h"
#include "ui/MessageBoxes.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace bp;
using namespace bp::test;

namespace {

// Roles of the controls a user works; containers and panes are named by what they hold.
bool isControl(QAccessible::Role role) {
    switch (role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::EditableText:
        case QAccessible::SpinBox:
        case QAccessible::ComboBox:
        case QAccessible::Slider:
        case QAccessible::List:
        case QAccessible::Table:
        case QAccessible::Tree:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::HotkeyField:
        case QAccessible::Link:
        case QAccessible::StaticText:
            return true;
        default:
            return false;
    }
}

// The focusable controls of window whose accessible name is empty, as "Class objectName".
std::vector<std::string> unnamedControls(QWidget& window) {
    std::vector<std::string> unnamed;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        // A widget that hands its focus to another is never read itself.
        if ((w->focusPolicy() & Qt::TabFocus) == 0 || !w->isVisibleTo(&window) || w->isWindow() ||
            w->focusProxy() != nullptr) {
            continue;
        }
        // The part of a compound control (a spin box's line edit, a calendar's grid) is read
        // with the name of the control it belongs to.
        QWidget* named = nullptr;
        QAccessibleInterface* iface = nullptr;
        for (QWidget* up = w; up != nullptr && up != &window; up = up->parentWidget()) {
            const bool part = up == w || up->focusProxy() == w || w->focusProxy() == up ||
                              qobject_cast<QAbstractSpinBox*>(up) != nullptr ||
                              qobject_cast<QCalendarWidget*>(up) != nullptr;
            QAccessibleInterface* candidate = QAccessible::queryAccessibleInterface(up);
            if (part && candidate != nullptr && isControl(candidate->role())) {
                named = up;
                iface = candidate;
            }
        }
        if (iface == nullptr) {
            continue;
        }
        if (iface->text(QAccessible::Name).trimmed().isEmpty()) {
            unnamed.push_back(std::string(named->metaObject()->className()) + " " +
                              named->objectName().toStdString() + " role " +
                              std::to_string(iface->role()));
        }
    }
    return unnamed;
}

class AccessibleNames : public ::testing::Test, public StoreFixture {
public:
    AccessibleNames() : StoreFixture(Open::ByTheProgram) {
        fakes.clock.set(2024, 5, 6, 7, 8, 9);
        tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
        EXPECT_EQ(tray->initialize(), 1);
        fakes.modalDialogs.whileOpen = [this](QDialog& dialog) {
            check(dialog);
            return 0;
        };
    }
    ~AccessibleNames() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog*>(w) != nullptr) {
                w->hide();
            }
        }
    }

    void check(QWidget& window) {
        const std::string name = window.metaObject()->className();
        seen.insert(name);
        for (const std::string& control : unnamedControls(window)) {
            unnamed.insert(name + ": " + control);
        }
    }
    // Windows the program shows without running them modally.
    void checkShownWindows() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible()) {
                check(*w);
            }
        }
    }

    std::unique_ptr<MainWindow> tray;
    std::set<std::string> seen;
    std::set<std::string> unnamed;
};

struct Shown {
    const char* window;
    std::function<void(AccessibleNames&, MainWindow&)> show;
};

TEST_F(AccessibleNames, EveryFocusableControlHasAName) {
    CNote& note = tray->noteAt(0);
    note.ShowNote(true);
    const Shown windows[] = {
        {"bp::AppSettingsDialog", [](auto&, auto& t) { t.showAppSettings(); }},
        {"bp::NotesSettingsDialog", [](auto&, auto& t) { t.showNotesSettings(); }},
        {"bp::CAboutBox", [](auto&, auto& t) { t.showAbout(); }},
        {"bp::NotesManagerWindow", [](auto&, auto& t) { t.showNotesManager(); }},
        {"bp::FindWindow", [](auto&, auto& t) { t.showFind(); }},
        {"bp::RecycleBinWindow", [](auto&, auto& t) { t.showRecycleBin(); }},
        {"bp::CNote", [](auto&, auto&) {}},
        {"bp::CTransparency", [](auto&, auto& t) { t.noteAt(0).chooseTransparency(); }},
        {"bp::CSetSize", [](auto&, auto& t) { t.noteAt(0).chooseSize(); }},
        {"bp::CAlarmDialog", [](auto&, auto& t) { t.noteAt(0).OpenAlarmDialog(); }},
        {"bp::CAlarmActions",
         [](auto& f, auto&) {
             CAlarmActions d(nullptr, &f.fakes.shell, &f.fakes.fileDialogs, &f.fakes.messages);
             f.check(d);
         }},
        {"bp::CDeleteNote",
         [](auto& f, auto&) {
             CDeleteNote d(nullptr, "Shopping", "Monday", "1");
             f.check(d);
         }},
        {"bp::CFontDialog",
         [](auto& f, auto&) {
             CFontDialog d(nullptr, FontChoice{QFont(), Qt::black});
             f.check(d);
         }},
        {"bp::CParagraph",
         [](auto& f, auto&) {
             CParagraph d(nullptr);
             f.check(d);
         }},
        {"bp::CMessageBox",
         [](auto& f, auto&) {
             CMessageBox d(nullptr, "Brightpost", "", "Saved.", 0);
             f.check(d);
         }},
        {"bp::CAnswerBox",
         [](auto& f, auto&) {
             CAnswerBox d(nullptr, "Brightpost", "", "Delete?", 0);
             f.check(d);
         }},
        {"bp::CReadingWindow",
         [](auto& f, auto&) {
             CReadingWindow d;
             f.check(d);
         }},
        {"bp::CAttachUrl",
         [](auto& f, auto&) {
             CAttachUrl d(nullptr);
             f.check(d);
         }},
        {"bp::AttachPanel",
         [](auto& f, auto& t) {
             AttachPanel box(t.noteAt(0));
             f.check(box);
         }},
        {"bp::CStopAlarm",
         [](auto& f, auto& t) {
             CStopAlarm stop(t.noteAt(0).alarm());
             f.check(stop);
         }},
    };
    for (const Shown& w : windows) {
        w.show(*this, *tray);
        QCoreApplication::processEvents();
        checkShownWindows();
        EXPECT_TRUE(seen.count(w.window)) << w.window << " was not shown";
    }
    EXPECT_EQ(unnamed, std::set<std::string>{});
}

}  // namespace
