#include "AttachPanel.h"

#include "AttachUrl.h"
#include "note/Note.h"
#include "platform/Messages.h"
#include "qtsupport/StoredText.h"
#include "ui/PopupMenu.h"

#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QSizeGrip>
#include <QStyle>
#include <QTreeWidget>

namespace bp {

namespace {

constexpr int kMinHeight = 60;
constexpr int kMaxHeight = 150;
constexpr int kRowRole = Qt::UserRole;

// The three row images; the icons are drawn for the panel.
QIcon stateImage(int image) {
    static const char* const kFiles[] = {
        ":/icons/attach-file.svg", ":/icons/attach-association.svg", ":/icons/attach-mixed.svg"};
    return QIcon(QString::fromLatin1(kFiles[(image >= 1 && image <= 3 ? image : 1) - 1]));
}

// "*.*" would hide files without an extension on this desktop; "*" is what it means.
const char kAttachFilter[] =
    "All Files (*);;Exe Files (*.exe);;RTF Files (*.rtf);;Doc Files (*.doc);;"
    "XLS Files (*.xls);;TXT Files (*.txt)";

}  // namespace

AttachPanel::AttachPanel(CNote& note)
    : QWidget(&note, Qt::Tool | Qt::FramelessWindowHint),
      note_(note),
      nid_(note.nid()),
      grip_(new QSizeGrip(this)) {
    setObjectName(QStringLiteral("BrightpostWnd"));
    setWindowTitle(QStringLiteral("Attachments"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(0, note.platform().info != nullptr && note.platform().info->version().major <= 5
                  ? 50
                  : kMinHeight);

    note_.installEventFilter(this);
    connect(&note, &CNote::colorsChanged, this, [this] {
        if (!note_.closing()) {
            applyColors();
        }
    });
    applyColors();
    refresh();
    created_ = true;
    setMinimumHeight(kMinHeight);
    setMaximumHeight(kMaxHeight);
    fitWidthToNote();
}

QTreeWidget* AttachPanel::list() {
    // Most notes never show their panel; the list and its rows are built when it is first needed.
    if (list_ != nullptr) {
        return list_;
    }
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("attachList"));
    list_->setAccessibleName(QStringLiteral("Attachments"));
    list_->setColumnCount(2);
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setIconSize(QSize(16, 16));
    list_->setColumnWidth(0, 24);
    // The name takes the width the panel has, long ones shortened in the middle (the tip has
    // them whole), so no sideways scroll bar and no empty corner box beside it.
    list_->header()->setStretchLastSection(true);
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QTreeWidgetItem* header = list_->headerItem();
    header->setText(0, QStringLiteral("Type"));
    header->setText(1, QStringLiteral("File"));
    header->setToolTip(0, QStringLiteral("Type of attach"));
    header->setToolTip(1, QStringLiteral("Filename"));
    header->setTextAlignment(0, Qt::AlignCenter);
    connect(list_, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { openContextMenu(list_->viewport()->mapToGlobal(pos)); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { openRow(item); });
    applyColors();
    fillList();
    list_->setGeometry(rect());
    list_->setVisible(true);
    emptyHint_ = new QLabel(
        QStringLiteral("No attachments. Right-click to attach a file, a folder or an address."),
        this);
    emptyHint_->setObjectName(QStringLiteral("attachHint"));
    emptyHint_->setWordWrap(true);
    emptyHint_->setAlignment(Qt::AlignCenter);
    QFont hintFont = emptyHint_->font();
    hintFont.setItalic(true);  // a hint, not a row
    emptyHint_->setFont(hintFont);
    // The right click goes through to the list, which opens the menu.
    emptyHint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    emptyHint_->setGeometry(rect().adjusted(4, 4, -4, -4));
    emptyHint_->setVisible(rows_.empty());
    grip_->raise();
    return list_;
}

void AttachPanel::showEvent(QShowEvent* event) {
    list();
    QWidget::showEvent(event);
}

const CAttachedFiles* AttachPanel::rowOf(const QTreeWidgetItem* item) const {
    if (item == nullptr) {
        return nullptr;
    }
    const int index = item->data(0, kRowRole).toInt();
    return index >= 0 && static_cast<std::size_t>(index) < rows_.size() ? &rows_[index] : nullptr;
}

void AttachPanel::refresh() {
    std::vector<AttachRecord> records;
    CNotesDatabase& store = note_.store();
    if (const auto fids = store.GetNoteAttachedFiles(kLiveSource, nid_, 5)) {
        for (std::int32_t fid : *fids) {
            AttachRecord record{fid, store.GetNoteAttachedFiletype(kLiveSource, nid_, fid), {}};
            store.GetNoteAttachedFilename(kLiveSource, nid_, fid, record.name);
            records.push_back(std::move(record));
        }
    }
    rows_ = attachRows(records);
    fillList();
}

void AttachPanel::fillList() {
    if (list_ == nullptr) {
        return;
    }
    list_->clear();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const CAttachedFiles& row = rows_[i];
        auto* item = new QTreeWidgetItem(list_);
        item->setData(0, kRowRole, static_cast<int>(i));
        const QString whole = textFromStored(row.name);
        const bool folder = row.displayType != kAttachAddress && row.displayType != kAttachWindow &&
                            QFileInfo(whole).isDir();
        item->setIcon(0, folder ? style()->standardIcon(QStyle::SP_DirIcon)
                                : stateImage(attachStateImage(row.displayType)));
        item->setText(1, textFromStored(shownAttachName(row.displayType, row.name)));
        item->setToolTip(0, whole);
        item->setToolTip(1, whole);
    }
    if (emptyHint_ != nullptr) {
        emptyHint_->setVisible(rows_.empty());
    }
}

void AttachPanel::applyColors() {
    QPalette palette = list_ != nullptr ? list_->palette() : this->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, note_.bodyFontColor());
        palette.setColor(group, QPalette::WindowText, note_.bodyFontColor());
        palette.setColor(group, QPalette::Base, note_.bodyBackColor());
        palette.setColor(group, QPalette::Window, note_.bodyBackColor());
    }
    setPalette(palette);
    if (list_ != nullptr) {
        list_->setPalette(palette);
        list_->viewport()->update();
    }
}

void AttachPanel::collectSelection() {
    selection_.clear();
    for (QTreeWidgetItem* item : list()->selectedItems()) {
        if (const CAttachedFiles* row = rowOf(item)) {
            selection_.push_back(row->fid);
        }
    }
}

void AttachPanel::openContextMenu(const QPoint& screenPos) {
    collectSelection();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("attach"));
    struct Item {
        const char* text;
        MenuItem item;
        void (AttachPanel::*run)();
    };
    const Item items[] = {{"run", kMenuRun, &AttachPanel::runSelected},
                          {"attach file to note", kMenuAddFile, &AttachPanel::attachFile},
                          {"attach folder to note", kMenuAddFolder, &AttachPanel::attachFolder},
                          {"add url to note", kMenuAddUrl, &AttachPanel::addAddress},
                          {"delete", kMenuDelete, &AttachPanel::deleteSelected}};
    for (const Item& item : items) {
        QAction* action = menu.addAction(QString::fromLatin1(item.text));
        action->setData(item.item);
        if (item.item == kMenuRun || item.item == kMenuDelete) {
            action->setEnabled(!selection_.empty());
        }
    }
    note_.platform().windows->activate(this);
    // The menu answers with the item chosen; its action's own trigger is not used, since a
    // scripted menu never fires it.
    const int chosen = trackMenu(menu, screenPos);
    for (const Item& item : items) {
        if (item.item == chosen && !note_.closing()) {
            (this->*item.run)();
        }
    }
}

void AttachPanel::openRow(const QTreeWidgetItem* item) {
    const CAttachedFiles* row = rowOf(item);
    if (row != nullptr && row->displayType != kAttachWindow) {
        openName(row->name);
    }
}

void AttachPanel::openName(const std::string& stored) {
    // The opener takes UTF-8; a name from an old database may be in its own code page.
    note_.platform().shell->open(textFromStored(stored).toStdString());
}

void AttachPanel::runSelected() {
    for (std::int32_t fid : selection_) {
        std::string name;
        if (note_.store().GetNoteAttachedFilename(kLiveSource, nid_, fid, name)) {
            openName(name);
        }
    }
}

void AttachPanel::attachFile() {
    note_.BeginModal();
    const std::string path =
        note_.platform().fileDialogs->openFile("Attach file to note", kAttachFilter, "");
    if (!path.empty()) {
        // A file the note already holds is not added again.
        note_.store().AttachFileToNote(nid_, kAttachFile, path);
        refresh();
    }
    note_.EndModal();
}

void AttachPanel::attachFolder() {
    note_.BeginModal();
    const std::string path = note_.platform().fileDialogs->openFolder("Attach folder to note");
    if (!path.empty()) {
        // Stored as a file is: the desktop's opener shows a folder as it opens a document.
        note_.store().AttachFileToNote(nid_, kAttachFile, path);
        refresh();
    }
    note_.EndModal();
}

void AttachPanel::addAddress() {
    note_.BeginModal();
    CAttachUrl dialog(&note_);
    IModalDialogs* dialogs = note_.platform().modalDialogs;
    const int result = dialogs != nullptr ? dialogs->run(dialog) : dialog.exec();
    if (result == QDialog::Accepted && !dialog.url().isEmpty()) {
        note_.store().AttachFileToNote(nid_, kAttachAddress, storedFromText(dialog.url()));
        refresh();
    }
    note_.EndModal();
}

void AttachPanel::deleteSelected() {
    if (selection_.empty()) {
        return;
    }
    CNotesDatabase& store = note_.store();
    for (std::int32_t selected : selection_) {
        std::string name;
        if (!store.GetNoteAttachedFilename(kLiveSource, nid_, selected, name)) {
            continue;
        }
        // One question for every record of that name: a merged row stands for several.
        const auto fids = store.GetNoteAttachedFiles(kLiveSource, nid_, 5);
        for (std::int32_t fid : fids.value_or(IdList{})) {
            std::string other;
            if (!store.GetNoteAttachedFilename(kLiveSource, nid_, fid, other) || other != name) {
                continue;
            }
            const int type = store.GetNoteAttachedFiletype(kLiveSource, nid_, fid);
            const QString shown = textFromStored(name);
            note_.BeginModal();
            if (note_.platform().messages->askYesNo(
                    "Warning", "", detachQuestion(type, shown.toStdString()), res::ICON_QUESTION)) {
                store.DetachFileFromNote(nid_, fid);
            }
            note_.EndModal();
        }
    }
    selection_.clear();
    refresh();
}

void AttachPanel::fitWidthToNote() {
    if (created_) {
        setFixedWidth(note_.width());
    }
}

bool AttachPanel::eventFilter(QObject* watched, QEvent* event) {
    // The note's new width holds before the note moves its panel along.
    if (watched == &note_ && event->type() == QEvent::Resize) {
        fitWidthToNote();
    }
    return QWidget::eventFilter(watched, event);
}

void AttachPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (list_ != nullptr) {
        list_->setGeometry(rect());
    }
    if (emptyHint_ != nullptr) {
        emptyHint_->setGeometry(rect().adjusted(4, 4, -4, -4));
    }
    const QSize grip = grip_->sizeHint();
    grip_->setGeometry(width() - grip.width(), height() - grip.height(), grip.width(),
                       grip.height());
    grip_->raise();
}

}  // namespace bp
