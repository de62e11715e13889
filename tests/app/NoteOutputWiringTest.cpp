#include "app/MainWindow.h"
#include "attach/AttachPanel.h"
#include "note/Note.h"
#include "output/NoteOutput.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTreeWidget>

#include <filesystem>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;

namespace {

// Notes started by the main window carry their attach panel, and the Notes Manager's print
// reaches every chosen note through the main window.
class NoteOutputWiring : public ::testing::Test, public StoreFixture {
protected:
    void start() {
        store.SaveDatabase("");
        tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
        ASSERT_EQ(tray->initialize(), 1);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<MainWindow> tray;
};

TEST_F(NoteOutputWiring, NotesHaveTheirPanelShownAsTheirRecordAsks) {
    store.SetNoteInt(2, 1, "links");
    store.AttachFileToNote(2, 3, "https://example.org");
    start();
    auto* panel = dynamic_cast<AttachPanel*>(tray->findNote(2)->attachPanel());
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    ASSERT_EQ(panel->list()->topLevelItemCount(), 1);
    EXPECT_EQ(panel->list()->topLevelItem(0)->text(1), "https://example.org");
    EXPECT_EQ(panel->geometry().top(), tray->findNote(2)->geometry().bottom() + 1);
    ASSERT_NE(tray->findNote(1)->attachPanel(), nullptr);
    EXPECT_FALSE(tray->findNote(1)->attachPanel()->isVisible());
}

TEST_F(NoteOutputWiring, ManagersPrintGoesThroughTheMainWindowIntoOnePrinter) {
    start();
    const std::string pdf = folder.file("notes.pdf");
    fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
        QPrinter* printer = dynamic_cast<QPrintDialog&>(dialog).printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(pdf));
        return int(QDialog::Accepted);
    };
    std::vector<std::int32_t> printed;
    ASSERT_TRUE(
        printNotesWithOneDialog(nullptr, &fakes.modalDialogs, {1, 3}, [&](std::int32_t nid) {
            tray->printNote(nid);
            printed.push_back(nid);
        }));
    EXPECT_EQ(printed, (std::vector<std::int32_t>{1, 3}));
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_GT(std::filesystem::file_size(pdf), 0u);
    EXPECT_TRUE(fakes.messages.shown.empty());
    // Without a printer from the manager the message prints nothing.
    std::filesystem::remove(pdf);
    tray->printNote(1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
