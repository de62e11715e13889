#include "NotesManagerWindow.h"

#include "FindOptions.h"
#include "ListText.h"
#include "ListWindowOwner.h"
#include "NoteListView.h"
#include "alarm/MissedAlarm.h"
#include "alarm/SnoozeRecord.h"
#include "platform/Messages.h"
#include "qtsupport/NoteName.h"
#include "qtsupport/StoredText.h"
#include "store/NotesDatabase.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <unordered_set>

namespace bp {

namespace {

constexpr int kMinWidth = 700;
constexpr int kMinHeight = 400;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr std::size_t kLeftButtons = 6;
constexpr int kSearchWidth = 260;

enum Column { kNumber, kTitle, kCreated, kPriority, kState, kAlarm };

std::vector<ListColumn> managerColumns() {
    return {{"N", 50, "Note Number"},
            {"Title", 120, "Note Title"},
            {"Created", 145, "Note Creation Time"},
            {"Priority", 60, "Note Priority"},
            {"State", 60, "Note State"},
            {"Alarm", 150, "Alarm Time"}};
}

}  // namespace

NotesManagerWindow::NotesManagerWindow(Platform platform, CNotesDatabase& store,
                                       IListWindowOwner& owner, QWidget* parent)
    : CListWindow(platform, store, owner, parent) {
    setObjectName("notesManager");
    setWindowTitle("Notes Manager");
    setModal(false);
    setSizeGripEnabled(true);
    setMinimumSize(kMinWidth, kMinHeight);
    searchLabel_ = new QLabel("&Search:", this);
    search_ = new QLineEdit(this);
    search_->setObjectName("managerSearch");
    search_->setAccessibleName("Search notes");
    search_->setPlaceholderText("Words in titles or text");
    search_->setClearButtonEnabled(true);
    searchLabel_->setBuddy(search_);
    alarmsOnly_ = new QCheckBox("&With alarms", this);
    alarmsOnly_->setObjectName("managerAlarmsOnly");
    connect(search_, &QLineEdit::textChanged, this, &NotesManagerWindow::reload);
    connect(alarmsOnly_, &QCheckBox::toggled, this, &NotesManagerWindow::reload);
    makeList(managerColumns(), QStringLiteral("Notes"), QStringLiteral("managerList"));

    struct Button {
        const char* text;
        Enabled enabled;
        void (NotesManagerWindow::*command)();
    };
    // In the order they stand, left to right.
    const Button buttons[] = {
        {"New", Enabled::Always, &NotesManagerWindow::newNote},
        {"Show", Enabled::WithSelection, &NotesManagerWindow::showSelected},
        {"Hide", Enabled::WithSelection, &NotesManagerWindow::hideSelected},
        {"Delete", Enabled::WithSelection, &NotesManagerWindow::deleteSelected},
        {"Print", Enabled::WithSelection, &NotesManagerWindow::printSelected},
        {"Alarm", Enabled::WithSelection, &NotesManagerWindow::openAlarmMenu},
        {"Refresh", Enabled::Always, &NotesManagerWindow::reload},
        {"Menu", Enabled::Always, &NotesManagerWindow::openTrayMenu}};
    for (const Button& b : buttons) {
        // Enter belongs to the list (it shows or hides the selected notes), not to a button.
        QPushButton* button =
            addButton(b.text, b.enabled, [this, command = b.command] { (this->*command)(); });
        button->setDefault(false);
        button->setFixedSize(kButtonWidth, kButtonHeight);
    }
    connect(list(), &NoteListView::rowActivated, this, &NotesManagerWindow::toggleSelected);
    // The list keeps the keys it always had (Enter, arrows); the search box is a Shift+Tab away.
    list()->setFocus();

    reload();
    move(10, 10);
    resize(kMinWidth, kMinHeight);
}

void NotesManagerWindow::showOnTop() {
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    bringToTop();
    reload();
}

void NotesManagerWindow::bringToTop() {
    if (platform_.windows != nullptr) {
        platform_.windows->setStacking(this, IWindowSystem::Stacking::Top);
    }
    if (isVisible()) {
        raise();
        keepOpenedWindowsAbove();
    }
}

void NotesManagerWindow::keepOpenedWindowsAbove() {
    // Above every note, but not above what was opened from it or from a note: a dialog, a box,
    // the stop-alarm window. The one waiting for an answer goes last, on top.
    QWidget* waiting = QApplication::activeModalWidget();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window != waiting && window->isVisible() &&
            (qobject_cast<QDialog*>(window) != nullptr ||
             window->property(kDialogLikeProperty).toBool())) {
            window->raise();
        }
    }
    if (waiting != nullptr && waiting != this && waiting->isVisible()) {
        waiting->raise();
    }
}

void NotesManagerWindow::forEachSelected(const std::function<void(std::int32_t)>& call) {
    // The calls may refresh the list and so change the selection under the loop.
    const std::vector<std::int32_t> nids = selectedNids_;
    for (const std::int32_t nid : nids) {
        currentNid_ = nid;
        call(nid);
    }
}

void NotesManagerWindow::reload() {
    refreshList();
    updateSelection();
}

void NotesManagerWindow::newNote() {
    owner_.createNote();
    reload();
}

void NotesManagerWindow::showSelected() {
    forEachSelected([this](std::int32_t nid) { owner_.showNote(nid); });
}

void NotesManagerWindow::hideSelected() {
    forEachSelected([this](std::int32_t nid) { owner_.hideNote(nid); });
}

void NotesManagerWindow::openAlarmMenu() {
    if (!selectedNids_.empty()) {
        currentNid_ = selectedNids_.front();
        owner_.openNoteMenu(currentNid_);
    }
}

void NotesManagerWindow::openTrayMenu() {
    owner_.showTrayMenu();
}

QStringList NotesManagerWindow::cellsOf(std::int32_t nid, int number) {
    const std::string title = store_.GetNote(kLiveSource, nid, note::title);
    const std::uint32_t created = store_.GetNote(kLiveSource, nid, note::time);
    const int priority = store_.GetNote(kLiveSource, nid, note::priority);
    const int closed = store_.GetNote(kLiveSource, nid, note::isClosed);
    const std::optional<std::uint32_t> rings = nextRinging(store_, nid);
    const IClock& clock = *platform_.clock;
    return {QString::number(number),
            readableNoteName(textFromStored(title), nid),
            QString::fromStdString(listTime(clock, created)),
            QString::fromStdString(priorityText(priority)),
            QString::fromStdString(stateText(closed)),
            QString::fromStdString(
                withMissedMark(rings && *rings != 0 ? listTime(clock, *rings) : std::string(),
                               storedMissedAlarm(store_, nid).has_value()))};
}

bool NotesManagerWindow::filtering() const {
    return alarmsOnly_->isChecked() || !search_->text().trimmed().isEmpty();
}

IdList NotesManagerWindow::shownNids(const IdList& all) {
    if (!filtering()) {
        return all;
    }
    std::unordered_set<std::int32_t> found;
    const QString words = search_->text().trimmed();
    if (!words.isEmpty()) {
        // The same search as Find's with its first choices, so both lists agree on a match.
        const std::optional<IdList> hits =
            store_.SearchNotes(-1, FindOptions{}.words(), storedFromText(words));
        if (!hits) {
            return {};
        }
        found.insert(hits->begin(), hits->end());
    }
    IdList shown;
    for (const std::int32_t nid : all) {
        if (!words.isEmpty() && !found.contains(nid)) {
            continue;
        }
        if (alarmsOnly_->isChecked() && nextRinging(store_, nid).value_or(0) == 0) {
            continue;
        }
        shown.push_back(nid);
    }
    return shown;
}

void NotesManagerWindow::refreshList() {
    const IdList all = store_.ListNotes(kLiveSource);
    const IdList nids = shownNids(all);
    std::vector<NoteListModel::Row> rows;
    rows.reserve(nids.size());
    // A row keeps the number it has in the whole list, whatever the filters leave out.
    std::size_t place = 0;
    for (const std::int32_t nid : nids) {
        while (all[place] != nid) {
            ++place;
        }
        rows.push_back({nid, cellsOf(nid, static_cast<int>(place) + 1)});
    }
    // The model reset clears the selection; what to select again is worked out before.
    const std::int32_t reselect = reselectNid(nids, currentNid_);
    {
        const QSignalBlocker quiet(list());
        list()->rows().setRows(std::move(rows));
        // A list the user sorted stays sorted, whatever changed it (the main window refreshes
        // it after every new, deleted or restored note).
        sortAgain();
    }
    currentNid_ = reselect;
    if (reselect != -1) {
        list()->selectOnly(list()->rows().rowOf(reselect));
    }
}

void NotesManagerWindow::noteChanged(std::int32_t nid) {
    const int row = list()->rows().rowOf(nid);
    if (row < 0) {
        return;
    }
    // A note that changed on its way out (deleted since) has no record to read; the refresh
    // that its deletion asked for takes its row away.
    const IdList live = store_.ListNotes(kLiveSource);
    if (std::find(live.begin(), live.end(), nid) == live.end()) {
        return;
    }
    if (filtering()) {
        // The change may take the note into or out of what the filters leave.
        refreshList();
        return;
    }
    QStringList cells = cellsOf(nid, 0);
    cells[kNumber] = list()->rows().row(row).cells.value(kNumber);
    list()->rows().setCells(row, cells);
    // A new title, state or alarm may move the row in a sorted list.
    sortAgain();
}

std::optional<std::int32_t> NotesManagerWindow::nidOf(std::intptr_t itemData) const {
    return static_cast<std::int32_t>(itemData);
}

void NotesManagerWindow::selectionUpdated() {
    bringToTop();
    currentNid_ = selectedNids_.empty() ? -1 : selectedNids_.front();
}

void NotesManagerWindow::toggleSelected() {
    // A note another window deleted since the last refresh has no record to read; the main
    // window is asked to show it and says that it cannot find it.
    const IdList live = store_.ListNotes(kLiveSource);
    const std::unordered_set<std::int32_t> liveNids(live.begin(), live.end());
    forEachSelected([this, &liveNids](std::int32_t nid) {
        const bool closed =
            !liveNids.contains(nid) || store_.GetNote(kLiveSource, nid, note::isClosed) == 1;
        if (closed) {
            owner_.showNote(nid);
        } else {
            owner_.hideNote(nid);
        }
    });
}

void NotesManagerWindow::deleteSelected() {
    if (selectedNids_.empty()) {
        return;
    }
    if (!platform_.messages->askYesNo("Warning", "",
                                      "Are you sure you want to delete the selected note(s)?",
                                      res::ICON_QUESTION)) {
        return;
    }
    forEachSelected([this](std::int32_t nid) { owner_.deleteNote(nid); });
    reload();
}

void NotesManagerWindow::printSelected() {
    if (selectedNids_.empty()) {
        return;
    }
    const std::vector<std::int32_t> nids = selectedNids_;
    const auto printOne = [this](std::int32_t nid) {
        currentNid_ = nid;
        owner_.printNote(nid);
    };
    if (printRunner_) {
        printRunner_(this, nids, printOne);
        return;
    }
    forEachSelected([this](std::int32_t nid) { owner_.printNote(nid); });
}

CListWindow::KeyOf NotesManagerWindow::sortKeys() {
    const IdList live = store_.ListNotes(kLiveSource);
    return [this, liveNids = std::unordered_set<std::int32_t>(live.begin(), live.end())](
               std::intptr_t itemData, int c) -> SortKey {
        const auto nid = static_cast<std::int32_t>(itemData);
        SortKey key;
        if (c == kNumber) {
            key.number = static_cast<std::uint32_t>(nid);
        } else if (!liveNids.contains(nid)) {
            // Deleted by another window since the last refresh: no record to read.
        } else if (c == kTitle) {
            key.text = store_.GetNote(kLiveSource, nid, note::title);
        } else if (c == kCreated) {
            key.number = store_.GetNote(kLiveSource, nid, note::time);
        } else if (c == kPriority) {
            key.number =
                static_cast<std::uint32_t>(store_.GetNote(kLiveSource, nid, note::priority));
        } else if (c == kState) {
            key.number =
                static_cast<std::uint32_t>(store_.GetNote(kLiveSource, nid, note::isClosed));
        } else if (c == kAlarm) {
            // Also when the alarm is off: the cell is empty, the time still orders the row.
            key.number = nextRinging(store_, nid)
                             .value_or(store_.GetNote(kLiveSource, nid, note::remindTime));
        }
        return key;
    };
}

std::unique_ptr<QMenu> NotesManagerWindow::contextMenu(QPoint viewportPos) {
    auto menu = std::make_unique<QMenu>(this);
    const bool onRow = list()->indexAt(viewportPos).isValid();
    menu->addAction("New", this, &NotesManagerWindow::newNote);
    menu->addAction("Show", this, &NotesManagerWindow::showSelected);
    menu->addAction("Hide", this, &NotesManagerWindow::hideSelected);
    menu->addAction("Delete", this, &NotesManagerWindow::deleteSelected)->setEnabled(onRow);
    menu->addAction("Print", this, &NotesManagerWindow::printSelected);
    menu->addAction("Alarm", this, &NotesManagerWindow::openAlarmMenu);
    menu->addAction("Refresh", this, &NotesManagerWindow::reload);
    return menu;
}

void NotesManagerWindow::layOut(int w, int h) {
    const int fieldHeight = search_->sizeHint().height();
    const int labelWidth = searchLabel_->sizeHint().width();
    searchLabel_->setGeometry(8, 5, labelWidth, fieldHeight);
    search_->setGeometry(12 + labelWidth, 5, kSearchWidth, fieldHeight);
    alarmsOnly_->setGeometry(24 + labelWidth + kSearchWidth, 5, alarmsOnly_->sizeHint().width(),
                             fieldHeight);
    const int listTop = 10 + fieldHeight;
    list()->setGeometry(5, listTop, w - 10, h - 35 - listTop);
    // New to Alarm from the left edge, Refresh and Menu from the right.
    const std::vector<QPushButton*>& row = buttons();
    for (std::size_t i = 0; i < row.size(); ++i) {
        const int x = i < kLeftButtons ? 8 + 79 * static_cast<int>(i)
                                       : w - 85 * static_cast<int>(row.size() - i);
        row[i]->move(x, h - 30);
    }
}

void NotesManagerWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layOut(width(), height());
}

void NotesManagerWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (focusWidget() == search_) {
                return;  // typing a search shows or hides nothing
            }
            toggleSelected();
            return;
        case Qt::Key_Escape:
            return;  // the manager stays; only its close box hides it
        default:
            QDialog::keyPressEvent(event);
    }
}

bool NotesManagerWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        bringToTop();
    }
    return QDialog::event(event);
}

void NotesManagerWindow::reject() {
    // Only the close box gets here (Escape is taken above): the manager is hidden and keeps
    // its list and sort for the next time.
    hide();
}

}  // namespace bp
