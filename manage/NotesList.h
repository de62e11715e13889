#pragma once

#include "ListSort.h"
#include "platform/Platform.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QMenu;
class QPushButton;

namespace bp {

class CCustomList;
class CNotesDatabase;
class INoteOwner;

// The Notes Manager: every note that is not in the Recycle Bin, one row each, and the actions
// on the selected ones. It changes no note itself; each action is a message to the main
// window, which finds the note by its nid.
class CNotesList : public QDialog {
    Q_OBJECT
public:
    CNotesList(Platform platform, CNotesDatabase& store, INoteOwner& owner,
               QWidget* parent = nullptr);
    ~CNotesList() override;

    // Shown from the tray or the hot key: above every window, without taking the focus,
    // with a fresh list.
    void showOnTop();

    // Command 40007 and the buttons' and menu's numbers.
    void onCommand(int id);
    // Message 40009: one note changed.
    void onNoteChanged(std::int32_t nid);
    void RefreshList();
    void UpdateSelection();
    void ToggleSelected();
    // A header click; a negative column sorts the rows again as the last click did.
    void sortByColumn(int column);
    // The context menu for a click at a point of the list's viewport (menu 14).
    std::unique_ptr<QMenu> contextMenu(QPoint viewportPos);

    // Runs the print of several notes: one print dialog owned by the manager, then printOne for
    // each note while the program's shared printer holds the choice. Without one the notes are
    // handed their print one after the other.
    using PrintRunner = std::function<void(QWidget* owner, const std::vector<std::int32_t>& nids,
                                           const std::function<void(std::int32_t)>& printOne)>;
    void setPrintRunner(PrintRunner runner) { printRunner_ = std::move(runner); }

    CCustomList* list() const { return list_; }
    QPushButton* button(int id) const;
    const std::vector<std::int32_t>& selectedNids() const { return selectedNids_; }
    std::int32_t currentNid() const { return currentNid_; }
    const ListSorter& sorter() const { return sorter_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void reject() override;

private:
    void layOut(int width, int height);
    void bringToTop();
    void keepOpenedWindowsAbove();
    // The row's texts; number is what column 0 shows.
    QStringList cellsOf(std::int32_t nid, int number);
    void deleteSelected();
    void printSelected();
    void sortAgain();

    Platform platform_;
    CNotesDatabase& store_;
    INoteOwner& owner_;
    CCustomList* list_ = nullptr;
    std::map<int, QPushButton*> buttons_;
    std::vector<std::int32_t> selectedNids_;
    std::int32_t currentNid_ = -1;
    ListSorter sorter_;
    PrintRunner printRunner_;
};

}  // namespace bp
