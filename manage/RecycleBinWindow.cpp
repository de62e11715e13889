#include "RecycleBinWindow.h"

#include "ListText.h"
#include "ListWindowOwner.h"
#include "NoteListView.h"
#include "platform/Messages.h"
#include "qtsupport/NoteName.h"
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

RecycleBinWindow::RecycleBinWindow(Platform platform, CNotesDatabase& store,
                                   IListWindowOwner& owner, QWidget* parent)
    : CListWindow(platform, store, owner, parent) {
    setObjectName("recycleBin");
    setWindowTitle("Recycle Bin");
    makeList(binColumns(), QStringLiteral("Deleted notes"), QStringLiteral("binList"));

    // Enter closes the dialog, as Escape does; no button takes it.
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(addButton("Restore", Enabled::WithSelection, [this] { restore(); }));
    buttonRow->addWidget(addButton("Delete", Enabled::WithSelection, [this] { erase(); }));
    buttonRow->addWidget(addButton("Refresh", Enabled::Always, [this] { refresh(); }));
    buttonRow->addStretch();
    emptyButton_ = addButton("Empty Recycle Bin", Enabled::Always, [this] { empty(); });
    buttonRow->addWidget(emptyButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list());
    layout->addLayout(buttonRow);
    resize(620, 360);
    refresh();
}

void RecycleBinWindow::refresh() {
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
    emptyButton_->setEnabled(!records_.empty());
    std::vector<NoteListModel::Row> rows;
    rows.reserve(records_.size());
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const CDeletedNote& record = records_[i];
        rows.push_back(
            {static_cast<std::intptr_t>(i),
             {QString::number(i + 1), readableNoteName(textFromStored(record.title), record.nid),
              QString::fromStdString(priorityText(record.priority)),
              QString::fromStdString(listTime(*platform_.clock, record.created)),
              QString::fromStdString(listTime(*platform_.clock, record.deleted))}});
    }
    list()->rows().setRows(std::move(rows));
    sortAgain();
    updateSelection();
}

std::optional<std::int32_t> RecycleBinWindow::nidOf(std::intptr_t itemData) const {
    // The item data names the record, wherever a sort has put its row.
    const auto index = static_cast<std::size_t>(itemData);
    return index < records_.size() ? std::optional(records_[index].nid) : std::nullopt;
}

void RecycleBinWindow::restore() {
    if (selectedNids_.empty() ||
        !platform_.messages->askYesNo("Warning", "", "Do you want to restore the selected note(s)?",
                                      res::ICON_QUESTION)) {
        return;
    }
    const std::vector<std::int32_t> nids = selectedNids_;
    for (const std::int32_t nid : nids) {
        owner_.restoreNote(nid);
    }
    refresh();
}

void RecycleBinWindow::erase() {
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
    refresh();
}

void RecycleBinWindow::empty() {
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
    list()->rows().setRows({});
    refresh();
}

void RecycleBinWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

CListWindow::KeyOf RecycleBinWindow::sortKeys() {
    return [this](std::intptr_t itemData, int c) -> SortKey {
        const CDeletedNote& record = records_[static_cast<std::size_t>(itemData)];
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
}

std::unique_ptr<QMenu> RecycleBinWindow::contextMenu(QPoint viewportPos) {
    auto menu = std::make_unique<QMenu>(this);
    const bool onRow = list()->indexAt(viewportPos).isValid();
    menu->addAction("restore", this, &RecycleBinWindow::restore)->setEnabled(onRow);
    menu->addAction("delete", this, &RecycleBinWindow::erase)->setEnabled(onRow);
    menu->addAction("empty recycle bin", this, &RecycleBinWindow::empty)
        ->setEnabled(!records_.empty());
    return menu;
}

}  // namespace bp
