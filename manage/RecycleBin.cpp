#include "RecycleBin.h"

#include "CustomList.h"
#include "ListText.h"
#include "note/NoteOwner.h"
#include "platform/Messages.h"
#include "qtsupport/StoredText.h"
#include "store/NotesDatabase.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace bp {

namespace {

enum Column { kNumber, kTitle, kPriority, kCreated, kDeleted };

std::vector<ListColumn> binColumns() {
    return {{"N", 50, "Note Number"},
            {"title", 120, "Note Title"},
            {"priority", 50, "Note Priority"},
            {"created", 180, "Created"},
            {"deleted", 180, "Deleted"}};
}

}  // namespace

CRecycleBin::CRecycleBin(Platform platform, CNotesDatabase& store, INoteOwner& owner,
                         QWidget* parent)
    : QDialog(parent), platform_(platform), store_(store), owner_(owner), sorter_([](int column) {
          return column == kTitle;
      }) {
    setObjectName("recycleBin");
    setWindowTitle("Recycle Bin");
    list_ = new CCustomList(binColumns(), this);
    list_->setAccessibleName(QStringLiteral("Deleted notes"));
    list_->setObjectName("binList");

    auto* buttonRow = new QHBoxLayout;
    const std::pair<int, const char*> buttons[] = {{cmd::BIN_RESTORE_BUTTON, "Restore"},
                                                   {cmd::BIN_DELETE_BUTTON, "Delete"},
                                                   {cmd::BIN_REFRESH_BUTTON, "Refresh"},
                                                   {cmd::BIN_EMPTY_BUTTON, "Empty Recycle Bin"}};
    for (const auto& [id, text] : buttons) {
        auto* button = new QPushButton(text, this);
        // Enter closes the dialog, as Escape does; no button takes it.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id = id] { onCommand(id); });
        buttons_[id] = button;
        buttonRow->addWidget(button);
        if (id == cmd::BIN_REFRESH_BUTTON) {
            buttonRow->addStretch();
        }
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttonRow);
    resize(620, 360);

    connect(list_, &CCustomList::selectionChangedByAnyone, this, &CRecycleBin::updateSelection);
    connect(list_, &CCustomList::headerClicked, this, &CRecycleBin::sortByColumn);
    connect(list_, &CCustomList::contextMenuAt, this, [this](QPoint at) {
        std::unique_ptr<QMenu> menu = contextMenu(at);
        if (QAction* chosen = menu->exec(list_->viewport()->mapToGlobal(at))) {
            onCommand(chosen->data().toInt());
        }
    });
    Refresh();
}

CRecycleBin::~CRecycleBin() {
    disconnect(list_, nullptr, this, nullptr);
}

QPushButton* CRecycleBin::button(int id) const {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

void CRecycleBin::onCommand(int id) {
    switch (id) {
        case cmd::BIN_RESTORE_BUTTON:
        case cmd::BIN_MENU_RESTORE:
            restore();
            break;
        case cmd::BIN_DELETE_BUTTON:
        case cmd::BIN_MENU_DELETE:
            erase();
            break;
        case cmd::BIN_EMPTY_BUTTON:
        case cmd::BIN_MENU_EMPTY:
            empty();
            break;
        case cmd::BIN_REFRESH_BUTTON:
            Refresh();
            break;
        default:
            break;
    }
}

void CRecycleBin::Refresh() {
    records_.clear();
    if (const std::optional<IdList> nids = store_.ListDeletedNotes()) {
        records_.reserve(nids->size());
        for (const std::int32_t nid : *nids) {
            records_.push_back({nid, store_.GetNote(kLiveSource, nid, note::title),
                                store_.GetNote(kLiveSource, nid, note::time),
                                store_.GetNote(kLiveSource, nid, note::deleteTime),
                                store_.GetNote(kLiveSource, nid, note::priority)});
        }
    }
    buttons_[cmd::BIN_EMPTY_BUTTON]->setEnabled(!records_.empty());
    std::vector<CListModel::Row> rows;
    rows.reserve(records_.size());
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const CDeletedNote& record = records_[i];
        rows.push_back({static_cast<std::intptr_t>(i),
                        {QString::number(i + 1), textFromStored(record.title),
                         QString::fromStdString(priorityText(record.priority)),
                         QString::fromStdString(listTime(*platform_.clock, record.created)),
                         QString::fromStdString(listTime(*platform_.clock, record.deleted))}});
    }
    list_->rows().setRows(std::move(rows));
    sortAgain();
    updateSelection();
}

void CRecycleBin::updateSelection() {
    selectedNids_.clear();
    for (const int row : list_->selectedRows()) {
        // The number column names the record, wherever a sort has put its row.
        const int index = list_->rows().row(row).cells.value(kNumber).toInt() - 1;
        if (index >= 0 && index < static_cast<int>(records_.size())) {
            selectedNids_.push_back(records_[static_cast<std::size_t>(index)].nid);
        }
    }
    const bool any = !selectedNids_.empty();
    buttons_[cmd::BIN_RESTORE_BUTTON]->setEnabled(any);
    buttons_[cmd::BIN_DELETE_BUTTON]->setEnabled(any);
}

void CRecycleBin::restore() {
    if (selectedNids_.empty() ||
        !platform_.messages->askYesNo("Warning", "", "Do you want to restore the selected note(s)?",
                                      res::ICON_QUESTION)) {
        return;
    }
    const std::vector<std::int32_t> nids = selectedNids_;
    for (const std::int32_t nid : nids) {
        owner_.restoreNote(nid);
    }
    Refresh();
}

void CRecycleBin::erase() {
    if (selectedNids_.empty() ||
        !platform_.messages->askYesNo(
            "Warning", "",
            "Are you sure you want to erase selected note(s) in the Recycle Bin?\nYou can't undo "
            "this action.",
            res::ICON_QUESTION)) {
        return;
    }
    const std::vector<std::int32_t> nids = selectedNids_;
    for (const std::int32_t nid : nids) {
        store_.DeleteNote(nid);
    }
    Refresh();
}

void CRecycleBin::empty() {
    if (!platform_.messages->askYesNo(
            "Warning", "",
            "Are you sure you want to erase ALL notes in the Recycle Bin?\nYou can't undo this "
            "action.",
            res::ICON_QUESTION)) {
        return;
    }
    std::vector<std::int32_t> nids;
    for (const CDeletedNote& record : records_) {
        nids.push_back(record.nid);
    }
    for (const std::int32_t nid : nids) {
        store_.DeleteNote(nid);
    }
    list_->rows().setRows({});
    Refresh();
}

void CRecycleBin::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CRecycleBin::sortByColumn(int column) {
    CListModel& rows = list_->rows();
    auto keyOf = [&](std::size_t row, int c) -> SortKey {
        const auto index = static_cast<std::size_t>(rows.row(static_cast<int>(row)).itemData);
        const CDeletedNote& record = records_[index];
        switch (c) {
            case kTitle:
                return {0, record.title};
            case kPriority:
                return {static_cast<std::uint32_t>(record.priority), {}};
            case kCreated:
                return {record.created, {}};
            case kDeleted:
                return {record.deleted, {}};
            default:
                return {static_cast<std::uint32_t>(record.nid), {}};
        }
    };
    list_->sortRows(sorter_, column, keyOf);
}

void CRecycleBin::sortAgain() {
    if (sorter_.sorted()) {
        sortByColumn(-1);
    }
}

std::unique_ptr<QMenu> CRecycleBin::contextMenu(QPoint viewportPos) {
    auto menu = std::make_unique<QMenu>(this);
    const bool onRow = list_->indexAt(viewportPos).isValid();
    const std::pair<int, const char*> items[] = {{cmd::BIN_MENU_RESTORE, "restore"},
                                                 {cmd::BIN_MENU_DELETE, "delete"},
                                                 {cmd::BIN_MENU_EMPTY, "empty recycle bin"}};
    for (const auto& [id, text] : items) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        action->setEnabled(id == cmd::BIN_MENU_EMPTY ? !records_.empty() : onRow);
    }
    return menu;
}

}  // namespace bp
