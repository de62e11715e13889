#pragma once

#include "ListSort.h"
#include "platform/Platform.h"

#include <QDialog>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QPushButton;

namespace bp {

class CCustomList;
class CNotesDatabase;
class INoteOwner;

struct CDeletedNote {
    std::int32_t nid = 0;
    std::string title;
    std::uint32_t created = 0;
    std::uint32_t deleted = 0;
    int priority = 0;
};

// The Recycle Bin: the notes marked deleted, restored through the main window (a restored
// note needs a window) or erased for good in the store.
class CRecycleBin : public QDialog {
    Q_OBJECT
public:
    CRecycleBin(Platform platform, CNotesDatabase& store, INoteOwner& owner,
                QWidget* parent = nullptr);
    ~CRecycleBin() override;

    void onCommand(int id);
    void Refresh();
    void sortByColumn(int column);
    std::unique_ptr<QMenu> contextMenu(QPoint viewportPos);

    CCustomList* list() const { return list_; }
    QPushButton* button(int id) const;
    const std::vector<CDeletedNote>& records() const { return records_; }
    const std::vector<std::int32_t>& selectedNids() const { return selectedNids_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateSelection();
    void restore();
    void erase();
    void empty();
    void sortAgain();

    Platform platform_;
    CNotesDatabase& store_;
    INoteOwner& owner_;
    CCustomList* list_ = nullptr;
    std::map<int, QPushButton*> buttons_;
    std::vector<CDeletedNote> records_;
    std::vector<std::int32_t> selectedNids_;
    ListSorter sorter_;
};

}  // namespace bp
