#pragma once

#include "ListSort.h"
#include "NoteListView.h"
#include "platform/Platform.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QPushButton;

namespace bp {

class CNotesDatabase;
class IListWindowOwner;

// What the Notes Manager, the Recycle Bin and Find have in common: a list of notes whose
// header sorts it (the arrow showing the column and the direction), a sort that survives
// every refill of the rows, the notes of the selected rows and the buttons that need them,
// and a context menu on the list where the window has one. Each window brings its columns,
// its rows and its own commands.
class CListWindow : public QDialog {
    Q_OBJECT
public:
    ~CListWindow() override;

    // A header click; a negative column sorts the rows again as the last click did.
    void sortByColumn(int column);
    // The context menu for a click at a point of the list's viewport; none where the window
    // has no menu.
    virtual std::unique_ptr<QMenu> contextMenu(QPoint viewportPos);

    NoteListView* list() const { return list_; }
    // The button showing text; nullptr for none.
    QPushButton* button(const QString& text) const;
    // The notes of the selected rows, from the top of the list down.
    const std::vector<std::int32_t>& selectedNids() const { return selectedNids_; }
    const ListSorter& sorter() const { return sorter_; }

protected:
    // The key in a column of the row with the item data.
    using KeyOf = std::function<SortKey(std::intptr_t itemData, int column)>;
    // The column every list has its titles in; the only one sorted as text.
    static constexpr int kTitleColumn = 1;

    CListWindow(Platform platform, CNotesDatabase& store, IListWindowOwner& owner, QWidget* parent);

    // Makes the list, once; each window calls it where the list goes in its Tab order.
    void makeList(std::vector<ListColumn> columns, const QString& accessibleName,
                  const QString& objectName);

    enum class Enabled { Always, WithSelection };
    // A button that Enter does not press; WithSelection, it is enabled only while rows are
    // selected.
    QPushButton* addButton(const QString& text, Enabled enabled, std::function<void()> onClick);
    const std::vector<QPushButton*>& buttons() const { return buttons_; }
    // Reads which notes are selected and enables the buttons that need some.
    void updateSelection();
    // After the rows changed: sorts them the way the user last did, if ever.
    void sortAgain();

    // The note of the row with the item data; none for a row the window no longer holds.
    virtual std::optional<std::int32_t> nidOf(std::intptr_t itemData) const = 0;
    // The keys for one sort, made once before it, so that a window can read what every row
    // needs (the live notes, say) once instead of for each row.
    virtual KeyOf sortKeys() = 0;
    // Called after updateSelection read the selection.
    virtual void selectionUpdated() {}

    Platform platform_;
    CNotesDatabase& store_;
    IListWindowOwner& owner_;
    std::vector<std::int32_t> selectedNids_;

private:
    NoteListView* list_ = nullptr;
    ListSorter sorter_{[](int column) { return column == kTitleColumn; }};
    std::vector<QPushButton*> buttons_;
    std::vector<QPushButton*> selectionButtons_;
};

}  // namespace bp
