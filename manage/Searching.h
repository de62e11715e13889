#pragma once

#include "FindOptions.h"
#include "ListSort.h"
#include "platform/Platform.h"

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace bp {

class CCustomList;
class CNotesDatabase;
class INoteOwner;

struct CNotesS {
    std::int32_t nid = 0;
    std::string title;
    std::uint32_t created = 0;
    int priority = 0;
};

// Find: turns its controls into the note search's option words, lists what the store finds
// and shows the selected notes through the main window.
class CSearching : public QDialog {
    Q_OBJECT
public:
    CSearching(Platform platform, CNotesDatabase& store, INoteOwner& owner,
               QWidget* parent = nullptr);
    ~CSearching() override;

    FindOptions options() const;
    void Find();
    void ShowSelected();
    void sortByColumn(int column);

    QLineEdit* textField() const { return text_; }
    QRadioButton* allNotesRadio() const { return allNotes_; }
    QRadioButton* excludeRadio() const { return exclude_; }
    QCheckBox* matchCaseCheck() const { return matchCase_; }
    QCheckBox* wholeWordCheck() const { return wholeWord_; }
    QCheckBox* inTitlesCheck() const { return inTitles_; }
    QCheckBox* inNotesCheck() const { return inNotes_; }
    QPushButton* showSelectedButton() const { return showSelected_; }
    CCustomList* list() const { return list_; }
    const std::vector<CNotesS>& results() const { return shown_; }
    const std::vector<std::int32_t>& selectedNids() const { return selectedNids_; }
    // What the last search asked the store.
    const std::string& lastOptions() const { return lastOptions_; }

private:
    void updateSelection();
    void fill();

    Platform platform_;
    CNotesDatabase& store_;
    INoteOwner& owner_;
    QLineEdit* text_ = nullptr;
    QRadioButton* allNotes_ = nullptr;
    QRadioButton* exclude_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* inTitles_ = nullptr;
    QCheckBox* inNotes_ = nullptr;
    QPushButton* find_ = nullptr;
    QPushButton* showSelected_ = nullptr;
    CCustomList* list_ = nullptr;
    std::vector<CNotesS> found_;
    std::vector<CNotesS> shown_;
    std::vector<std::int32_t> selectedNids_;
    std::string lastOptions_;
    ListSorter sorter_;
};

}  // namespace bp
