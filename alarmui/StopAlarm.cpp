#include "StopAlarm.h"

#include "AlarmHost.h"
#include "NoteAlarm.h"
#include "platform/Messages.h"
#include "ui/NoteStyle.h"

#include <QPainter>
#include <QStyleOption>

namespace bp {

QPoint stopAlarmPosition(const QRect& note, const QSize& window, const Rect& workArea) {
    const int x = note.x() + note.width() / 2 - window.width() / 2;
    const int noteBottom = note.y() + note.height();
    const int areaBottom = workArea.y + workArea.height;
    if (noteBottom + window.height() <= areaBottom) {
        return {x, noteBottom};
    }
    if (note.y() - window.height() >= workArea.y) {
        return {x, note.y() - window.height()};
    }
    return {x, areaBottom - window.height()};
}

namespace {

// Read from the record each time: the user may recolour the note while it rings.
QColor noteColor(CNoteAlarm& alarm, const UIntKey& key) {
    return colorFromStored(alarm.host().store().GetNote(kLiveSource, alarm.nid(), key));
}

}  // namespace

CStopAlarmButton::CStopAlarmButton(const QString& text, CNoteAlarm& alarm, QWidget* parent)
    : QAbstractButton(parent), alarm_(alarm) {
    setText(text);
    setFocusPolicy(Qt::NoFocus);
}

void CStopAlarmButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, noteColor(alarm_, note::bodyBackColor));
    QColor light = palette().color(QPalette::Highlight);
    QColor dark = palette().color(QPalette::Shadow);
    if (isDown()) {
        std::swap(light, dark);
    }
    painter.setPen(light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());

    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text());
    const int x = width() / 2 - textWidth / 2 - 1;
    const int y = height() / 2 - metrics.height() / 2 - 1;
    painter.setPen(isEnabled() ? noteColor(alarm_, note::bodyFontColor)
                               : palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(QRect(x, y, textWidth + 2, metrics.height()), Qt::AlignLeft | Qt::AlignTop,
                     text());
}

CStopAlarm::CStopAlarm(CNoteAlarm& alarm)
    // Not a child of the note: the note hides and shows itself while it flashes, and the offer
    // to stop must stay on screen meanwhile. The note's alarm deletes it.
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      alarm_(alarm),
      nid_(alarm.nid()) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Placed and stacked as the dialogs are: on screen, above the Notes Manager too.
    setProperty(kDialogLikeProperty, true);
    setWindowTitle(QStringLiteral("Brightpost alarm"));
    setGeometry(0, 0, kWidth, kHeight);
    snoozeEnabled_ = alarm.reminder().remindSnoozeTime > 0;
    snoozeButton_ = new CStopAlarmButton(QStringLiteral(" SNOOZE "), alarm, this);
    stopButton_ = new CStopAlarmButton(QStringLiteral(" stop alarm "), alarm, this);
    if (snoozeEnabled_) {
        snoozeButton_->setGeometry(10, 10, 280, 45);
        stopButton_->setGeometry(80, 85, 120, 25);
    } else {
        stopButton_->setGeometry(10, 40, 280, 45);
        snoozeButton_->hide();
    }
    connect(snoozeButton_, &QAbstractButton::clicked, this, &CStopAlarm::snooze);
    connect(stopButton_, &QAbstractButton::clicked, this, &CStopAlarm::stop);
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, &CStopAlarm::timedOut);
    timeout_.start(kTimeoutMs);
}

void CStopAlarm::showNextToNote() {
    const Platform& platform = alarm_.host().platform();
    const Rect area = platform.desktop != nullptr ? platform.desktop->availableRect()
                                                  : Rect{0, 0, 1 << 20, 1 << 20};
    move(stopAlarmPosition(alarm_.host().windowGeometry(), size(), area));
    // Above every note, High ones included, and never taking the focus from what the user
    // is typing into.
    platform.windows->hideFromTaskbar(this);
    platform.windows->setStacking(this, IWindowSystem::Stacking::Top);
    show();
    platform.windows->windowShown(this);
    raise();
}

bool CStopAlarm::takeTheAnswer() {
    if (handled_ || alarm_.closing()) {
        return false;
    }
    timeout_.stop();
    handled_ = true;
    return true;
}

void CStopAlarm::snooze() {
    if (snoozeEnabled_ && takeTheAnswer()) {
        alarm_.snoozeAlarm();
    }
}

void CStopAlarm::stop() {
    if (takeTheAnswer()) {
        alarm_.stopAlarm();
    }
}

void CStopAlarm::timedOut() {
    if (snoozeEnabled_) {
        snooze();
    } else {
        stop();
    }
}

void CStopAlarm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), noteColor(alarm_, note::bodyBackColor));
    // The thin border of a pop-up window.
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace bp
