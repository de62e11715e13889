#pragma once

#include "FindOptions.h"
#include "ListWindow.h"

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace bp {

struct FoundNote {
    std::int32_t nid = 0;
    std::string title;
    std::uint32_t created = 0;
    int priority = 0;
    QString context;  // the text around the hit
};

// Find: turns its controls into the note search's option words, lists what the store finds
// and shows the selected notes through the main window.
class FindWindow : public CListWindow {
    Q_OBJECT
public:
    FindWindow(Platform platform, CNotesDatabase& store, IListWindowOwner& owner,
               QWidget* parent = nullptr);

    FindOptions options() const;
    void search();
    void showSelected();

    QLineEdit* textField() const { return text_; }
    QRadioButton* allNotesRadio() const { return allNotes_; }
    QRadioButton* excludeRadio() const { return exclude_; }
    QCheckBox* matchCaseCheck() const { return matchCase_; }
    QCheckBox* wholeWordCheck() const { return wholeWord_; }
    QCheckBox* inTitlesCheck() const { return inTitles_; }
    QCheckBox* inNotesCheck() const { return inNotes_; }
    QPushButton* showSelectedButton() const { return showSelected_; }
    // How many notes the last search found.
    QLabel* countLabel() const { return count_; }
    const std::vector<FoundNote>& results() const { return shown_; }
    // What the last search asked the store.
    const std::string& lastOptions() const { return lastOptions_; }

protected:
    std::optional<std::int32_t> nidOf(std::intptr_t itemData) const override;
    KeyOf sortKeys() override;

private:
    void fill();
    QString contextOf(std::int32_t nid, const std::string& title, const FindOptions& options,
                      const QString& words);

    QLineEdit* text_ = nullptr;
    QRadioButton* allNotes_ = nullptr;
    QRadioButton* exclude_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* inTitles_ = nullptr;
    QCheckBox* inNotes_ = nullptr;
    QPushButton* find_ = nullptr;
    QPushButton* showSelected_ = nullptr;
    QLabel* count_ = nullptr;
    std::vector<FoundNote> found_;
    std::vector<FoundNote> shown_;
    std::string lastOptions_;
};

}  // namespace bp
