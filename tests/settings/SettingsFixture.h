#pragma once

#include "platform/fake/FakePlatform.h"
#include "settings/NumberField.h"
#include "store/NotesDatabase.h"
#include "support/RecordingOwner.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace bp::test {

// An open default database in a folder of its own, the fake desktop and a main window that
// records what the dialogs send it.
class SettingsFixture : public ::testing::Test, public StoreFixture {
protected:
    template <typename T>
    static T* control(QDialog& dialog, const char* name) {
        T* found = dialog.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Shows the dialog as the user would meet it, so that focus moves as it does on a desktop.
    static void showActive(QDialog& dialog) {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    // Types text over a field's number and leaves the field with Tab.
    static void typeAndLeave(CNumberField* field, const QString& text) {
        QLineEdit* edit = field->edit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }

    // Empties a field, types text key by key and leaves it with Tab; gives the refusals the
    // field showed on the way.
    static QStringList typeIntoEmptyAndLeave(CNumberField* field, const QString& text) {
        QSignalSpy refused(field, &CNumberField::refused);
        QLineEdit* edit = field->edit();
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
        QStringList reasons;
        for (const QList<QVariant>& arguments : refused) {
            reasons.append(arguments.at(0).toString());
        }
        return reasons;
    }

    // What a field shows of its range: beside it, and in its tool tip.
    static void expectRange(CNumberField* field, int minimum, int maximum) {
        const QString range = QStringLiteral("(%1\u2013%2)").arg(minimum).arg(maximum);
        EXPECT_EQ(field->findChild<QLabel*>("range")->text(), range)
            << field->objectName().toStdString();
        EXPECT_EQ(field->edit()->toolTip(),
                  QStringLiteral("A number from %1 to %2").arg(minimum).arg(maximum));
    }

    // Clicks OK as the user does; the click leaves the focus where it was.
    static void clickOk(QDialog& dialog) {
        QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    }

    RecordingOwner owner;
};

}  // namespace bp::test
