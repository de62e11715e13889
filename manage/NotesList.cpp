#include "NotesList.h"

#include "CustomList.h"
#include "ListText.h"
#include "alarm/SnoozeRecord.h"
#include "note/NoteOwner.h"
#include "platform/Messages.h"
#include "qtsupport/StoredText.h"
#include "store/NotesDatabase.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
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

CNotesList::CNotesList(Platform platform, CNotesDatabase& store, INoteOwner& owner, QWidget* parent)
    : QDialog(parent), platform_(platform), store_(store), owner_(owner), sorter_([](int column) {
          return column == kTitle;
      }) {
    setObjectName("notesManager");
    setWindowTitle("Notes Manager");
    setModal(false);
    setSizeGripEnabled(true);
    setMinimumSize(kMinWidth, kMinHeight);
    list_ = new CCustomList(managerColumns(), this);
    list_->setAccessibleName(QStringLiteral("Notes"));
    list_->setObjectName("managerList");

    const std::pair<int, const char*> buttons[] = {
        {cmd::MANAGER_NEW_BUTTON, "New"},         {cmd::MANAGER_SHOW_BUTTON, "Show"},
        {cmd::MANAGER_HIDE_BUTTON, "Hide"},       {cmd::MANAGER_DELETE_BUTTON, "Delete"},
        {cmd::MANAGER_PRINT_BUTTON, "Print"},     {cmd::MANAGER_ALARM_BUTTON, "Alarm"},
        {cmd::MANAGER_REFRESH_BUTTON, "Refresh"}, {cmd::MANAGER_MENU_BUTTON, "Menu"}};
    for (const auto& [id, text] : buttons) {
        auto* button = new QPushButton(text, this);
        // Enter belongs to the list (it shows or hides the selected notes), not to a button.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFixedSize(kButtonWidth, kButtonHeight);
        connect(button, &QPushButton::clicked, this, [this, id = id] { onCommand(id); });
        buttons_[id] = button;
    }

    connect(list_, &CCustomList::selectionChangedByAnyone, this, &CNotesList::UpdateSelection);
    connect(list_, &CCustomList::rowActivated, this, &CNotesList::ToggleSelected);
    connect(list_, &CCustomList::headerClicked, this, &CNotesList::sortByColumn);
    connect(list_, &CCustomList::contextMenuAt, this, [this](QPoint at) {
        std::unique_ptr<QMenu> menu = contextMenu(at);
        if (QAction* chosen = menu->exec(list_->viewport()->mapToGlobal(at))) {
            onCommand(chosen->data().toInt());
        }
    });

    RefreshList();
    UpdateSelection();
    move(10, 10);
    resize(kMinWidth, kMinHeight);
}

CNotesList::~CNotesList() {
    // The list's own teardown changes its selection; nothing of the program is asked then.
    disconnect(list_, nullptr, this, nullptr);
}

QPushButton* CNotesList::button(int id) const {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

void CNotesList::showOnTop() {
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    bringToTop();
    onCommand(cmd::MANAGER_RELOAD);
}

void CNotesList::bringToTop() {
    if (platform_.windows != nullptr) {
        platform_.windows->setStacking(this, IWindowSystem::Stacking::Top);
    }
    if (isVisible()) {
        raise();
        keepOpenedWindowsAbove();
    }
}

void CNotesList::keepOpenedWindowsAbove() {
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

void CNotesList::onCommand(int id) {
    switch (id) {
        case cmd::MANAGER_NEW_BUTTON:
        case cmd::MANAGER_MENU_NEW:
            owner_.createNote();
            RefreshList();
            UpdateSelection();
            break;
        case cmd::MANAGER_SHOW_BUTTON:
        case cmd::MANAGER_MENU_SHOW:
        case cmd::MANAGER_HIDE_BUTTON:
        case cmd::MANAGER_MENU_HIDE: {
            const bool show = id == cmd::MANAGER_SHOW_BUTTON || id == cmd::MANAGER_MENU_SHOW;
            // The messages may refresh the list and so change the selection under the loop.
            const std::vector<std::int32_t> nids = selectedNids_;
            for (const std::int32_t nid : nids) {
                currentNid_ = nid;
                if (show) {
                    owner_.showNote(nid);
                } else {
                    owner_.hideNote(nid);
                }
            }
            break;
        }
        case cmd::MANAGER_DELETE_BUTTON:
        case cmd::MANAGER_MENU_DELETE:
            deleteSelected();
            break;
        case cmd::MANAGER_PRINT_BUTTON:
        case cmd::MANAGER_MENU_PRINT:
            printSelected();
            break;
        case cmd::MANAGER_ALARM_BUTTON:
        case cmd::MANAGER_MENU_ALARM:
            if (!selectedNids_.empty()) {
                currentNid_ = selectedNids_.front();
                owner_.openNoteMenu(currentNid_);
            }
            break;
        case cmd::MANAGER_REFRESH_BUTTON:
        case cmd::MANAGER_RELOAD:
            RefreshList();
            UpdateSelection();
            break;
        case cmd::MANAGER_MENU_BUTTON:
            owner_.showTrayMenu();
            break;
        default:
            break;
    }
}

QStringList CNotesList::cellsOf(std::int32_t nid, int number) {
    const std::string title = store_.GetNote(kLiveSource, nid, note::title);
    const std::uint32_t created = store_.GetNote(kLiveSource, nid, note::time);
    const int priority = store_.GetNote(kLiveSource, nid, note::priority);
    const int closed = store_.GetNote(kLiveSource, nid, note::isClosed);
    const std::optional<std::uint32_t> rings = nextRinging(store_, nid);
    const IClock& clock = *platform_.clock;
    return {QString::number(number),
            textFromStored(title),
            QString::fromStdString(listTime(clock, created)),
            QString::fromStdString(priorityText(priority)),
            QString::fromStdString(stateText(closed)),
            rings && *rings != 0 ? QString::fromStdString(listTime(clock, *rings)) : QString()};
}

void CNotesList::RefreshList() {
    const IdList nids = store_.ListNotes(kLiveSource);
    std::vector<CListModel::Row> rows;
    rows.reserve(nids.size());
    for (std::size_t i = 0; i < nids.size(); ++i) {
        rows.push_back({nids[i], cellsOf(nids[i], static_cast<int>(i) + 1)});
    }
    // The model reset clears the selection; what to select again is worked out before.
    const std::int32_t reselect = reselectNid(nids, currentNid_);
    {
        const QSignalBlocker quiet(list_);
        list_->rows().setRows(std::move(rows));
        // A list the user sorted stays sorted, whatever changed it (the main window refreshes
        // it after every new, deleted or restored note).
        sortAgain();
    }
    currentNid_ = reselect;
    if (reselect != -1) {
        list_->selectOnly(list_->rows().rowOf(reselect));
    }
}

void CNotesList::onNoteChanged(std::int32_t nid) {
    const int row = list_->rows().rowOf(nid);
    if (row < 0) {
        return;
    }
    // A note that changed on its way out (deleted since) has no record to read; the refresh
    // that its deletion asked for takes its row away.
    const IdList live = store_.ListNotes(kLiveSource);
    if (std::find(live.begin(), live.end(), nid) == live.end()) {
        return;
    }
    QStringList cells = cellsOf(nid, 0);
    cells[kNumber] = list_->rows().row(row).cells.value(kNumber);
    list_->rows().setCells(row, cells);
    // A new title, state or alarm may move the row in a sorted list.
    sortAgain();
}

void CNotesList::UpdateSelection() {
    bringToTop();
    selectedNids_.clear();
    for (const int row : list_->selectedRows()) {
        selectedNids_.push_back(static_cast<std::int32_t>(list_->rows().row(row).itemData));
    }
    const bool any = !selectedNids_.empty();
    for (const int id :
         {cmd::MANAGER_SHOW_BUTTON, cmd::MANAGER_HIDE_BUTTON, cmd::MANAGER_DELETE_BUTTON,
          cmd::MANAGER_PRINT_BUTTON, cmd::MANAGER_ALARM_BUTTON}) {
        buttons_[id]->setEnabled(any);
    }
    currentNid_ = any ? selectedNids_.front() : -1;
}

void CNotesList::ToggleSelected() {
    const std::vector<std::int32_t> nids = selectedNids_;
    // A note another window deleted since the last refresh has no record to read; the main
    // window is asked to show it and says that it cannot find it.
    const IdList live = store_.ListNotes(kLiveSource);
    const std::unordered_set<std::int32_t> liveNids(live.begin(), live.end());
    for (const std::int32_t nid : nids) {
        currentNid_ = nid;
        const bool closed =
            !liveNids.contains(nid) || store_.GetNote(kLiveSource, nid, note::isClosed) == 1;
        if (closed) {
            owner_.showNote(nid);
        } else {
            owner_.hideNote(nid);
        }
    }
}

void CNotesList::deleteSelected() {
    if (selectedNids_.empty()) {
        return;
    }
    if (!platform_.messages->askYesNo("Warning", "",
                                      "Are you sure you want to delete the selected note(s)?",
                                      res::ICON_QUESTION)) {
        return;
    }
    const std::vector<std::int32_t> nids = selectedNids_;
    for (const std::int32_t nid : nids) {
        currentNid_ = nid;
        owner_.deleteNote(nid);
    }
    RefreshList();
    UpdateSelection();
}

void CNotesList::printSelected() {
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
    for (const std::int32_t nid : nids) {
        printOne(nid);
    }
}

void CNotesList::sortByColumn(int column) {
    const IdList live = store_.ListNotes(kLiveSource);
    const std::unordered_set<std::int32_t> liveNids(live.begin(), live.end());
    CListModel& rows = list_->rows();
    auto keyOf = [&](std::size_t row, int c) -> SortKey {
        const auto nid = static_cast<std::int32_t>(rows.row(static_cast<int>(row)).itemData);
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
    list_->sortRows(sorter_, column, keyOf);
}

void CNotesList::sortAgain() {
    if (sorter_.sorted()) {
        sortByColumn(-1);
    }
}

std::unique_ptr<QMenu> CNotesList::contextMenu(QPoint viewportPos) {
    auto menu = std::make_unique<QMenu>(this);
    const bool onRow = list_->indexAt(viewportPos).isValid();
    const std::pair<int, const char*> items[] = {
        {cmd::MANAGER_MENU_NEW, "New"},     {cmd::MANAGER_MENU_SHOW, "Show"},
        {cmd::MANAGER_MENU_HIDE, "Hide"},   {cmd::MANAGER_MENU_DELETE, "Delete"},
        {cmd::MANAGER_MENU_PRINT, "Print"}, {cmd::MANAGER_MENU_ALARM, "Alarm"},
        {cmd::MANAGER_RELOAD, "Refresh"}};
    for (const auto& [id, text] : items) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        if (id == cmd::MANAGER_MENU_DELETE) {
            action->setEnabled(onRow);
        }
    }
    return menu;
}

void CNotesList::layOut(int w, int h) {
    list_->setGeometry(5, 5, w - 10, h - 40);
    const int y = h - 30;
    const std::pair<int, int> places[] = {
        {cmd::MANAGER_NEW_BUTTON, 8},           {cmd::MANAGER_SHOW_BUTTON, 87},
        {cmd::MANAGER_HIDE_BUTTON, 166},        {cmd::MANAGER_DELETE_BUTTON, 245},
        {cmd::MANAGER_PRINT_BUTTON, 324},       {cmd::MANAGER_ALARM_BUTTON, 403},
        {cmd::MANAGER_REFRESH_BUTTON, w - 170}, {cmd::MANAGER_MENU_BUTTON, w - 85}};
    for (const auto& [id, x] : places) {
        buttons_[id]->move(x, y);
    }
}

void CNotesList::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layOut(width(), height());
}

void CNotesList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ToggleSelected();
            return;
        case Qt::Key_Escape:
            return;  // the manager stays; only its close box hides it
        default:
            QDialog::keyPressEvent(event);
    }
}

bool CNotesList::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        bringToTop();
    }
    return QDialog::event(event);
}

void CNotesList::reject() {
    // Only the close box gets here (Escape is taken above): the manager is hidden and keeps
    // its list and sort for the next time.
    hide();
}

}  // namespace bp
