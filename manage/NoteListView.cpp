#include "NoteListView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>

namespace bp {

NoteListModel::NoteListModel(std::vector<ListColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void NoteListModel::setRows(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void NoteListModel::setCells(int row, const QStringList& cells) {
    rows_[static_cast<std::size_t>(row)].cells = cells;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void NoteListModel::reorder(const std::vector<std::size_t>& positions) {
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newPlace(rows_.size());
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        sorted.push_back(std::move(rows_[positions[i]]));
        newPlace[positions[i]] = static_cast<int>(i);
    }
    rows_ = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        after.push_back(index(newPlace[static_cast<std::size_t>(old.row())], old.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

int NoteListModel::rowOf(std::intptr_t itemData) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].itemData == itemData) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int NoteListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int NoteListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant NoteListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        const QStringList& cells = rows_[static_cast<std::size_t>(index.row())].cells;
        return index.column() < cells.size() ? cells[index.column()] : QString();
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    return {};
}

QVariant NoteListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size())) {
        return {};
    }
    const ListColumn& column = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) {
        return column.heading;
    }
    if (role == Qt::ToolTipRole) {
        // The header's tips are at most 100 pixels wide; longer texts wrap.
        return QStringLiteral("<table width=100><tr><td>%1</td></tr></table>")
            .arg(column.toolText.toHtmlEscaped());
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    return {};
}

NoteListView::NoteListView(std::vector<ListColumn> columns, QWidget* parent)
    : QTableView(parent), model_(std::move(columns), this) {
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // Rows of one height let the view lay out a thousand of them without measuring each.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    for (std::size_t c = 0; c < model_.columns().size(); ++c) {
        setColumnWidth(static_cast<int>(c), model_.columns()[c].width);
    }
    // An inactive window keeps the selection colour, so the selection stays visible.
    QPalette keep = palette();
    keep.setColor(QPalette::Inactive, QPalette::Highlight,
                  keep.color(QPalette::Active, QPalette::Highlight));
    keep.setColor(QPalette::Inactive, QPalette::HighlightedText,
                  keep.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(keep);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &NoteListView::headerClicked);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &NoteListView::selectionChangedByAnyone);
    connect(&model_, &QAbstractItemModel::modelReset, this,
            &NoteListView::selectionChangedByAnyone);
    connect(&model_, &QAbstractItemModel::modelReset, this, &NoteListView::fitColumns);
    connect(&model_, &QAbstractItemModel::dataChanged, this, &NoteListView::fitColumns);
}

void NoteListView::setFillColumn(int column) {
    fillColumn_ = column;
    fitColumns();
}

int NoteListView::contentWidth(int column) const {
    // Every row is measured, not just those in view: a column must not cut the texts of the
    // rows further down. Measuring a text is cheap next to laying out a row.
    const QFontMetrics metrics = fontMetrics();
    int widest = horizontalHeader()->sectionSizeHint(column);
    for (int row = 0; row < model_.rowCount(); ++row) {
        widest = std::max(widest, metrics.horizontalAdvance(model_.row(row).cells.value(column)));
    }
    // The cell's margins on both sides and the grid line.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    // A column of long titles beside the one that fills the view stops somewhere; its texts
    // are shortened then, whole in the note.
    constexpr int kWidest = 300;
    return std::min(widest + margins + 8,
                    std::max(kWidest, horizontalHeader()->sectionSizeHint(column)));
}

void NoteListView::fitColumns() {
    if (fillColumn_ < 0) {
        return;
    }
    const int columns = model_.columnCount();
    int others = 0;
    for (int c = 0; c < columns; ++c) {
        if (c != fillColumn_) {
            const int width = contentWidth(c);
            setColumnWidth(c, width);
            others += width;
        }
    }
    // The fill column takes the rest, so no empty band is left on the right; when the view is
    // too narrow for every text it keeps at least its heading and the view scrolls sideways.
    const int heading = horizontalHeader()->sectionSizeHint(fillColumn_);
    setColumnWidth(fillColumn_, std::max(heading, viewport()->width() - others));
}

std::vector<int> NoteListView::selectedRows() const {
    std::vector<int> result;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        result.push_back(index.row());
    }
    std::sort(result.begin(), result.end());
    return result;
}

void NoteListView::selectOnly(int row) {
    if (row < 0 || row >= model_.rowCount()) {
        clearSelection();
        return;
    }
    const QModelIndex index = model_.index(row, 0);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

QString NoteListView::headerToolTextAt(int x) const {
    const int column = horizontalHeader()->logicalIndexAt(x);
    if (column < 0) {
        return {};
    }
    return model_.columns()[static_cast<std::size_t>(column)].toolText;
}

void NoteListView::sortRows(ListSorter& sorter, int column, const ListSorter::KeyOf& keyOf) {
    if (column < 0 && !sorter.sorted()) {
        return;
    }
    const auto count = static_cast<std::size_t>(model_.rowCount());
    model_.reorder(column < 0 ? sorter.repeat(count, keyOf) : sorter.sortBy(column, count, keyOf));
    QHeaderView* header = horizontalHeader();
    header->setSortIndicator(sorter.column(),
                             sorter.ascending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    header->setSortIndicatorShown(true);
}

void NoteListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid()) {
        emit rowActivated();
    }
}

bool NoteListView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) {
        // Also when only the vertical scroll bar came or went.
        fitColumns();
    }
    if (event->type() == QEvent::ContextMenu) {
        emit contextMenuAt(static_cast<QContextMenuEvent*>(event)->pos());
        return true;
    }
    return QTableView::viewportEvent(event);
}

}  // namespace bp
