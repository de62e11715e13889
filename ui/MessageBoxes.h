#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QString>

class QGroupBox;
class QPushButton;
class QTextEdit;

namespace bp {

// The font of both boxes: "MS Sans Serif", 11 pixels, normal weight. Linux has no such face,
// so a metric-compatible sans serif stands in for it.
QFont messageBoxFont();

// The window icon for an icon resource id of the boxes (205 information, 199 and 206
// question); an empty icon for ids the program has no picture for.
QIcon boxIcon(int iconId);

// What the two boxes share: the caption, the labelled frame, the message in a read-only
// control whose height follows the number of lines.
class CBoxBase : public QDialog {
    Q_OBJECT
public:
    QTextEdit* messageControl() const { return message_; }
    QGroupBox* frame() const { return frame_; }
    // Height of one line of the message and the number of lines it took when laid out.
    int lineHeight() const { return lineHeight_; }
    int lineCount() const { return lineCount_; }
    // The height the message is given: lines × line height.
    int messageHeight() const { return lineCount_ * lineHeight_; }

protected:
    CBoxBase(QWidget* parent, const QString& caption, const QString& label, const QString& text,
             int iconId);
    // Lays the message out at the creation width, then gives it its final width and height.
    void placeMessage(int finalWidth);
    void placeFrame(int right);
    // Fixes the client size and centres the box on its parent, or on the screen.
    void placeBox(int width, int height);

private:
    QTextEdit* message_ = nullptr;
    QGroupBox* frame_ = nullptr;
    int lineHeight_ = 0;
    int lineCount_ = 0;
};

// The program's information box: one "Ok" button.
class CMessageBox : public CBoxBase {
    Q_OBJECT
public:
    CMessageBox(QWidget* parent, const QString& caption, const QString& label, const QString& text,
                int iconId);
    QPushButton* okButton() const { return ok_; }

private:
    QPushButton* ok_ = nullptr;
};

// The program's yes/no question. It starts with the focus on "No", so a hasty Enter does not
// agree to anything, and it stays above every note, also the topmost ones.
class CAnswerBox : public CBoxBase {
    Q_OBJECT
public:
    CAnswerBox(QWidget* parent, const QString& caption, const QString& label, const QString& text,
               int iconId);
    QPushButton* yesButton() const { return yes_; }
    QPushButton* noButton() const { return no_; }
    // True only after "Yes".
    bool answeredYes() const { return result() == kYes; }

    static constexpr int kYes = 1;
    static constexpr int kNo = 2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* yes_ = nullptr;
    QPushButton* no_ = nullptr;
};

// Shows the information box modally and returns when it is closed.
void ShowMessageBox(QWidget* parent, const QString& caption, const QString& label,
                    const QString& text, int iconId);

// Asks modally; true when "Yes" was pressed, false for "No" or closing the box.
bool AskYesNo(QWidget* parent, const QString& caption, const QString& label, const QString& text,
              int iconId);

}  // namespace bp
