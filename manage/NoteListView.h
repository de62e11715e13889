#pragma once

#include "ListSort.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bp {

struct ListColumn {
    QString heading;
    int width = 0;
    QString toolText;  // the header's tool tip
};

// The rows of a list, read once from the store by the window that owns it. A refresh
// replaces them all in one reset, so a thousand notes cost one relayout, not a thousand.
class NoteListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        std::intptr_t itemData = 0;  // what the window identifies the row by
        QStringList cells;
    };

    explicit NoteListModel(std::vector<ListColumn> columns, QObject* parent = nullptr);

    void setRows(std::vector<Row> rows);
    void setCells(int row, const QStringList& cells);
    // Puts the rows in a new order: positions[i] is the current position of the new row i.
    void reorder(const std::vector<std::size_t>& positions);

    const Row& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    int rowOf(std::intptr_t itemData) const;
    const std::vector<ListColumn>& columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ListColumn> columns_;
    std::vector<Row> rows_;
};

// The report-view list of the Notes Manager, the Recycle Bin and Find: whole rows, several
// at once, grid lines, every cell centred, the selection shown also without the focus, a
// tool tip on each column header that follows the column when it is resized, and columns that
// fit their texts and the view's width.
class NoteListView : public QTableView {
    Q_OBJECT
public:
    explicit NoteListView(std::vector<ListColumn> columns, QWidget* parent = nullptr);

    NoteListModel& rows() { return model_; }
    const NoteListModel& rows() const { return model_; }
    // The selected rows from the top of the list down.
    std::vector<int> selectedRows() const;
    void selectOnly(int row);
    // The tool text of the header at x (in header coordinates), empty outside every column.
    QString headerToolTextAt(int x) const;
    // Sorts the rows by a column (a header click), or with a negative column sorts them again
    // the way they were last sorted (after the rows changed; nothing before the first click),
    // and shows the sort column and its direction in the header.
    void sortRows(ListSorter& sorter, int column, const ListSorter::KeyOf& keyOf);
    // The column that takes the room the others leave, so the columns always fill the view;
    // the others are as wide as their widest text or heading. -1: none (widths as given).
    void setFillColumn(int column);
    // Sizes the columns again; the view does it itself when its rows or its width change.
    void fitColumns();

signals:
    void headerClicked(int column);
    void selectionChangedByAnyone();
    void rowActivated();  // a double click on a row
    void contextMenuAt(QPoint viewportPos);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    int contentWidth(int column) const;

    NoteListModel model_;
    int fillColumn_ = -1;
};

}  // namespace bp
