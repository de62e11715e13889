#include "attach/AttachPanel.h"
#include "attach/AttachRows.h"
#include "attach/AttachUrl.h"
#include "note/NoteFixture.h"
#include "platform/Messages.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

#include <filesystem>
#include <tuple>

using namespace bp;
using namespace bp::test;

namespace {

// The rows a list of records makes, as (display type, name) in list order.
using Shown = std::vector<std::pair<int, std::string>>;

Shown shown(const std::vector<AttachRecord>& records) {
    Shown out;
    for (const CAttachedFiles& row : attachRows(records)) {
        out.emplace_back(row.displayType, row.name);
    }
    return out;
}

TEST(AttachRows, MergeRecordsOfOneNameAndSortByKindThenName) {
    struct Case {
        const char* what;
        std::vector<AttachRecord> records;
        Shown rows;
    };
    const Case cases[] = {
        {"a file and its association are one mixed row",
         {{1, 0, "/tmp/a"}, {2, 1, "/tmp/a"}},
         {{2, "/tmp/a"}}},
        {"a file and the same text as an address keep the first kind",
         {{1, 3, "/tmp/a"}, {2, 0, "/tmp/a"}},
         {{3, "/tmp/a"}}},
        {"names match in case only",
         {{1, 0, "/tmp/A"}, {2, 1, "/tmp/a"}},
         {{0, "/tmp/A"}, {1, "/tmp/a"}}},
        {"files, associations, mixed rows, addresses, windows; each group by byte order",
         {{1, 6, "Editor"},
          {2, 3, "http://b"},
          {3, 0, "/z"},
          {4, 1, "/assoc"},
          {5, 3, "http://a"},
          {6, 0, "/Z"},
          {7, 0, "/m"},
          {8, 6, "/m"},
          {9, 0, "/\xC3\xA9"}},
         {{0, "/Z"},
          {0, "/z"},
          {0, "/\xC3\xA9"},
          {1, "/assoc"},
          {2, "/m"},
          {3, "http://a"},
          {3, "http://b"},
          {6, "Editor"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shown(c.records), c.rows) << c.what;
    }
    // The row keeps the fid of the first record of its name.
    EXPECT_EQ(attachRows({{4, 1, "/x"}, {2, 0, "/x"}}).front().fid, 4);
}

TEST(AttachRows, FilesShowTheirOwnNameAndAddressesTheWholeText) {
    const std::tuple<int, std::string, std::string> cases[] = {
        {kAttachFile, "/home/ann/report.txt", "report.txt"},
        {kAttachFile, "/home/ann/Photos/", "Photos"},
        {kAttachFile, "relative.txt", "relative.txt"},
        {kAttachFile, "/", "/"},
        {kAttachAssociation, "/usr/bin/editor", "editor"},
        {kAttachMixed, "/tmp/a b/c\xC3\xA9.odt", "c\xC3\xA9.odt"},
        {kAttachAddress, "http://example.org/a/b", "http://example.org/a/b"},
        {kAttachWindow, "Editor - /tmp/x", "Editor - /tmp/x"},
    };
    for (const auto& [type, name, expected] : cases) {
        EXPECT_EQ(shownAttachName(type, name), expected) << name;
    }
}

class FileBox : public NoteFixture {
protected:
    FileBox() : note(open(1)), box(new AttachPanel(note)) {
        note.setAttachPanel(box);
        fakes.modalDialogs.whileOpen = [](QDialog&) { return int(QDialog::Rejected); };
    }

    void attach(int type, const std::string& name) {
        ASSERT_GT(db().AttachFileToNote(1, type, name), 0);
        box->refresh();
    }

    QTreeWidgetItem* item(int index) { return box->list()->topLevelItem(index); }

    void select(int index) {
        box->list()->clearSelection();
        item(index)->setSelected(true);
    }

    // The panel's menu as the user saw it, with the choice answered.
    SeenMenu contextMenu(int choose = 0) {
        menus.clear();
        menuAnswer = choose;
        box->openContextMenu(QPoint(10, 10));
        EXPECT_EQ(menus.size(), 1u);
        return menus.empty() ? SeenMenu{} : menus.front();
    }

    std::vector<std::pair<int, std::string>> records() {
        std::vector<std::pair<int, std::string>> out;
        for (std::int32_t fid : db().GetNoteAttachedFiles(1, 1, 5).value_or(IdList{})) {
            std::string name;
            db().GetNoteAttachedFilename(1, 1, fid, name);
            out.emplace_back(db().GetNoteAttachedFiletype(1, 1, fid), name);
        }
        return out;
    }

    static QImage iconImage(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

    CNote& note;
    AttachPanel* box;
};

TEST_F(FileBox, MergedRowsShowTheirImageAndDeleteAsksForEachRecord) {
    attach(0, "/tmp/report.txt");
    store.AttachFileToNote(1, 1, "/tmp/report.txt");
    attach(3, "/tmp/plan");
    attach(0, "/tmp/plan");

    ASSERT_EQ(box->list()->topLevelItemCount(), 2);
    EXPECT_EQ(item(0)->text(1), "report.txt");
    EXPECT_EQ(iconImage(item(0)->icon(0)), iconImage(QIcon(":/icons/attach-mixed.svg")));
    EXPECT_EQ(item(1)->text(1), "/tmp/plan");
    EXPECT_EQ(box->rowOf(item(1))->displayType, 3);
    EXPECT_EQ(iconImage(item(1)->icon(0)), iconImage(QIcon(":/icons/attach-file.svg")));

    select(0);
    fakes.messages.answers = {true, false};
    contextMenu(AttachPanel::kMenuDelete);
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_EQ(fakes.messages.shown[0].text,
              "Do you want to detach '/tmp/report.txt' from the note?");
    EXPECT_EQ(fakes.messages.shown[1].text,
              "Do you want to remove association with '/tmp/report.txt'?");
    EXPECT_EQ(fakes.messages.shown[0].caption, "Warning");
    EXPECT_EQ(fakes.messages.shown[0].iconId, res::ICON_QUESTION);
    // Only the record answered with yes goes; the row is now a plain association.
    EXPECT_EQ(records(), (std::vector<std::pair<int, std::string>>{
                             {1, "/tmp/report.txt"}, {3, "/tmp/plan"}, {0, "/tmp/plan"}}));
    EXPECT_EQ(box->rowOf(item(0))->displayType, 1);
    EXPECT_TRUE(box->isEnabled()) << "the question's modal bracket is closed again";
}

TEST_F(FileBox, WindowAssociationsAsksItsOwnQuestionAndDoesNotOpen) {
    attach(6, "Calculator");
    attach(0, "/home/u/missing file.pdf");  // gone from the disk, still listed
    ASSERT_EQ(box->list()->topLevelItemCount(), 2);
    box->openRow(item(1));
    EXPECT_TRUE(fakes.shell.opened.empty());
    box->openRow(item(0));
    EXPECT_EQ(fakes.shell.opened, std::vector<std::string>{"/home/u/missing file.pdf"});

    select(1);
    fakes.messages.answers = {true};
    contextMenu(AttachPanel::kMenuDelete);
    EXPECT_EQ(fakes.messages.shown.back().text,
              "Do you want to remove association for application with window title "
              "'Calculator'?");
    select(0);
    fakes.messages.answers = {true};
    contextMenu(AttachPanel::kMenuDelete);
    EXPECT_TRUE(records().empty());
    EXPECT_EQ(box->list()->topLevelItemCount(), 0);
}

TEST_F(FileBox, MenuOffersRunAndDeleteOnlyForASelection) {
    attach(3, "http://example.org/a?b=1&c=2");
    SeenMenu menu = contextMenu();
    EXPECT_EQ(menu.name, "attach");
    EXPECT_EQ(menu.enabled, (std::map<int, bool>{{AttachPanel::kMenuRun, false},
                                                 {AttachPanel::kMenuAddFile, true},
                                                 {AttachPanel::kMenuAddUrl, true},
                                                 {AttachPanel::kMenuAddFolder, true},
                                                 {AttachPanel::kMenuDelete, false}}));
    contextMenu(AttachPanel::kMenuDelete);
    EXPECT_TRUE(fakes.messages.shown.empty());

    select(0);
    menu = contextMenu(AttachPanel::kMenuRun);
    EXPECT_TRUE(menu.enabled[AttachPanel::kMenuRun]);
    EXPECT_TRUE(menu.enabled[AttachPanel::kMenuDelete]);
    EXPECT_EQ(fakes.shell.opened, std::vector<std::string>{"http://example.org/a?b=1&c=2"});
}

TEST_F(FileBox, AttachFileFromTheMenuWhileTheNoteIsModal) {
    const std::string path = folder.file("plan.txt");
    fakes.fileDialogs.answers = {path, path};
    bool disabledWhileOpen = false;
    fakes.fileDialogs.whileOpen = [&] {
        disabledWhileOpen = !box->isEnabled() && note.modalOpen();
    };
    contextMenu(AttachPanel::kMenuAddFile);
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(note.modalOpen());
    ASSERT_EQ(fakes.fileDialogs.calls.size(), 1u);
    EXPECT_EQ(fakes.fileDialogs.calls[0].kind, "open");
    EXPECT_EQ(fakes.fileDialogs.calls[0].filter.rfind("All Files (*);;Exe Files (*.exe)", 0), 0u);
    // The same file again is not added a second time.
    contextMenu(AttachPanel::kMenuAddFile);
    EXPECT_EQ(records(), (std::vector<std::pair<int, std::string>>{{0, path}}));
    EXPECT_EQ(box->list()->topLevelItemCount(), 1);
}

TEST_F(FileBox, AddressDialogStartsWithTheSchemeAndTakesItAsItIs) {
    fakes.modalDialogs.whileOpen = [](QDialog& dialog) {
        auto& url = dynamic_cast<CAttachUrl&>(dialog);
        EXPECT_EQ(dialog.windowTitle(), "Add url");
        EXPECT_EQ(url.field()->text(), "http://");
        EXPECT_EQ(url.field()->cursorPosition(), 7);
        return int(QDialog::Accepted);
    };
    contextMenu(AttachPanel::kMenuAddUrl);
    EXPECT_EQ(records(), (std::vector<std::pair<int, std::string>>{{3, "http://"}}));

    fakes.modalDialogs.whileOpen = [](QDialog& dialog) {
        dynamic_cast<CAttachUrl&>(dialog).field()->clear();
        return int(QDialog::Accepted);
    };
    contextMenu(AttachPanel::kMenuAddUrl);
    fakes.modalDialogs.whileOpen = [](QDialog&) { return int(QDialog::Rejected); };
    contextMenu(AttachPanel::kMenuAddUrl);
    EXPECT_EQ(records().size(), 1u) << "an empty field and Cancel add nothing";
}

TEST_F(FileBox, NamesWithMarkupAndNonAsciiAreShownAndOpenedAsTyped) {
    const std::string name = "/tmp/a<b>&\"c\" </file> \xC3\xBC\xE2\x82\xAC.txt";
    attach(0, name);
    // A mark-up token in a name is stored escaped (the store never unescapes); it cannot
    // break the note's records.
    attach(3, "http://x/|<|<|<|<|<y>|>|>|>|>|");
    ASSERT_TRUE(db().SaveDatabase(""));
    EXPECT_EQ(readFile(folder.file("Brightpost.dat")).find("|<|<|<|<|<y"), std::string::npos);
    EXPECT_EQ(records(), (std::vector<std::pair<int, std::string>>{
                             {0, name}, {3, "http://x/| <|<|<|<|<y> |>|>|>|> |"}}));

    ASSERT_EQ(box->list()->topLevelItemCount(), 2);
    EXPECT_EQ(item(0)->toolTip(1), QString::fromUtf8(name.c_str()));
    box->openRow(item(0));
    EXPECT_EQ(fakes.shell.opened, std::vector<std::string>{name});
    for (int i : {1, 0}) {
        select(i);
        fakes.messages.answers = {true};
        contextMenu(AttachPanel::kMenuDelete);
    }
    EXPECT_TRUE(records().empty());
}

TEST_F(FileBox, ShowsNamesWithTheirPathsInTipsAHintWhenEmptyAndNoSidewaysScrolling) {
    box->show();
    QWidget* hint = box->findChild<QWidget*>("attachHint");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());

    const std::string longName =
        folder.file("a rather long file name that is wider than the whole panel is.txt");
    attach(kAttachFile, longName);
    attach(kAttachAddress, "https://example.org/page");
    EXPECT_FALSE(hint->isVisible());
    ASSERT_EQ(box->list()->topLevelItemCount(), 2);
    EXPECT_EQ(item(0)->text(1),
              "a rather long file name that is wider than the whole panel is.txt");
    EXPECT_EQ(item(0)->toolTip(1), QString::fromStdString(longName));
    EXPECT_EQ(item(1)->text(1), "https://example.org/page");
    QCoreApplication::processEvents();
    EXPECT_FALSE(box->list()->horizontalScrollBar()->isVisible());
    // The name column ends where the list does: no empty column beside it.
    EXPECT_EQ(box->list()->columnWidth(0) + box->list()->columnWidth(1),
              box->list()->viewport()->width());

    select(0);
    fakes.messages.answers = {true};
    contextMenu(AttachPanel::kMenuDelete);
    select(0);
    fakes.messages.answers = {true};
    contextMenu(AttachPanel::kMenuDelete);
    EXPECT_EQ(box->list()->topLevelItemCount(), 0);
    EXPECT_TRUE(hint->isVisible());
}

TEST_F(FileBox, AFolderIsAttachedFromTheMenuAndOpenedByTheDesktop) {
    const std::string photos = folder.file("Photos");
    ASSERT_TRUE(std::filesystem::create_directory(photos));
    fakes.fileDialogs.answers = {photos};
    const SeenMenu menu = contextMenu(AttachPanel::kMenuAddFolder);
    EXPECT_TRUE(menu.enabled.at(AttachPanel::kMenuAddFolder));
    ASSERT_EQ(fakes.fileDialogs.calls.size(), 1u);
    EXPECT_EQ(fakes.fileDialogs.calls[0].kind, "folder");
    EXPECT_EQ(records(), (std::vector<std::pair<int, std::string>>{{kAttachFile, photos}}));
    ASSERT_EQ(box->list()->topLevelItemCount(), 1);
    EXPECT_EQ(item(0)->text(1), "Photos");
    EXPECT_EQ(iconImage(item(0)->icon(0)),
              iconImage(box->style()->standardIcon(QStyle::SP_DirIcon)));
    box->openRow(item(0));
    EXPECT_EQ(fakes.shell.opened, std::vector<std::string>{photos});

    fakes.fileDialogs.answers = {""};  // cancelled
    contextMenu(AttachPanel::kMenuAddFolder);
    EXPECT_EQ(records().size(), 1u);
}

TEST_F(FileBox, FollowsTheNotesWidthAndColours) {
    note.resize(310, note.height());
    EXPECT_EQ(box->width(), 310);
    box->resize(310, 400);
    EXPECT_EQ(box->height(), 150);
    box->resize(310, 10);
    EXPECT_EQ(box->height(), 60);

    dialogs.color = QColor(10, 200, 30);
    note.chooseNoteColor();
    EXPECT_EQ(box->list()->palette().color(QPalette::Base), QColor(10, 200, 30));
    EXPECT_EQ(box->list()->palette().color(QPalette::Text), note.bodyFontColor());
}

}  // namespace
