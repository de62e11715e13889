#pragma once

#include "store/FontCodec.h"

#include <QColor>
#include <QDialog>
#include <QFont>

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace bp {

class CNotesDatabase;
class CNumberField;
class INoteDialogs;
class ISettingsOwner;
struct Platform;

// A one-line sample of how a title bar or a body will look: the text in its font and colour
// on the background colour.
class NoteSamplePreview : public QWidget {
    Q_OBJECT
public:
    explicit NoteSamplePreview(QWidget* parent = nullptr);

    void setLook(const QColor& text, const QColor& background, const QFont& font);
    const QColor& textColor() const { return text_; }
    const QColor& backColor() const { return background_; }
    const QFont& sampleFont() const { return font_; }

    static const QString& sampleText();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor text_;
    QColor background_;
    QFont font_;
};

// "Notes Settings": what a new note looks like and how large it is, its title, and the limits
// every note keeps. Writes the settings on OK only; notes that exist keep their own look.
class NotesSettingsDialog : public QDialog {
    Q_OBJECT
public:
    NotesSettingsDialog(CNotesDatabase& store, const Platform& platform, ISettingsOwner& owner,
                        INoteDialogs& dialogs, QWidget* parent = nullptr);

    void accept() override;

    NoteSamplePreview* titlePreview() const { return titlePreview_; }
    NoteSamplePreview* bodyPreview() const { return bodyPreview_; }

private:
    void chooseTitleColor();
    void chooseTitleFont();
    void chooseBodyTextColor();
    void chooseBackColor();
    void chooseBodyFont();
    void chooseTransparency();
    void updatePreviews();
    void updateEnabled();
    // A size follows its minimum into the new range.
    void followMinimum(CNumberField* minimum, CNumberField* size, int largest);
    LogFont recordOf(const QFont& font) const;

    CNotesDatabase& store_;
    const Platform& platform_;
    ISettingsOwner& owner_;
    INoteDialogs& dialogs_;
    int desktopWidth_;
    int desktopHeight_;

    int transparency_;
    int transLevel_;
    int autoLockAtOpening_;
    std::uint32_t titleFontColor_;
    std::uint32_t titleBackColor_;
    std::uint32_t bodyFontColor_;
    std::uint32_t bodyBackColor_;
    LogFont titleFont_;
    LogFont bodyFont_;
    std::string storedTitleText_;
    std::string defaultImagePath_;

    QComboBox* priority_;
    QCheckBox* randomColors_;
    QCheckBox* autoLock_;
    CNumberField* autoLockTime_;
    CNumberField* width_;
    CNumberField* height_;
    CNumberField* minWidth_;
    CNumberField* minHeight_;
    QComboBox* titleDate_;
    QLineEdit* titleText_;
    QCheckBox* titleOrder_;
    QPushButton* titleColorButton_;
    QPushButton* textColorButton_;
    QPushButton* backColorButton_;
    QComboBox* border_;
    QCheckBox* links_;
    QCheckBox* hideAttach_;
    NoteSamplePreview* titlePreview_;
    NoteSamplePreview* bodyPreview_;
};

}  // namespace bp
