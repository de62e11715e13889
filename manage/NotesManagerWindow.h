#pragma once

#include "ListWindow.h"
#include "store/NotesDatabase.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace bp {

// The Notes Manager: every note that is not in the Recycle Bin, one row each, and the actions
// on the selected ones. It changes no note itself; each action is a message to the main
// window, which finds the note by its nid.
class NotesManagerWindow : public CListWindow {
    Q_OBJECT
public:
    NotesManagerWindow(Platform platform, CNotesDatabase& store, IListWindowOwner& owner,
                       QWidget* parent = nullptr);

    // Shown from the tray or the hot key: above every window, without taking the focus,
    // with a fresh list.
    void showOnTop();

    // From the main window: the notes changed (made, deleted, restored), or one of them did.
    void reload();
    void noteChanged(std::int32_t nid);
    void refreshList();

    // The buttons and the context menu.
    void newNote();
    void showSelected();
    void hideSelected();
    void deleteSelected();
    void printSelected();
    // Opens the first selected note's alarm menu.
    void openAlarmMenu();
    void openTrayMenu();
    // Enter and a double click: shows the hidden ones of the selected notes, hides the others.
    void toggleSelected();

    std::unique_ptr<QMenu> contextMenu(QPoint viewportPos) override;

    // Runs the print of several notes: one print dialog owned by the manager, then printOne for
    // each note while the program's shared printer holds the choice. Without one the notes are
    // handed their print one after the other.
    using PrintRunner = std::function<void(QWidget* owner, const std::vector<std::int32_t>& nids,
                                           const std::function<void(std::int32_t)>& printOne)>;
    void setPrintRunner(PrintRunner runner) { printRunner_ = std::move(runner); }

    std::int32_t currentNid() const { return currentNid_; }
    // What narrows the list as one types: the words Find would look for in titles and texts.
    QLineEdit* searchField() const { return search_; }
    // Narrows the list to the notes whose alarm will ring.
    QCheckBox* alarmsOnlyCheck() const { return alarmsOnly_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void reject() override;

    std::optional<std::int32_t> nidOf(std::intptr_t itemData) const override;
    KeyOf sortKeys() override;
    void selectionUpdated() override;

private:
    void layOut(int width, int height);
    void bringToTop();
    void keepOpenedWindowsAbove();
    // The row's texts; number is what column 0 shows.
    QStringList cellsOf(std::int32_t nid, int number);
    // Calls for each selected note in turn, as the current note.
    void forEachSelected(const std::function<void(std::int32_t)>& call);

    // The notes the search and the alarm filter leave in the list, in database order.
    IdList shownNids(const IdList& all);
    bool filtering() const;

    std::int32_t currentNid_ = -1;
    QLabel* searchLabel_ = nullptr;
    QLineEdit* search_ = nullptr;
    QCheckBox* alarmsOnly_ = nullptr;
    PrintRunner printRunner_;
};

}  // namespace bp
