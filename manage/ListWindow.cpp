#include "ListWindow.h"

#include <QMenu>
#include <QPushButton>

namespace bp {

CListWindow::CListWindow(Platform platform, CNotesDatabase& store, IListWindowOwner& owner,
                         QWidget* parent)
    : QDialog(parent), platform_(platform), store_(store), owner_(owner) {}

void CListWindow::makeList(std::vector<ListColumn> columns, const QString& accessibleName,
                           const QString& objectName) {
    list_ = new NoteListView(std::move(columns), this);
    list_->setAccessibleName(accessibleName);
    list_->setObjectName(objectName);
    list_->setFillColumn(kTitleColumn);
    connect(list_, &NoteListView::selectionChangedByAnyone, this, &CListWindow::updateSelection);
    connect(list_, &NoteListView::headerClicked, this, &CListWindow::sortByColumn);
    connect(list_, &NoteListView::contextMenuAt, this, [this](QPoint at) {
        // The chosen item's command runs from its triggered(), before exec() returns.
        if (std::unique_ptr<QMenu> menu = contextMenu(at)) {
            menu->exec(list_->viewport()->mapToGlobal(at));
        }
    });
}

CListWindow::~CListWindow() {
    // The list's own teardown changes its selection; nothing of the window is asked then.
    disconnect(list_, nullptr, this, nullptr);
}

std::unique_ptr<QMenu> CListWindow::contextMenu(QPoint) {
    return nullptr;
}

QPushButton* CListWindow::button(const QString& text) const {
    for (QPushButton* button : buttons_) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

QPushButton* CListWindow::addButton(const QString& text, Enabled enabled,
                                    std::function<void()> onClick) {
    auto* button = new QPushButton(text, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, std::move(onClick));
    buttons_.push_back(button);
    if (enabled == Enabled::WithSelection) {
        button->setEnabled(false);
        selectionButtons_.push_back(button);
    }
    return button;
}

void CListWindow::updateSelection() {
    selectedNids_.clear();
    for (const int row : list_->selectedRows()) {
        if (const std::optional<std::int32_t> nid = nidOf(list_->rows().row(row).itemData)) {
            selectedNids_.push_back(*nid);
        }
    }
    for (QPushButton* button : selectionButtons_) {
        button->setEnabled(!selectedNids_.empty());
    }
    selectionUpdated();
}

void CListWindow::sortByColumn(int column) {
    const KeyOf keyOf = sortKeys();
    const NoteListModel& rows = list_->rows();
    list_->sortRows(sorter_, column, [&](std::size_t row, int c) {
        return keyOf(rows.row(static_cast<int>(row)).itemData, c);
    });
}

void CListWindow::sortAgain() {
    if (sorter_.sorted()) {
        sortByColumn(-1);
    }
}

}  // namespace bp
