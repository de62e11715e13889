// The Notes Manager, the Recycle Bin and Find on an offscreen display, with the fake desktop
// services and a main window that only records (or, where the test needs it, acts on the
// store the way the real one does).
#include "alarm/SnoozeRecord.h"
#include "manage/FindWindow.h"
#include "manage/HitContext.h"
#include "manage/ListText.h"
#include "manage/NoteListView.h"
#include "manage/NotesManagerWindow.h"
#include "manage/RecycleBinWindow.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "richtext/QtRichTextEngine.h"
#include "store/NotesDatabase.h"
#include "support/RecordingOwner.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace bp;
using namespace bp::test;
using bp::fake::ShownBox;
using Call = RecordingOwner::Call;
using Kind = RecordingOwner::Kind;

namespace {

// Records like the others and deletes and restores in the store as the main window would.
class ActingOwner : public RecordingOwner {
public:
    explicit ActingOwner(CNotesDatabase& store) : store_(store) {}
    void deleteNote(std::int32_t nid) override {
        RecordingOwner::deleteNote(nid);
        store_.SetNoteDeleted(nid, 1);
    }
    void restoreNote(std::int32_t nid) override {
        RecordingOwner::restoreNote(nid);
        store_.SetNoteDeleted(nid, 0);
    }

private:
    CNotesDatabase& store_;
};

class ListWindows : public ::testing::Test {
protected:
    ListWindows() : store(platform()), owner(store) {
        EXPECT_TRUE(store.InitDatabase());
        store.SetDataFolder(folder.path());
        EXPECT_TRUE(store.OpenDatabase(0));
        for (const std::int32_t nid : store.ListNotes(kLiveSource)) {
            store.DeleteNote(nid);
        }
        setting::set(store, setting::deleteMode, 1);
    }
    Platform platform() {
        Platform p = fakes.platform();
        p.richText = &engine;
        return p;
    }
    std::int32_t addNote(const std::string& title, std::uint32_t created, int priority = 1,
                         int closed = 0, std::uint32_t remind = 0, int reminder = 0,
                         const std::string& body = "") {
        const std::int32_t nid = store.NewNote();
        store.SetNote(nid, title, note::title);
        store.SetNote(nid, created, note::time);
        store.SetNote(nid, priority, note::priority);
        store.SetNote(nid, closed, note::isClosed);
        store.SetNote(nid, remind, note::remindTime);
        store.SetNote(nid, reminder, note::isReminder);
        store.SetNoteBody(nid, body);
        return nid;
    }
    static QStringList column(const NoteListView& list, int c) {
        QStringList cells;
        for (int row = 0; row < list.rows().rowCount(); ++row) {
            cells.push_back(list.rows().row(row).cells.value(c));
        }
        return cells;
    }
    static void clickHeader(NoteListView& list, int c) {
        QHeaderView* header = list.horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c) + 5, header->height() / 2));
    }
    static void selectRows(NoteListView& list, std::initializer_list<int> rows) {
        list.clearSelection();
        for (const int row : rows) {
            list.selectionModel()->select(list.rows().index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    static QPoint rowCenter(const NoteListView& list, int row) {
        return list.visualRect(list.rows().index(row, 1)).center();
    }
    // Chooses an item of the context menu that a right click at a point of the list opens.
    static void chooseMenuItem(CListWindow& window, QPoint at, const QString& text) {
        std::unique_ptr<QMenu> menu = window.contextMenu(at);
        for (QAction* action : menu->actions()) {
            if (action->text() == text) {
                ASSERT_TRUE(action->isEnabled()) << text.toStdString();
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no item " << text.toStdString();
    }
    std::vector<std::string> questions() const {
        std::vector<std::string> texts;
        for (const ShownBox& box : fakes.messages.shown) {
            if (box.kind == ShownBox::Kind::Question) {
                texts.push_back(box.text);
            }
        }
        return texts;
    }

    TempFolder folder;
    fake::FakePlatform fakes;
    rtf::QtRichTextEngine engine;
    CNotesDatabase store;
    ActingOwner owner;
};

// ---- Notes Manager -------------------------------------------------------------------------

class NotesManager : public ListWindows {
protected:
    void open() {
        manager = std::make_unique<NotesManagerWindow>(platform(), store, owner);
        manager->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(manager.get()));
    }
    std::unique_ptr<NotesManagerWindow> manager;
};

TEST_F(NotesManager, ListsTheNotesInDatabaseOrderWithTheirTexts) {
    const std::int32_t a = addNote("Shopping", 1700000000, 2, 1, 1700003600, 1);
    addNote("Caf\xe9", 1700000060, 0, 0, 1700007200, 0);  // made on Windows
    open();
    const NoteListView& list = *manager->list();
    ASSERT_EQ(list.rows().rowCount(), 2);
    EXPECT_EQ(list.rows().row(0).itemData, a);
    EXPECT_EQ(list.rows().row(0).cells,
              (QStringList{"1", "Shopping", "Nov 14, 2023 - 10:13:20 PM", "high", "invisible",
                           "Nov 14, 2023 - 11:13:20 PM"}));
    EXPECT_EQ(list.rows().row(1).cells,
              (QStringList{"2", QString::fromUtf8("Caf\xc3\xa9"), "Nov 14, 2023 - 10:14:20 PM",
                           "low", "visible", ""}));
    EXPECT_EQ(list.headerToolTextAt(10), "Note Number");
    // The tool tips follow the columns when one is made wider.
    list.horizontalHeader()->resizeSection(0, 300);
    EXPECT_EQ(list.headerToolTextAt(250), "Note Number");
    EXPECT_EQ(list.headerToolTextAt(320), "Note Title");
    EXPECT_EQ(fakes.windows.stackingOf(manager.get()), IWindowSystem::Stacking::Top);
}

TEST_F(NotesManager, HeaderClicksSortWithTheDirectionRule) {
    addNote("Beta", 300);
    addNote("alpha", 100);
    addNote("Gamma", 200);
    struct Case {
        const char* name;
        std::vector<int> clicks;
        QStringList titles;
    };
    const Case cases[] = {
        {"Title once: A to Z", {1}, {"Beta", "Gamma", "alpha"}},
        {"Created first: newest first", {2}, {"Beta", "Gamma", "alpha"}},
        {"Title after Created: Z to A", {2, 1}, {"alpha", "Gamma", "Beta"}},
        {"Created, Created: oldest first", {2, 2}, {"alpha", "Gamma", "Beta"}},
    };
    for (const Case& c : cases) {
        open();
        for (const int click : c.clicks) {
            clickHeader(*manager->list(), click);
        }
        EXPECT_EQ(column(*manager->list(), 1), c.titles) << c.name;
        // The number column keeps what each row got at the refresh.
        EXPECT_EQ(column(*manager->list(), 0).size(), 3);
    }
}

TEST_F(NotesManager, KeepsTheSortThroughEveryChangeOfTheListAndShowsItInTheHeader) {
    const std::int32_t beta = addNote("Beta", 300);
    const std::int32_t alpha = addNote("alpha", 100);
    const std::int32_t gamma = addNote("Gamma", 200);
    open();
    const QHeaderView& header = *manager->list()->horizontalHeader();
    EXPECT_FALSE(header.isSortIndicatorShown()) << "database order until a header is clicked";
    manager->button("Refresh")->click();
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"Beta", "alpha", "Gamma"}));

    clickHeader(*manager->list(), 1);  // A to Z
    const QStringList sorted = {"Beta", "Gamma", "alpha"};
    ASSERT_EQ(column(*manager->list(), 1), sorted);
    EXPECT_TRUE(header.isSortIndicatorShown());
    EXPECT_EQ(header.sortIndicatorSection(), 1);
    EXPECT_EQ(header.sortIndicatorOrder(), Qt::AscendingOrder);

    // Each way the list changes: the main window's refresh after a new, deleted or restored
    // note, the Refresh button, New, Delete, and a note renamed.
    addNote("Delta", 400);
    manager->reload();
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"Beta", "Delta", "Gamma", "alpha"}));
    manager->button("New")->click();
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"Beta", "Delta", "Gamma", "alpha"}));
    manager->list()->selectOnly(manager->list()->rows().rowOf(beta));
    fakes.messages.answers = {true};
    manager->button("Delete")->click();
    manager->reload();  // as the main window posts after a deletion
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"Delta", "Gamma", "alpha"}));
    EXPECT_EQ(manager->selectedNids(), (std::vector<std::int32_t>{alpha}))
        << "the next greater nid, wherever the sort put its row";
    store.SetNoteDeleted(beta, 0);
    manager->button("Refresh")->click();
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"Beta", "Delta", "Gamma", "alpha"}));
    store.SetNote(gamma, std::string("Aaron"), note::title);
    manager->noteChanged(gamma);
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"Aaron", "Beta", "Delta", "alpha"}));

    // The next click runs the other way, and the arrow follows; newest first is descending.
    clickHeader(*manager->list(), 1);
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"alpha", "Delta", "Beta", "Aaron"}));
    EXPECT_EQ(header.sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(*manager->list(), 2);
    EXPECT_EQ(header.sortIndicatorSection(), 2);
    EXPECT_EQ(header.sortIndicatorOrder(), Qt::DescendingOrder);
    manager->reload();
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"Delta", "Beta", "Aaron", "alpha"}));
}

TEST_F(NotesManager, AlarmOffShowsAnEmptyCellButStillSortsByItsTime) {
    addNote("late", 1, 1, 0, 3000, 0);
    addNote("early", 1, 1, 0, 1000, 1);
    addNote("middle", 1, 1, 0, 2000, 0);
    open();
    EXPECT_EQ(column(*manager->list(), 5)[0], "");
    clickHeader(*manager->list(), 5);
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"late", "middle", "early"}));
}

TEST_F(NotesManager, APendingSnoozeIsTheNextRingingInTheAlarmColumn) {
    // A one-time alarm that rang (off) and was snoozed; a daily one snoozed before its next day.
    const std::int32_t oneTime = addNote("one-time", 1, 1, 0, 1000, 0);
    const std::int32_t daily = addNote("daily", 1, 1, 0, 900000, 2);
    addNote("quiet", 1, 1, 0, 5000, 0);
    storeSnoozeEnd(store, oneTime, 7000u);
    storeSnoozeEnd(store, daily, 6000u);
    open();
    const IClock& clock = fakes.clock;
    EXPECT_EQ(column(*manager->list(), 5),
              (QStringList{QString::fromStdString(listTime(clock, 7000)),
                           QString::fromStdString(listTime(clock, 6000)), ""}));
    clickHeader(*manager->list(), 5);  // latest first
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"one-time", "daily", "quiet"}));
}

TEST_F(NotesManager, TheSearchBoxNarrowsTheListAsOneTypesWithFindsRules) {
    const std::int32_t trip =
        addNote("Trip plans", 100, 2, 0, 0, 0, "{\\rtf1\\ansi pack the tent\\par}");
    addNote("Shopping list", 300, 0, 0, 0, 0, "tent pegs and bread");
    const std::int32_t locked = addNote("Locked trip", 200, 1, 0, 0, 0, "trip notes");
    store.SetNote(locked, 0, note::isEdit);
    open();
    QLineEdit& search = *manager->searchField();
    struct Case {
        const char* typed;
        QStringList titles;
        QStringList numbers;  // each row keeps its place in the whole list
    };
    const Case cases[] = {
        {"tent", {"Trip plans", "Shopping list"}, {"1", "2"}},
        {"  TRIP ", {"Trip plans", "Locked trip"}, {"1", "3"}},  // any case, titles, locked too
        {"bread", {"Shopping list"}, {"2"}},
        {"zebra", {}, {}},
        {"", {"Trip plans", "Shopping list", "Locked trip"}, {"1", "2", "3"}},
    };
    for (const Case& c : cases) {
        search.clear();
        QTest::keyClicks(&search, c.typed);
        EXPECT_EQ(column(*manager->list(), 1), c.titles) << c.typed;
        EXPECT_EQ(column(*manager->list(), 0), c.numbers) << c.typed;
    }
    EXPECT_TRUE(fakes.messages.shown.empty()) << "a search with no match is an empty list";

    // Enter in the search box shows or hides no note; the rows' commands work on what is left.
    QTest::keyClicks(&search, "plans");
    manager->list()->selectOnly(0);
    search.setFocus();
    QTest::keyClick(&search, Qt::Key_Return);
    EXPECT_TRUE(owner.calls.empty());
    manager->button("Hide")->click();
    EXPECT_EQ(owner.calls, (std::vector<Call>{{Kind::HideNote, trip}}));
}

TEST_F(NotesManager, WithAlarmsListsTheAlarmsToComeInTheOrderTheyRing) {
    // Their texts in byte order (Dec, Feb, Nov) are not the order they ring (Nov, Dec, Feb).
    const std::uint32_t nov = 1700000000, dec = 1702000000, feb = 1707000000;
    addNote("February", 1, 1, 0, feb, 1);
    addNote("no alarm", 1, 1, 0, 0, 0);
    const std::int32_t november = addNote("November", 1, 1, 0, nov, 1);
    addNote("December", 1, 1, 0, dec, 1);
    addNote("rang, off", 1, 1, 0, nov - 100, 0);
    open();
    manager->alarmsOnlyCheck()->setChecked(true);
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"February", "November", "December"}));
    clickHeader(*manager->list(), 5);  // the last to ring first
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"February", "December", "November"}));
    clickHeader(*manager->list(), 5);  // the next to ring first
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"November", "December", "February"}));

    // An alarm turned off leaves the filtered list at once; the search box narrows it further.
    store.SetNote(november, 0, note::isReminder);
    manager->noteChanged(november);
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"December", "February"}));
    QTest::keyClicks(manager->searchField(), "feb");
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"February"}));
    manager->alarmsOnlyCheck()->setChecked(false);
    manager->searchField()->clear();
    EXPECT_EQ(manager->list()->rows().rowCount(), 5);
}

TEST_F(NotesManager, DeletingReselectsTheNextGreaterNidElseTheNextSmaller) {
    const std::int32_t n1 = addNote("one", 10);
    const std::int32_t n2 = addNote("two", 30);
    const std::int32_t n3 = addNote("three", 20);
    open();
    clickHeader(*manager->list(), 2);  // newest first: two, three, one
    manager->list()->selectOnly(manager->list()->rows().rowOf(n2));
    ASSERT_EQ(manager->currentNid(), n2);

    fakes.messages.answers = {false};
    manager->button("Delete")->click();
    EXPECT_TRUE(owner.nidsOf(Kind::DeleteNote).empty());
    EXPECT_EQ(manager->list()->rows().rowCount(), 3);

    fakes.messages.answers = {true};
    manager->button("Delete")->click();
    EXPECT_EQ(questions().back(), "Are you sure you want to delete the selected note(s)?");
    EXPECT_EQ(owner.nidsOf(Kind::DeleteNote), (std::vector<std::int32_t>{n2}));
    EXPECT_EQ(manager->currentNid(), n3);
    EXPECT_EQ(manager->selectedNids(), (std::vector<std::int32_t>{n3}));
    // Still newest first after the deletion.
    EXPECT_EQ(column(*manager->list(), 1), (QStringList{"three", "one"}));

    fakes.messages.answers = {true};
    chooseMenuItem(*manager, rowCenter(*manager->list(), manager->list()->rows().rowOf(n3)),
                   "Delete");
    EXPECT_EQ(manager->selectedNids(), (std::vector<std::int32_t>{n1}));

    fakes.messages.answers = {true};
    manager->button("Delete")->click();
    EXPECT_EQ(manager->list()->rows().rowCount(), 0);
    EXPECT_EQ(manager->currentNid(), -1);
    for (const char* text : {"Show", "Hide", "Delete", "Print", "Alarm"}) {
        EXPECT_FALSE(manager->button(text)->isEnabled()) << text;
    }
    EXPECT_TRUE(manager->button("New")->isEnabled());
}

TEST_F(NotesManager, EnterAndDoubleClickToggleEachSelectedNote) {
    const std::int32_t shown = addNote("shown", 1, 1, 0);
    const std::int32_t hidden = addNote("hidden", 2, 1, 1);
    open();
    selectRows(*manager->list(), {0, 1});
    QTest::keyClick(manager->list(), Qt::Key_Return);
    EXPECT_EQ(owner.calls, (std::vector<Call>{{Kind::HideNote, shown}, {Kind::ShowNote, hidden}}));
    EXPECT_EQ(manager->currentNid(), hidden);

    owner.calls.clear();
    selectRows(*manager->list(), {1});
    const QRect row = manager->list()->visualRect(manager->list()->rows().index(1, 1));
    QTest::mouseDClick(manager->list()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(owner.nidsOf(Kind::ShowNote), (std::vector<std::int32_t>{hidden}));
    // Escape leaves the manager open.
    QTest::keyClick(manager.get(), Qt::Key_Escape);
    EXPECT_TRUE(manager->isVisible());
}

TEST_F(NotesManager, ButtonsSendTheirMessagesForTheSelectedNotes) {
    const std::int32_t a = addNote("a", 1);
    const std::int32_t b = addNote("b", 2);
    open();
    selectRows(*manager->list(), {0, 1});
    bool printerAsked = false;
    manager->setPrintRunner([&](QWidget*, const std::vector<std::int32_t>& nids,
                                const std::function<void(std::int32_t)>& printOne) {
        if (std::exchange(printerAsked, true)) {
            return;
        }
        for (const std::int32_t nid : nids) {
            printOne(nid);
        }
    });
    for (const char* text : {"Show", "Hide", "Print", "Print", "Alarm", "Menu"}) {
        manager->button(text)->click();
    }
    // The second print was cancelled in its dialog.
    EXPECT_EQ(owner.calls, (std::vector<Call>{{Kind::ShowNote, a},
                                              {Kind::ShowNote, b},
                                              {Kind::HideNote, a},
                                              {Kind::HideNote, b},
                                              {Kind::PrintNote, a},
                                              {Kind::PrintNote, b},
                                              {Kind::OpenNoteMenu, a},
                                              {Kind::ShowTrayMenu}}));
}

TEST_F(NotesManager, RightClickBelowTheLastRowGreysDelete) {
    addNote("only", 1);
    open();
    const QRect row = manager->list()->visualRect(manager->list()->rows().index(0, 1));
    auto enabledDelete = [&](QPoint at) {
        std::unique_ptr<QMenu> menu = manager->contextMenu(at);
        for (QAction* action : menu->actions()) {
            if (action->text() == "Delete") {
                return action->isEnabled();
            }
        }
        ADD_FAILURE() << "no Delete item";
        return false;
    };
    EXPECT_TRUE(enabledDelete(row.center()));
    EXPECT_FALSE(enabledDelete(row.center() + QPoint(0, 5 * row.height())));
}

TEST_F(NotesManager, ANoteChangeRewritesItsRowAndAnUnknownNidIsIgnored) {
    const std::int32_t a = addNote("before", 1);
    addNote("other", 2);
    open();
    clickHeader(*manager->list(), 2);  // "other" first, so "before" is row 1 with number 1
    store.SetNote(a, std::string("after"), note::title);
    store.SetNote(a, 1, note::isClosed);
    manager->noteChanged(a);
    manager->noteChanged(9999);
    EXPECT_EQ(manager->list()->rows().row(1).cells[0], "1");
    EXPECT_EQ(manager->list()->rows().row(1).cells[1], "after");
    EXPECT_EQ(manager->list()->rows().row(1).cells[4], "invisible");
    EXPECT_EQ(manager->list()->rows().rowCount(), 2);
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(NotesManager, NotesDeletedBehindItsBackAreHandedToTheMainWindowWithoutReads) {
    const std::int32_t a = addNote("gone", 1, 1, 1);
    const std::int32_t b = addNote("here", 2);
    open();
    store.DeleteNote(a);  // another window, before the list heard of it
    selectRows(*manager->list(), {0, 1});
    QTest::keyClick(manager->list(), Qt::Key_Return);
    clickHeader(*manager->list(), 1);
    clickHeader(*manager->list(), 4);
    manager->noteChanged(a);  // a change it made on its way out
    // The store reports no failed reads: the main window says it cannot find the note.
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_EQ(owner.calls, (std::vector<Call>{{Kind::ShowNote, a}, {Kind::HideNote, b}}));
}

TEST_F(NotesManager, KeepsItsSizeLimitAndLaysOutTheButtons) {
    open();
    manager->resize(500, 300);
    EXPECT_EQ(manager->size(), QSize(700, 400));
    manager->resize(900, 500);
    QTest::qWait(0);
    // The search row above the list, the list down to the buttons.
    const QRect search = manager->searchField()->geometry();
    EXPECT_EQ(search.top(), 5);
    EXPECT_EQ(manager->alarmsOnlyCheck()->geometry().top(), 5);
    EXPECT_GT(manager->alarmsOnlyCheck()->geometry().left(), search.right());
    EXPECT_EQ(manager->list()->geometry(),
              QRect(5, search.bottom() + 6, 890, 465 - search.bottom() - 6));
    EXPECT_EQ(manager->button("Delete")->geometry(), QRect(245, 470, 75, 25));
    EXPECT_EQ(manager->button("Menu")->geometry(), QRect(815, 470, 75, 25));
    manager->close();
    EXPECT_FALSE(manager->isVisible());
}

// ---- All three lists -----------------------------------------------------------------------

// Each list window, opened on the notes of the fixture with rows to show.
struct ListWindowCase {
    const char* name;
    std::function<std::unique_ptr<CListWindow>(ListWindows&, Platform)> open;
};

std::unique_ptr<CListWindow> openManager(ListWindows& t, Platform p);
std::unique_ptr<CListWindow> openBin(ListWindows& t, Platform p);
std::unique_ptr<CListWindow> openFind(ListWindows& t, Platform p);

class AllLists : public ListWindows {
public:
    CNotesDatabase& db() { return store; }
    RecordingOwner& recorder() { return owner; }
    std::int32_t note(const std::string& title, std::uint32_t created, const std::string& body) {
        return addNote(title, created, 1, 0, 0, 0, body);
    }
    static std::vector<ListWindowCase> windows() {
        return {{"Notes Manager", openManager}, {"Recycle Bin", openBin}, {"Find", openFind}};
    }
};

std::unique_ptr<CListWindow> openManager(ListWindows& t, Platform p) {
    auto& all = static_cast<AllLists&>(t);
    return std::make_unique<NotesManagerWindow>(p, all.db(), all.recorder());
}

std::unique_ptr<CListWindow> openBin(ListWindows& t, Platform p) {
    auto& all = static_cast<AllLists&>(t);
    for (const std::int32_t nid : all.db().ListNotes(kLiveSource)) {
        all.db().SetNoteDeleted(nid, 1);
    }
    return std::make_unique<RecycleBinWindow>(p, all.db(), all.recorder());
}

std::unique_ptr<CListWindow> openFind(ListWindows& t, Platform p) {
    auto& all = static_cast<AllLists&>(t);
    auto find = std::make_unique<FindWindow>(p, all.db(), all.recorder());
    find->textField()->setText("needle");
    find->search();
    return find;
}

TEST_F(AllLists, ColumnsFitTheirTextsAndTheListsWidthWithNoEmptyBand) {
    for (const ListWindowCase& c : windows()) {
        SCOPED_TRACE(c.name);
        for (const std::int32_t nid : store.ListNotes(kLiveSource)) {
            store.DeleteNote(nid);
        }
        if (const auto deleted = store.ListDeletedNotes()) {
            for (const std::int32_t nid : *deleted) {
                store.DeleteNote(nid);
            }
        }
        // Times as wide as they come: a long month name, two-digit day and hour.
        note("short", 1701467999, "needle");
        note(std::string(120, 'W'), 1701467999, "a needle");
        std::unique_ptr<CListWindow> window = c.open(*this, platform());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        const NoteListView& list = *window->list();
        ASSERT_EQ(list.rows().rowCount(), 2);
        for (const int width : {1000, 1280, 800}) {
            window->resize(width, 500);
            QCoreApplication::processEvents();
            int sum = 0;
            for (int col = 0; col < list.rows().columnCount(); ++col) {
                sum += list.columnWidth(col);
            }
            EXPECT_EQ(sum, list.viewport()->width()) << "at " << width;
            // Every column but the one that fills the view shows its texts whole.
            // (The titles: the column that fills the view, or in Find, beside the found text,
            // one of a limited width.)
            for (int col = 0; col < list.rows().columnCount(); ++col) {
                if (col == 1 || (col == 4 && c.name == std::string("Find"))) {
                    continue;
                }
                for (const QString& text : column(list, col)) {
                    EXPECT_GE(list.columnWidth(col), list.fontMetrics().horizontalAdvance(text))
                        << "column " << col << ": " << text.toStdString();
                }
            }
        }
    }
}

TEST_F(AllLists, ABlankTitleIsShownByItsNumberAndStaysBlankInTheStore) {
    for (const ListWindowCase& c : windows()) {
        SCOPED_TRACE(c.name);
        for (const std::int32_t nid : store.ListNotes(kLiveSource)) {
            store.DeleteNote(nid);
        }
        const std::int32_t blank = note("", 100, "needle");
        const std::int32_t blanks = note(" \t ", 200, "needle");
        const std::int32_t named = note("Named", 300, "needle");
        std::unique_ptr<CListWindow> window = c.open(*this, platform());
        EXPECT_EQ(column(*window->list(), 1),
                  (QStringList{QStringLiteral("Note %1").arg(blank),
                               QStringLiteral("Note %1").arg(blanks), "Named"}));
        EXPECT_EQ(store.GetNoteString(kLiveSource, blank, "title"), "");
        EXPECT_EQ(store.GetNoteString(kLiveSource, named, "title"), "Named");
        if (const auto deleted = store.ListDeletedNotes()) {
            for (const std::int32_t nid : *deleted) {
                store.DeleteNote(nid);
            }
        }
    }
}

// ---- Recycle Bin ---------------------------------------------------------------------------

class RecycleBin : public ListWindows {
protected:
    // Deleted notes with their deletion times (the store stamps the clock's time).
    std::int32_t addDeleted(const std::string& title, std::uint32_t deletedAt) {
        const std::int32_t nid = addNote(title, deletedAt - 100);
        fakes.clock.seconds = 1700000000 + deletedAt;
        store.SetNoteDeleted(nid, 1);
        return nid;
    }
    void open() {
        bin = std::make_unique<RecycleBinWindow>(platform(), store, owner);
        bin->show();
    }
    std::unique_ptr<RecycleBinWindow> bin;
};

TEST_F(RecycleBin, RestoresTheSelectedNotesThroughTheMainWindow) {
    const std::int32_t a = addDeleted("a", 1000);
    addDeleted("b", 2000);
    const std::int32_t c = addDeleted("c", 3000);
    open();
    ASSERT_EQ(bin->list()->rows().rowCount(), 3);
    EXPECT_EQ(bin->list()->rows().row(0).cells[1], "a");
    selectRows(*bin->list(), {0, 2});
    // On a row every item of the menu is there; below the rows only "empty recycle bin".
    const QRect row = bin->list()->visualRect(bin->list()->rows().index(2, 1));
    for (const auto& [at, onRow] : {std::pair{row.center(), true},
                                    std::pair{row.center() + QPoint(0, 3 * row.height()), false}}) {
        std::unique_ptr<QMenu> menu = bin->contextMenu(at);
        ASSERT_EQ(menu->actions().size(), 3);
        EXPECT_EQ(menu->actions()[0]->isEnabled(), onRow);
        EXPECT_EQ(menu->actions()[1]->isEnabled(), onRow);
        EXPECT_TRUE(menu->actions()[2]->isEnabled());
    }
    fakes.messages.answers = {true};
    bin->button("Restore")->click();
    EXPECT_EQ(questions(),
              (std::vector<std::string>{"Do you want to restore the selected note(s)?"}));
    EXPECT_EQ(owner.nidsOf(Kind::RestoreNote), (std::vector<std::int32_t>{a, c}));
    EXPECT_EQ(column(*bin->list(), 1), (QStringList{"b"}));
    EXPECT_FALSE(bin->button("Restore")->isEnabled());
}

TEST_F(RecycleBin, EraseAfterASortKeepsTheSortAndTheNumberNamesTheRecord) {
    addDeleted("a", 1000);
    const std::int32_t b = addDeleted("b", 3000);
    addDeleted("c", 2000);
    addDeleted("d", 4000);
    open();
    clickHeader(*bin->list(), 4);  // deleted, newest first: d b c a
    EXPECT_EQ(column(*bin->list(), 1), (QStringList{"d", "b", "c", "a"}));
    selectRows(*bin->list(), {1});
    EXPECT_EQ(bin->selectedNids(), (std::vector<std::int32_t>{b}));
    fakes.messages.answers = {true};
    chooseMenuItem(*bin, rowCenter(*bin->list(), 1), "delete");
    EXPECT_EQ(questions().back(),
              "Are you sure you want to erase selected note(s) in the Recycle Bin?\nYou can't "
              "undo this action.");
    EXPECT_EQ(store.ListDeletedNotes()->size(), 3u);
    EXPECT_TRUE(store.ListNotes(kLiveSource).empty());  // erased, not restored
    EXPECT_EQ(column(*bin->list(), 1), (QStringList{"d", "c", "a"}));
    EXPECT_EQ(column(*bin->list(), 4),
              (QStringList{"Nov 14, 2023 - 11:20:00 PM", "Nov 14, 2023 - 10:46:40 PM",
                           "Nov 14, 2023 - 10:30:00 PM"}));
    // Refresh keeps it too, with a note deleted since, and the header shows it.
    addDeleted("e", 2500);
    bin->button("Refresh")->click();
    EXPECT_EQ(column(*bin->list(), 1), (QStringList{"d", "e", "c", "a"}));
    EXPECT_EQ(bin->list()->horizontalHeader()->sortIndicatorSection(), 4);
    EXPECT_EQ(bin->list()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(RecycleBin, EmptyAskedNoChangesNothingAndYesErasesEverything) {
    addDeleted("a", 1000);
    addDeleted("b", 2000);
    addNote("live", 1);
    open();
    const std::string before = store.NotesSection();
    fakes.messages.answers = {false};
    bin->button("Empty Recycle Bin")->click();
    EXPECT_EQ(store.NotesSection(), before);
    EXPECT_EQ(bin->list()->rows().rowCount(), 2);

    fakes.messages.answers = {true};
    chooseMenuItem(*bin, rowCenter(*bin->list(), 0), "empty recycle bin");
    EXPECT_EQ(questions().back(),
              "Are you sure you want to erase ALL notes in the Recycle Bin?\nYou can't undo "
              "this action.");
    EXPECT_FALSE(store.ListDeletedNotes().has_value());
    EXPECT_EQ(store.ListNotes(kLiveSource).size(), 1u);
    EXPECT_EQ(bin->list()->rows().rowCount(), 0);
    EXPECT_FALSE(bin->button("Empty Recycle Bin")->isEnabled());
    std::unique_ptr<QMenu> menu = bin->contextMenu({5, 5});
    for (QAction* action : menu->actions()) {
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    }
}

// ---- Find ----------------------------------------------------------------------------------

class Find : public ListWindows {
protected:
    Find() {
        trip = addNote("Trip plans", 100, 2, 0, 0, 0, "{\\rtf1\\ansi\\pard pack the tent\\par}");
        list = addNote("Shopping list", 300, 0, 0, 0, 0, "tent pegs and bread");
        locked = addNote("Locked trip", 200, 1, 0, 0, 0, "trip notes");
        store.SetNote(locked, 0, note::isEdit);
        dialog = std::make_unique<FindWindow>(platform(), store, owner);
    }
    std::int32_t trip = 0, list = 0, locked = 0;
    std::unique_ptr<FindWindow> dialog;
};

TEST_F(Find, StartsWithTheDefaultChoicesAndTurnsThemIntoOptionWords) {
    QWidget* first = dialog->nextInFocusChain();
    while (!(first->focusPolicy() & Qt::TabFocus)) {
        first = first->nextInFocusChain();
    }
    EXPECT_EQ(first, dialog->textField()) << "Tab starts at the search text";
    EXPECT_TRUE(dialog->textField()->text().isEmpty());
    EXPECT_TRUE(dialog->allNotesRadio()->isChecked());
    EXPECT_FALSE(dialog->showSelectedButton()->isEnabled());
    dialog->textField()->setText("  trip \t");
    dialog->search();
    EXPECT_EQ(dialog->lastOptions(), "search_in_notes search_in_titles all_notes");
    EXPECT_EQ(dialog->textField()->text(), "trip");
    EXPECT_EQ(column(*dialog->list(), 1), (QStringList{"Trip plans", "Locked trip"}));
    EXPECT_EQ(column(*dialog->list(), 3), (QStringList{"high", "regular"}));

    dialog->matchCaseCheck()->setChecked(true);
    dialog->inNotesCheck()->setChecked(false);
    dialog->excludeRadio()->setChecked(true);
    dialog->search();
    EXPECT_EQ(dialog->lastOptions(), "case_sensitive search_in_titles");
    EXPECT_TRUE(fakes.messages.shown.size() == 1);  // "trip" in lower case is no title
    EXPECT_EQ(fakes.messages.shown[0],
              (ShownBox{ShownBox::Kind::Message, "Warning", "", "No notes were found", 205}));
    // The second search found nothing, so the list of the first is gone.
    EXPECT_EQ(dialog->list()->rows().rowCount(), 0);
    EXPECT_FALSE(dialog->showSelectedButton()->isEnabled());
}

TEST_F(Find, ShowSelectedAfterASortShowsTheNotesOfTheSelectedRows) {
    dialog->show();
    dialog->textField()->setText("tent");
    dialog->search();
    EXPECT_EQ(column(*dialog->list(), 1), (QStringList{"Trip plans", "Shopping list"}));
    clickHeader(*dialog->list(), 2);  // newest first
    EXPECT_EQ(column(*dialog->list(), 1), (QStringList{"Shopping list", "Trip plans"}));
    selectRows(*dialog->list(), {0});
    ASSERT_TRUE(dialog->showSelectedButton()->isEnabled());
    dialog->showSelectedButton()->click();
    EXPECT_EQ(owner.nidsOf(Kind::ShowNote), (std::vector<std::int32_t>{list}));

    // The next search is listed in the same order.
    dialog->textField()->setText("trip");
    dialog->search();
    EXPECT_EQ(column(*dialog->list(), 1), (QStringList{"Locked trip", "Trip plans"}));
    EXPECT_EQ(dialog->list()->horizontalHeader()->sortIndicatorSection(), 2);
}

TEST_F(Find, CountsTheNotesFoundAndShowsTheTextAroundEachHit) {
    const std::string longBody =
        std::string(60, 'a') + " before the tent and " + std::string(80, 'b');
    addNote("Far", 400, 1, 0, 0, 0, longBody);
    const std::int32_t word = addNote("Tentative", 500, 1, 0, 0, 0, "Tentative plan\r\nthen");
    dialog->textField()->setText("tent");
    dialog->search();
    EXPECT_EQ(dialog->countLabel()->text(), "4 notes found");
    const QString ellipsis(QChar(0x2026));
    EXPECT_EQ(column(*dialog->list(), 4),
              (QStringList{"pack the tent", "tent pegs and bread",
                           ellipsis + QString(12, 'a') + " before the tent and " +
                               QString(35, 'b') + ellipsis,
                           "Tentative plan then"}));

    // Only the titles searched: the title is what is shown around the hit.
    dialog->textField()->setText("Tentative");
    dialog->inNotesCheck()->setChecked(false);
    dialog->search();
    EXPECT_EQ(dialog->countLabel()->text(), "1 note found");
    EXPECT_EQ(column(*dialog->list(), 4), (QStringList{"Tentative"}));
    EXPECT_EQ(dialog->results().front().nid, word);

    dialog->textField()->setText("zebra");
    dialog->search();
    EXPECT_EQ(dialog->countLabel()->text(), "0 notes found");
}

TEST(HitContext, TheTextAroundTheFirstHitOnOneLine) {
    const QString e(QChar(0x2026));
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");  // outside the BMP: two units
    struct Case {
        QString text;
        QString needle;
        bool matchCase;
        bool wholeWord;
        QString shown;
    };
    const Case cases[] = {
        {"a tent", "TENT", false, false, "a tent"},
        {"a tent", "TENT", true, false, ""},
        {"tents, tent", "tent", false, true, "tents, tent"},
        {"tents only", "tent", false, true, ""},
        {"one\rtwo\x0Bthree\tfour", "two", false, false, "one two three four"},
        {QString(30, 'x') + "hit", "hit", false, false, e + QString(24, 'x') + "hit"},
        {"hit" + QString(50, 'y'), "hit", false, false, "hit" + QString(40, 'y') + e},
        // A cut never splits a character made of two code units.
        {clef.repeated(15) + "-hit", "hit", false, false, e + clef.repeated(12) + "-hit"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hitContext(c.text, c.needle, c.matchCase, c.wholeWord), c.shown)
            << c.text.toStdString();
    }
}

TEST_F(Find, ABlankSearchFindsNothing) {
    dialog->textField()->setText("   ");
    dialog->search();
    EXPECT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(dialog->list()->rows().rowCount(), 0);
}

}  // namespace
