#include "MessageBoxes.h"

#include "DialogLayout.h"
#include "platform/Messages.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace bp {

namespace {

constexpr int kMessageLeft = 15;
constexpr int kMessageTop = 20;
// The message is laid out at this width to count its lines, then widened.
constexpr int kMessageLayoutWidth = 250;

const QString kFaceName = QStringLiteral("MS Sans Serif");

// Message texts come from all over the program, some with Windows line ends (stored notes,
// imported databases); a stray '\r' would otherwise show as a box and still count no line.
QString normalisedLineEnds(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int countLines(QTextDocument* document) {
    document->documentLayout()->documentSize();  // lays the whole document out
    int lines = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (const QTextLayout* layout = block.layout()) {
            lines += layout->lineCount();
        }
    }
    return lines;
}

}  // namespace

QFont messageBoxFont() {
    static std::once_flag substituted;
    std::call_once(substituted, [] {
        QFont::insertSubstitutions(
            kFaceName, {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                        QStringLiteral("Sans Serif")});
    });
    QFont font(kFaceName);
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QIcon boxIcon(int iconId) {
    switch (iconId) {
        case res::ICON_WARNING:
            return QIcon(QStringLiteral(":/icons/box-info.svg"));
        case res::ICON_PROGRAM:
            // The program's own picture; a question mark on a dialog's title bar reads as a
            // help button.
            return QIcon(QStringLiteral(":/icons/tray.svg"));
        case res::ICON_QUESTION:
            return QIcon(QStringLiteral(":/icons/box-question.svg"));
        case res::ICON_ERROR:
            return QIcon(QStringLiteral(":/icons/box-error.svg"));
        default:
            return QIcon();
    }
}

CBoxBase::CBoxBase(QWidget* parent, const QString& caption, const QString& label,
                   const QString& text, int iconId)
    : QDialog(parent) {
    offerOnlyCloseButton(*this);
    setWindowIcon(boxIcon(iconId));
    setWindowTitle(caption);
    const QFont font = messageBoxFont();

    // The frame lies behind the message, so it is made first.
    frame_ = new QGroupBox(label, this);
    frame_->setFont(font);

    message_ = new QTextEdit(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setProperty("controlId", ctl::BOX_MESSAGE);
    message_->setFont(font);
    message_->setFrameShape(QFrame::NoFrame);
    message_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_->setLineWrapMode(QTextEdit::WidgetWidth);
    message_->setReadOnly(true);
    message_->setFocusPolicy(Qt::NoFocus);
    message_->document()->setDocumentMargin(0);
    // Plain text: a message quoting a file name or a note title must never be read as markup.
    message_->setPlainText(normalisedLineEnds(text));
    // The control is disabled, so that it takes neither focus nor clicks, but its text stays
    // black instead of the greyed colour of disabled controls.
    message_->setEnabled(false);
    QPalette palette = message_->palette();
    const QColor textColor = readableTextColor(Qt::black, palette);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, textColor);
        palette.setColor(group, QPalette::Base, palette.color(QPalette::Active, QPalette::Window));
    }
    message_->setPalette(palette);
    QTextCursor all(message_->document());
    all.select(QTextCursor::Document);
    QTextCharFormat black;
    black.setForeground(textColor);
    all.mergeCharFormat(black);
    message_->raise();
}

void CBoxBase::placeMessage(int finalWidth) {
    message_->setGeometry(kMessageLeft, kMessageTop, kMessageLayoutWidth, 0);
    QTextDocument* document = message_->document();
    document->setTextWidth(kMessageLayoutWidth);
    lineCount_ = countLines(document);

    // Height and external leading of the font: the distance from one baseline to the next.
    // Qt's text layout rounds each line up on its own and may give a line a pixel more than
    // that; the box then follows the layout, or its last lines would be cut off.
    lineHeight_ = QFontMetrics(message_->font()).lineSpacing();
    if (lineCount_ > 0) {
        const qreal laidOut = document->size().height() / lineCount_;
        lineHeight_ = std::max(lineHeight_, static_cast<int>(std::ceil(laidOut)));
    }
    message_->setGeometry(kMessageLeft, kMessageTop, finalWidth, messageHeight());
    document->setTextWidth(finalWidth);

    if (lineCount_ == 1) {
        QTextCursor all(document);
        all.select(QTextCursor::Document);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        all.mergeBlockFormat(centred);
    }
}

void CBoxBase::placeFrame(int right) {
    frame_->setGeometry(QRect(QPoint(5, 0), QPoint(right - 1, messageHeight() + 30 - 1)));
}

void CBoxBase::placeBox(int width, int height) {
    setFixedSize(width, height);
    QRect area;
    if (QWidget* owner = parentWidget()) {
        area = owner->window()->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) {
        move(area.center() - QPoint(width / 2, height / 2));
    }
}

CMessageBox::CMessageBox(QWidget* parent, const QString& caption, const QString& label,
                         const QString& text, int iconId)
    : CBoxBase(parent, caption, label, text, iconId) {
    placeMessage(265);
    const int a = messageHeight();
    placeFrame(290);

    ok_ = new QPushButton(tr("Ok"), this);
    ok_->setFont(messageBoxFont());
    ok_->setProperty("controlId", cmd::DLG_OK);
    ok_->setGeometry(QRect(QPoint(100, a + 35), QPoint(200 - 1, a + 55 - 1)));
    ok_->setDefault(true);
    ok_->setFocus();
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    placeBox(300, a + 60);
}

CAnswerBox::CAnswerBox(QWidget* parent, const QString& caption, const QString& label,
                       const QString& text, int iconId)
    : CBoxBase(parent, caption, label, text, iconId) {
    placeMessage(330);
    const int a = messageHeight();
    placeFrame(350);

    yes_ = new QPushButton(tr("Yes"), this);
    yes_->setProperty("controlId", cmd::BOX_YES);
    yes_->setGeometry(10, a + 35, 100, 20);
    no_ = new QPushButton(tr("No"), this);
    no_->setProperty("controlId", cmd::BOX_NO);
    no_->setGeometry(245, a + 35, 100, 20);
    no_->setDefault(true);
    no_->setFocus();
    connect(yes_, &QPushButton::clicked, this, [this] { done(kYes); });
    connect(no_, &QPushButton::clicked, this, [this] { done(kNo); });

    // The question must not vanish under a topmost note.
    setWindowIcon(boxIcon(res::ICON_PROGRAM));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    placeBox(375, a + 70);
}

void CAnswerBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
}

void ShowMessageBox(QWidget* parent, const QString& caption, const QString& label,
                    const QString& text, int iconId) {
    CMessageBox box(parent, caption, label, text, iconId);
    box.exec();
}

bool AskYesNo(QWidget* parent, const QString& caption, const QString& label, const QString& text,
              int iconId) {
    CAnswerBox box(parent, caption, label, text, iconId);
    box.exec();
    return box.answeredYes();
}

}  // namespace bp
