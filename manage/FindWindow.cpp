#include "FindWindow.h"

#include "HitContext.h"
#include "ListText.h"
#include "ListWindowOwner.h"
#include "NoteListView.h"
#include "platform/Messages.h"
#include "qtsupport/NoteName.h"
#include "qtsupport/StoredText.h"
#include "richtext/RtfReader.h"
#include "store/NotesDatabase.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace bp {

namespace {

enum Column { kNumber, kTitle, kCreated, kPriority, kContext };

std::vector<ListColumn> findColumns() {
    return {{"N", 40, "Note Number"},
            {"Title", 200, "Note Title"},
            {"Created", 155, "Created Time"},
            {"Priority", 50, "Note Priority"},
            {"Found text", 200, "The text around the match"}};
}

}  // namespace

FindWindow::FindWindow(Platform platform, CNotesDatabase& store, IListWindowOwner& owner,
                       QWidget* parent)
    : CListWindow(platform, store, owner, parent) {
    setObjectName("find");
    setWindowTitle("Find");

    text_ = new QLineEdit(this);
    text_->setObjectName("findText");
    auto* label = new QLabel("Find", this);
    label->setBuddy(text_);
    allNotes_ = new QRadioButton("Find in all notes", this);
    exclude_ = new QRadioButton("Exclude minimized and locked notes", this);
    matchCase_ = new QCheckBox("Match case", this);
    wholeWord_ = new QCheckBox("Match whole word", this);
    inTitles_ = new QCheckBox("Find in titles", this);
    inNotes_ = new QCheckBox("Find in notes", this);
    find_ = new QPushButton("Find", this);
    find_->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setAutoDefault(false);
    makeList(findColumns(), QStringLiteral("Found notes"), QStringLiteral("findList"));
    // The found text is what tells the results apart; the titles keep their own width.
    list()->setFillColumn(kContext);
    count_ = new QLabel(this);
    count_->setObjectName("findCount");
    showSelected_ =
        addButton("Show Selected Notes", Enabled::WithSelection, [this] { showSelected(); });

    // Every opening starts from the same choices.
    const FindOptions initial;
    allNotes_->setChecked(initial.allNotes);
    exclude_->setChecked(!initial.allNotes);
    matchCase_->setChecked(initial.matchCase);
    wholeWord_->setChecked(initial.wholeWord);
    inTitles_->setChecked(initial.inTitles);
    inNotes_->setChecked(initial.inNotes);

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(text_, 1);
    auto* choices = new QGridLayout;
    choices->addWidget(allNotes_, 0, 0);
    choices->addWidget(exclude_, 1, 0);
    choices->addWidget(matchCase_, 0, 1);
    choices->addWidget(wholeWord_, 1, 1);
    choices->addWidget(inTitles_, 0, 2);
    choices->addWidget(inNotes_, 1, 2);
    auto* commands = new QVBoxLayout;
    commands->addWidget(find_);
    commands->addWidget(cancel);
    commands->addStretch();
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(textRow);
    left->addLayout(choices);
    top->addLayout(left, 1);
    top->addLayout(commands);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count_);
    bottom->addStretch();
    bottom->addWidget(showSelected_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list(), 1);
    layout->addLayout(bottom);
    resize(640, 420);

    connect(find_, &QPushButton::clicked, this, &FindWindow::search);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

FindOptions FindWindow::options() const {
    FindOptions options;
    options.matchCase = matchCase_->isChecked();
    options.wholeWord = wholeWord_->isChecked();
    options.inNotes = inNotes_->isChecked();
    options.inTitles = inTitles_->isChecked();
    options.allNotes = allNotes_->isChecked();
    return options;
}

void FindWindow::search() {
    shown_.clear();
    lastOptions_ = options().words();
    const QString text = text_->text().trimmed();
    text_->setText(text);
    found_.clear();
    const FindOptions chosen = options();
    if (const std::optional<IdList> nids =
            store_.SearchNotes(-1, lastOptions_, storedFromText(text))) {
        for (const std::int32_t nid : *nids) {
            std::string title = store_.GetNote(kLiveSource, nid, note::title);
            QString context = contextOf(nid, title, chosen, text);
            found_.push_back({nid, std::move(title), store_.GetNote(kLiveSource, nid, note::time),
                              store_.GetNote(kLiveSource, nid, note::priority),
                              std::move(context)});
        }
    }
    count_->setText(found_.size() == 1 ? QStringLiteral("1 note found")
                                       : QStringLiteral("%1 notes found").arg(found_.size()));
    if (found_.empty()) {
        platform_.messages->showMessage("Warning", "", "No notes were found", res::ICON_WARNING);
    } else {
        shown_ = found_;
    }
    fill();
}

QString FindWindow::contextOf(std::int32_t nid, const std::string& title,
                              const FindOptions& options, const QString& words) {
    // Where the search looked first: the text, then the title.
    if (options.inNotes) {
        std::string body;
        if (store_.GetNoteBody(kLiveSource, nid, body)) {
            QString context =
                hitContext(rtf::bodySearchText(body), words, options.matchCase, options.wholeWord);
            if (!context.isEmpty()) {
                return context;
            }
        }
    }
    if (options.inTitles) {
        return hitContext(textFromStored(title).simplified(), words, options.matchCase,
                          options.wholeWord);
    }
    return {};
}

void FindWindow::fill() {
    std::vector<NoteListModel::Row> rows;
    rows.reserve(shown_.size());
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        const FoundNote& record = shown_[i];
        rows.push_back(
            {static_cast<std::intptr_t>(i),
             {QString::number(i + 1), readableNoteName(textFromStored(record.title), record.nid),
              QString::fromStdString(listTime(*platform_.clock, record.created)),
              QString::fromStdString(priorityText(record.priority)), record.context}});
    }
    list()->rows().setRows(std::move(rows));
    // A new search keeps the sort the user chose for the last one.
    sortAgain();
    updateSelection();
}

std::optional<std::int32_t> FindWindow::nidOf(std::intptr_t itemData) const {
    // The item data names the result, wherever a sort has put its row.
    const auto index = static_cast<std::size_t>(itemData);
    return index < shown_.size() ? std::optional(shown_[index].nid) : std::nullopt;
}

void FindWindow::showSelected() {
    const std::vector<std::int32_t> nids = selectedNids_;
    for (const std::int32_t nid : nids) {
        owner_.showNote(nid);
    }
}

CListWindow::KeyOf FindWindow::sortKeys() {
    return [this](std::intptr_t itemData, int c) -> SortKey {
        const FoundNote& record = shown_[static_cast<std::size_t>(itemData)];
        switch (c) {
            case kTitle:
                return {0, record.title};
            case kCreated:
                return {record.created, {}};
            case kPriority:
                return {static_cast<std::uint32_t>(record.priority), {}};
            default:
                return {static_cast<std::uint32_t>(record.nid), {}};
        }
    };
}

}  // namespace bp
