#include "NotesSettingsDialog.h"

#include "DialogParts.h"
#include "NumberField.h"
#include "SettingsOwner.h"
#include "SettingsRules.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "qtsupport/StoredText.h"
#include "store/NotesDatabase.h"
#include "store/Settings.h"
#include "ui/BodyFormat.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"
#include "ui/NoteDialogs.h"
#include "ui/NoteStyle.h"
#include "ui/TransparencyDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace bp {

namespace {

// 339 × 12 dialog units of the dialog font the layout was drawn in.
constexpr QSize kPreviewSize(508, 20);
constexpr int kPreviewIndent = 30;

QPushButton* button(const char* text, const char* name) {
    auto* b = new QPushButton(QString::fromUtf8(text));
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

QComboBox* comboBox(std::string_view name, bool editable, const QStringList& items) {
    auto* combo = new QComboBox;
    combo->setObjectName(settingControlName(name));
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    return combo;
}

// The preview sits under its button, indented like the rest of the group's contents.
QWidget* indented(QWidget* widget) {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(kPreviewIndent, 0, 0, 0);
    layout->addWidget(widget);
    layout->addStretch(1);
    return box;
}

}  // namespace

// ---- The preview ---------------------------------------------------------------------------

NoteSamplePreview::NoteSamplePreview(QWidget* parent) : QWidget(parent) {
    setFixedSize(kPreviewSize);
}

const QString& NoteSamplePreview::sampleText() {
    static const QString text = QStringLiteral("Aa Bb Cc Dd Ee ...");
    return text;
}

void NoteSamplePreview::setLook(const QColor& text, const QColor& background, const QFont& font) {
    text_ = text;
    background_ = background;
    font_ = font;
    update();
}

void NoteSamplePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    painter.setFont(font_);
    painter.setPen(text_);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, sampleText());
}

// ---- The dialog ----------------------------------------------------------------------------

NotesSettingsDialog::NotesSettingsDialog(CNotesDatabase& store, const Platform& platform,
                                         ISettingsOwner& owner, INoteDialogs& dialogs,
                                         QWidget* parent)
    : QDialog(parent), store_(store), platform_(platform), owner_(owner), dialogs_(dialogs) {
    setObjectName(QStringLiteral("notesSettings"));
    setWindowTitle(QStringLiteral("Notes Settings"));
    setWindowIcon(boxIcon(res::ICON_PROGRAM));

    const Rect screen = platform_.desktop != nullptr ? platform_.desktop->screenRect() : Rect{};
    desktopWidth_ = std::max(screen.width, settings::kSmallestMinWidth);
    desktopHeight_ = std::max(screen.height, settings::kSmallestMinHeight);

    transparency_ = setting::get(store_, setting::Transparency);
    transLevel_ = setting::get(store_, setting::TransLevel);
    autoLockAtOpening_ = setting::get(store_, setting::AutoLock);
    titleFontColor_ = setting::get(store_, setting::titleFontColor);
    titleBackColor_ = setting::get(store_, setting::titleBackColor);
    bodyFontColor_ = setting::get(store_, setting::bodyFontColor);
    bodyBackColor_ = setting::get(store_, setting::bodyBackColor);
    titleFont_ = setting::get(store_, setting::titleFontType);
    bodyFont_ = setting::get(store_, setting::bodyFontType);
    storedTitleText_ = setting::get(store_, setting::TitleText);
    defaultImagePath_ = setting::get(store_, setting::defaultImagePath);

    // Sizes: each minimum between the smallest note and the desktop, each size between its
    // minimum and the desktop.
    const int minWidth = setting::get(store_, setting::minWidth);
    const int minHeight = setting::get(store_, setting::minHeight);
    minWidth_ = settingNumberField(setting::minWidth.name, settings::kSmallestMinWidth,
                                   desktopWidth_, minWidth);
    minHeight_ = settingNumberField(setting::minHeight.name, settings::kSmallestMinHeight,
                                    desktopHeight_, minHeight);
    width_ = settingNumberField(setting::Width.name, minWidth_->position(), desktopWidth_,
                                setting::get(store_, setting::Width));
    height_ = settingNumberField(setting::Height.name, minHeight_->position(), desktopHeight_,
                                 setting::get(store_, setting::Height));
    autoLockTime_ = settingNumberField(setting::autoLockTime.name, 0, settings::kMaxAutoLockTime,
                                       setting::get(store_, setting::autoLockTime));

    priority_ = comboBox(setting::priority.name, true, {"High", "Regular", "Low"});
    std::string priorityName;
    store_.GetDefaultPriorityName(priorityName);
    priority_->setCurrentText(QString::fromStdString(priorityName));
    auto* transparencyButton = button("Transparency Settings", "transparency");
    randomColors_ =
        settingCheckBox(QStringLiteral("Select ran&dom colors for new notes"),
                        setting::RandomColors.name, setting::get(store_, setting::RandomColors));
    autoLock_ = settingCheckBox(QStringLiteral("Auto lock notes after "), setting::AutoLock.name,
                                autoLockAtOpening_);

    // The title: one entry per date format, shown with the time now.
    titleDate_ = comboBox(setting::TitleDefaults.name, false, {});
    for (int index = 0; index < kDateFormatCount; ++index) {
        const std::string sample = index == 0 || platform_.clock == nullptr
                                       ? std::string()
                                       : platform_.clock->formatNow(GetDateFormat(index), 127);
        // The first entry, no date, would be a blank line: it says what it is.
        titleDate_->addItem(index == 0 ? QStringLiteral("No date") : textFromStored(sample));
    }
    // A stored index without an entry names no date format, which titles treat as none.
    const int dateIndex = settings::readNumber(setting::get(store_, setting::TitleDefaults));
    titleDate_->setCurrentIndex(dateIndex >= 0 && dateIndex < kDateFormatCount ? dateIndex : 0);
    titleText_ = new QLineEdit(textFromStored(storedTitleText_));
    titleText_->setObjectName(settingControlName(setting::TitleText.name));
    titleOrder_ = settingCheckBox(QStringLiteral("Text before Date"), setting::TitleOrder.name,
                                  setting::get(store_, setting::TitleOrder));
    titleColorButton_ = button("Title color", "titleColor");
    auto* titleFontButton = button("Font", "titleFont");
    textColorButton_ = button("Text color", "textColor");
    backColorButton_ = button("Co&lor", "color");
    auto* bodyFontButton = button("Font", "bodyFont");
    titlePreview_ = new NoteSamplePreview;
    titlePreview_->setObjectName(QStringLiteral("titlePreview"));
    bodyPreview_ = new NoteSamplePreview;
    bodyPreview_->setObjectName(QStringLiteral("bodyPreview"));

    // Settings the dialog keeps but does not show.
    border_ = comboBox(setting::border.name, false, {"Plain", "3D Thin", "3D Thick"});
    border_->setCurrentText(
        QString::fromStdString(settings::borderName(setting::get(store_, setting::border))));
    links_ = settingCheckBox(QStringLiteral(""), setting::links.name,
                             setting::get(store_, setting::links));
    hideAttach_ = settingCheckBox(QStringLiteral(""), setting::hideAttach.name,
                                  setting::get(store_, setting::hideAttach));
    for (QWidget* hidden : std::initializer_list<QWidget*>{border_, links_, hideAttach_}) {
        hidden->setParent(this);
        hidden->hide();
        hidden->setEnabled(false);
    }

    auto* sizes = new QGroupBox(QStringLiteral("Notes Size"));
    auto* sizeGrid = new QGridLayout(sizes);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Width")), 0, 0);
    sizeGrid->addWidget(width_, 0, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Height")), 0, 2);
    sizeGrid->addWidget(height_, 0, 3);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Min Width")), 1, 0);
    sizeGrid->addWidget(minWidth_, 1, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Min Height")), 1, 2);
    sizeGrid->addWidget(minHeight_, 1, 3);
    sizeGrid->setColumnStretch(4, 1);
    width_->edit()->setAccessibleName(QStringLiteral("Width"));
    height_->edit()->setAccessibleName(QStringLiteral("Height"));
    minWidth_->edit()->setAccessibleName(QStringLiteral("Min Width"));
    minHeight_->edit()->setAccessibleName(QStringLiteral("Min Height"));

    auto* title = new QGroupBox(QStringLiteral("Title Settings"));
    auto* titleLayout = new QVBoxLayout(title);
    titleLayout->addWidget(
        controlRow({new QLabel(QStringLiteral("Date")), titleDate_,
                    new QLabel(QStringLiteral("Text")), titleText_, titleOrder_}));
    titleLayout->addWidget(controlRow({titleColorButton_, titleFontButton}));
    titleLayout->addWidget(indented(titlePreview_));

    auto* body = new QGroupBox(QStringLiteral("Note Settings"));
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->addWidget(controlRow({textColorButton_, backColorButton_, bodyFontButton}));
    bodyLayout->addWidget(indented(bodyPreview_));

    QDialogButtonBox* buttons = okCancelButtons(*this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        controlRow({new QLabel(QStringLiteral("Note priority")), priority_, transparencyButton}));
    layout->addWidget(randomColors_);
    autoLockTime_->edit()->setAccessibleName(QStringLiteral("Auto lock time"));
    layout->addWidget(
        controlRow({autoLock_, autoLockTime_, new QLabel(QStringLiteral("seconds"))}));
    layout->addWidget(sizes);
    layout->addWidget(title);
    layout->addWidget(body);
    layout->addWidget(buttons);

    connect(titleColorButton_, &QPushButton::clicked, this, &NotesSettingsDialog::chooseTitleColor);
    connect(titleFontButton, &QPushButton::clicked, this, &NotesSettingsDialog::chooseTitleFont);
    connect(textColorButton_, &QPushButton::clicked, this,
            &NotesSettingsDialog::chooseBodyTextColor);
    connect(backColorButton_, &QPushButton::clicked, this, &NotesSettingsDialog::chooseBackColor);
    connect(bodyFontButton, &QPushButton::clicked, this, &NotesSettingsDialog::chooseBodyFont);
    connect(transparencyButton, &QPushButton::clicked, this,
            &NotesSettingsDialog::chooseTransparency);
    connect(randomColors_, &QCheckBox::toggled, this, &NotesSettingsDialog::updateEnabled);
    connect(autoLock_, &QCheckBox::toggled, this, &NotesSettingsDialog::updateEnabled);
    connect(minWidth_, &CNumberField::editingFinished, this,
            [this] { followMinimum(minWidth_, width_, desktopWidth_); });
    connect(minHeight_, &CNumberField::editingFinished, this,
            [this] { followMinimum(minHeight_, height_, desktopHeight_); });

    updatePreviews();
    updateEnabled();
    fixDialogSize(*this);
}

void NotesSettingsDialog::updatePreviews() {
    titlePreview_->setLook(colorFromStored(titleFontColor_), colorFromStored(titleBackColor_),
                           fontFromRecord(titleFont_));
    bodyPreview_->setLook(colorFromStored(bodyFontColor_), colorFromStored(bodyBackColor_),
                          fontFromRecord(bodyFont_));
}

void NotesSettingsDialog::updateEnabled() {
    const bool ownColors = !randomColors_->isChecked();
    titleColorButton_->setEnabled(ownColors);
    textColorButton_->setEnabled(ownColors);
    backColorButton_->setEnabled(ownColors);
    autoLockTime_->setEnabled(autoLock_->isChecked());
}

void NotesSettingsDialog::followMinimum(CNumberField* minimum, CNumberField* size, int largest) {
    size->setRange(minimum->value(), largest);
    size->setValue(size->position());
}

LogFont NotesSettingsDialog::recordOf(const QFont& font) const {
    QTextCharFormat format;
    format.setFont(font);
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    return charFormatToLogFont(format, QApplication::font(), dpi);
}

void NotesSettingsDialog::chooseTitleColor() {
    titleFontColor_ = settings::chooserStartColor(titleFontColor_);
    if (const std::optional<QColor> chosen =
            dialogs_.chooseColor(this, colorFromStored(titleFontColor_))) {
        titleFontColor_ = storedFromColor(*chosen);
    }
    updatePreviews();
}

void NotesSettingsDialog::chooseBodyTextColor() {
    bodyFontColor_ = settings::chooserStartColor(bodyFontColor_);
    if (const std::optional<QColor> chosen =
            dialogs_.chooseColor(this, colorFromStored(bodyFontColor_))) {
        bodyFontColor_ = storedFromColor(*chosen);
    }
    updatePreviews();
}

void NotesSettingsDialog::chooseBackColor() {
    if (const std::optional<QColor> chosen =
            dialogs_.chooseColor(this, colorFromStored(bodyBackColor_))) {
        // One colour for the whole note, as a note's own "Color" command does.
        bodyBackColor_ = storedFromColor(*chosen);
        titleBackColor_ = bodyBackColor_;
        updatePreviews();
    }
}

void NotesSettingsDialog::chooseTitleFont() {
    if (const std::optional<FontChoice> chosen = dialogs_.chooseFont(
            this, {fontFromRecord(titleFont_), colorFromStored(titleFontColor_)})) {
        titleFont_ = recordOf(chosen->font);
        titleFontColor_ = storedFromColor(chosen->color);
        updatePreviews();
    }
}

void NotesSettingsDialog::chooseBodyFont() {
    if (const std::optional<FontChoice> chosen = dialogs_.chooseFont(
            this, {fontFromRecord(bodyFont_), colorFromStored(bodyFontColor_)})) {
        bodyFont_ = recordOf(chosen->font);
        bodyFontColor_ = storedFromColor(chosen->color);
        updatePreviews();
    }
}

void NotesSettingsDialog::chooseTransparency() {
    if (platform_.windows == nullptr) {
        return;
    }
    CTransparency dialog(this, *platform_.windows, {}, transparency_ != 0,
                         CTransparency::positionFor(transLevel_));
    const int result =
        platform_.modalDialogs != nullptr ? platform_.modalDialogs->run(dialog) : dialog.exec();
    if (result == QDialog::Accepted) {
        transparency_ = dialog.transparent() ? 1 : 0;
        transLevel_ = CTransparency::levelFor(dialog.position());
    }
}

void NotesSettingsDialog::accept() {
    NumberCheck numbers;
    for (CNumberField* field : {minWidth_, minHeight_, width_, height_, autoLockTime_}) {
        numbers.take(*field);
    }
    if (!numbers.passed(platform_.messages, windowTitle().toStdString())) {
        return;
    }
    // A minimum changed without leaving its field still takes its size along.
    followMinimum(minWidth_, width_, desktopWidth_);
    followMinimum(minHeight_, height_, desktopHeight_);
    const settings::NoteSizes sizes = settings::fitNoteSizes(
        {minWidth_->value(), minHeight_->value(), width_->value(), height_->value()}, desktopWidth_,
        desktopHeight_);
    setting::set(store_, setting::minWidth, sizes.minWidth);
    setting::set(store_, setting::minHeight, sizes.minHeight);
    setting::set(store_, setting::Width, sizes.width);
    setting::set(store_, setting::Height, sizes.height);
    setting::set(store_, setting::TransLevel, transLevel_);
    setting::set(store_, setting::Transparency, transparency_);
    setting::set(store_, setting::links, links_->isChecked() ? 1 : 0);
    setting::set(store_, setting::hideAttach, hideAttach_->isChecked() ? 1 : 0);
    const bool autoLock = autoLock_->isChecked();
    setting::set(store_, setting::AutoLock, autoLock ? 1 : 0);
    setting::set(store_, setting::autoLockTime, autoLockTime_->position());

    setting::set(store_, setting::TitleDefaults, std::to_string(titleDate_->currentIndex()));
    // A text that reads as it did goes back in the bytes it came in, so a database from
    // another system keeps its code page.
    std::string titleText = settings::cutTitleText(storedFromText(titleText_->text()));
    if (textFromStored(titleText) == textFromStored(storedTitleText_)) {
        titleText = storedTitleText_;
    }
    setting::set(store_, setting::TitleText, titleText);
    setting::set(store_, setting::TitleOrder, titleOrder_->isChecked() ? 1 : 0);

    if (const std::optional<int> priority =
            settings::priorityFor(priority_->currentText().toStdString())) {
        setting::set(store_, setting::priority, *priority);
    }
    if (const std::optional<int> border =
            settings::borderFor(border_->currentText().toStdString())) {
        setting::set(store_, setting::border, *border);
    }
    setting::set(store_, setting::titleFontColor, titleFontColor_);
    setting::set(store_, setting::titleBackColor, titleBackColor_);
    setting::set(store_, setting::bodyFontColor, bodyFontColor_);
    setting::set(store_, setting::bodyBackColor, bodyBackColor_);
    setting::set(store_, setting::titleFontType, titleFont_);
    setting::set(store_, setting::bodyFontType, bodyFont_);
    if (autoLockAtOpening_ != 0 && !autoLock) {
        owner_.stopAutoLockTimers();
    }
    setting::set(store_, setting::defaultImagePath, defaultImagePath_);
    setting::set(store_, setting::RandomColors, randomColors_->isChecked() ? 1 : 0);
    QDialog::accept();
}

}  // namespace bp
