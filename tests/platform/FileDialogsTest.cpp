// The desktop's file dialogs: where they start, and the extension a typed name gets before
// the open dialog looks for the file.
#include "platform/qt/QtDialogs.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;

namespace {

class FileDialogs : public ::testing::Test {
protected:
    FileDialogs() : previousHome_(qgetenv("HOME")) {
        qputenv("HOME", QByteArray::fromStdString(home.path()));
        // The program's own folder, where a dialog without a start folder would open.
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(work.path()));
    }
    ~FileDialogs() override {
        qputenv("HOME", previousHome_);
        QDir::setCurrent(previousFolder_);
    }

    // Answers the next dialog once it is open: notes the folder it shows, then types the
    // name and confirms, or cancels when the name is empty.
    void answerNext(const std::string& typed) {
        QTimer::singleShot(0, [this, typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            startedIn.push_back(dialog->directory().absolutePath().toStdString());
            if (typed.empty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(QString::fromStdString(typed));
            // A name the dialog refuses brings up its own message box: it is noted and
            // closed, and so is the dialog, instead of waiting for a user.
            QTimer::singleShot(0, [this] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    refusals.push_back(box->text().toStdString());
                    box->reject();
                }
            });
            // As the dialog's own button does: its checks run before it closes.
            static_cast<QDialog*>(dialog)->accept();
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
    }

    TempFolder home;
    TempFolder work;
    TempFolder elsewhere;
    QtFileDialogs dialogs;
    std::vector<std::string> startedIn;
    std::vector<std::string> refusals;

private:
    QByteArray previousHome_;
    QString previousFolder_;
};

constexpr const char* kFilter = "Dat Files (*.dat)";

std::string canonical(const std::string& path) {
    return std::filesystem::canonical(path).string();
}

TEST_F(FileDialogs, StartInTheHomeThenInTheFolderOfTheLastFileChosen) {
    answerNext("");
    EXPECT_EQ(dialogs.saveFile("Export Notes", kFilter, "dat"), "");
    answerNext(elsewhere.file("export1"));
    EXPECT_EQ(dialogs.saveFile("Export Notes", kFilter, "dat"), elsewhere.file("export1.dat"));
    writeFile(elsewhere.file("export1.dat"), "x");
    answerNext("");
    dialogs.openFile("Import Notes", kFilter, "dat");
    ASSERT_EQ(startedIn.size(), 3u);
    EXPECT_EQ(canonical(startedIn[0]), canonical(home.path())) << "a cancel chooses no folder";
    EXPECT_EQ(canonical(startedIn[1]), canonical(home.path()));
    EXPECT_EQ(canonical(startedIn[2]), canonical(elsewhere.path()));

    // A folder that has gone since is not offered.
    std::filesystem::remove_all(elsewhere.path());
    EXPECT_EQ(canonical(dialogs.startFolder().toStdString()), canonical(home.path()));
}

TEST_F(FileDialogs, OpenFindsTheFileExportWroteByTheNameItWasGiven) {
    writeFile(home.file("export1.dat"), "x");
    answerNext("export1");
    const std::string chosen = dialogs.openFile("Import Notes", kFilter, "dat");
    EXPECT_TRUE(refusals.empty()) << refusals.front();
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(canonical(chosen), canonical(home.file("export1.dat")));
}

}  // namespace
