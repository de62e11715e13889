#include "StopAlarm.h"

#include "AlarmHost.h"
#include "NoteAlarm.h"
#include "platform/Messages.h"
#include "platform/TimeText.h"
#include "store/Settings.h"
#include "ui/NoteStyle.h"

#include <QHideEvent>
#include <QLabel>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

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

QPoint stackedStopAlarmPosition(const QRect& wanted, const std::vector<QRect>& shown,
                                const Rect& workArea) {
    const auto coveredBy = [&shown](const QRect& r) -> const QRect* {
        for (const QRect& other : shown) {
            if (other.intersects(r)) {
                return &other;
            }
        }
        return nullptr;
    };
    const int areaBottom = workArea.y + workArea.height;
    // Each step passes a window it would cover, so the search ends at the work area's edge.
    for (QRect r = wanted; r.y() + r.height() <= areaBottom;) {
        const QRect* other = coveredBy(r);
        if (other == nullptr) {
            return r.topLeft();
        }
        r.moveTop(other->y() + other->height());
    }
    for (QRect r = wanted; r.y() >= workArea.y;) {
        const QRect* other = coveredBy(r);
        if (other == nullptr) {
            return r.topLeft();
        }
        r.moveTop(other->y() - r.height());
    }
    // No free place: stepped down a line per window shown, so the note names stay apart.
    constexpr int kStep = 22;
    const int lowest = std::max(workArea.y, areaBottom - wanted.height());
    const int y = std::min(wanted.y() + kStep * static_cast<int>(shown.size()), lowest);
    return {wanted.x(), y};
}

namespace {

// The stop-alarm windows shown, so that a new one can stay clear of the others.
std::vector<CStopAlarm*>& stopAlarmWindows() {
    static std::vector<CStopAlarm*> windows;
    return windows;
}

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

CStopAlarm::CStopAlarm(CNoteAlarm& alarm, std::optional<LocalDateTime> due)
    // Not a child of the note: the note hides and shows itself while it flashes, and the offer
    // to stop must stay on screen meanwhile. The note's alarm deletes it.
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      alarm_(alarm),
      nid_(alarm.nid()),
      due_(due.value_or(localNow(*alarm.host().platform().clock))),
      notification_(alarm.host().platform().notifications,
                    [this](AlarmAnswer answer) { this->answer(answer); }) {
    stopAlarmWindows().push_back(this);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Placed and stacked as the dialogs are: on screen, above the Notes Manager too.
    setProperty(kDialogLikeProperty, true);
    setWindowTitle(QStringLiteral("Brightpost alarm"));
    setGeometry(0, 0, kWidth, kHeight);
    snoozeEnabled_ = alarm.reminder().remindSnoozeTime > 0;
    addHeader();
    snoozeButton_ = new CStopAlarmButton(QStringLiteral(" SNOOZE "), alarm, this);
    stopButton_ = new CStopAlarmButton(QStringLiteral(" stop alarm "), alarm, this);
    if (snoozeEnabled_) {
        snoozeButton_->setGeometry(10, kHeaderHeight + 10, 280, 45);
        stopButton_->setGeometry(80, kHeaderHeight + 85, 120, 25);
    } else {
        stopButton_->setGeometry(10, kHeaderHeight + 40, 280, 45);
        snoozeButton_->hide();
    }
    connect(snoozeButton_, &QAbstractButton::clicked, this, &CStopAlarm::snooze);
    connect(stopButton_, &QAbstractButton::clicked, this, &CStopAlarm::stop);
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, &CStopAlarm::timedOut);
    timeout_.start(kTimeoutMs);
}

CStopAlarm::~CStopAlarm() {
    std::erase(stopAlarmWindows(), this);
}

void CStopAlarm::addHeader() {
    const QColor text = noteColor(alarm_, note::bodyFontColor);
    const auto addLine = [this, &text](const QString& line, int y, bool bold) {
        auto* label = new QLabel(this);
        QFont font = label->font();
        font.setBold(bold);
        label->setFont(font);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, text);
        label->setPalette(colours);
        constexpr int kTextWidth = kWidth - 20;
        // One line each: a long title or first line is cut with an ellipsis, and the whole of
        // it is still read out.
        label->setText(QFontMetrics(font).elidedText(line, Qt::ElideRight, kTextWidth));
        label->setAccessibleName(line);
        label->setGeometry(10, y, kTextWidth, 18);
        return label;
    };
    const IAlarmHost& host = alarm_.host();
    nameLabel_ = addLine(host.readableName(), 4, true);
    firstLineLabel_ = addLine(host.firstLine(), 22, false);
    const QString due = QStringLiteral("Due %1").arg(QString::fromStdString(
        displayTime(*host.platform().clock, calendarOf(due_), TimeStyle::Moment)));
    dueLabel_ = addLine(due, 40, false);
    // Whoever hears the window learns which note rings without reading the lines one by one.
    setAccessibleName(QStringLiteral("Alarm of %1").arg(host.readableName()));
    setAccessibleDescription(due);
}

void CStopAlarm::showNextToNote() {
    const Platform& platform = alarm_.host().platform();
    const Rect area = platform.desktop != nullptr ? platform.desktop->availableRect()
                                                  : Rect{0, 0, 1 << 20, 1 << 20};
    const QPoint wanted = stopAlarmPosition(alarm_.host().windowGeometry(), size(), area);
    // Several alarms ringing at once stay apart, each one's note and buttons in sight.
    std::vector<QRect> shown;
    for (const CStopAlarm* other : stopAlarmWindows()) {
        if (other != this && other->isVisible()) {
            shown.push_back(other->geometry());
        }
    }
    move(stackedStopAlarmPosition(QRect(wanted, size()), shown, area));
    // Above every note, High ones included, and never taking the focus from what the user
    // is typing into.
    platform.windows->hideFromTaskbar(this);
    platform.windows->setStacking(this, IWindowSystem::Stacking::Top);
    show();
    platform.windows->windowShown(this);
    raise();
}

void CStopAlarm::showNotification() {
    const IAlarmHost& host = alarm_.host();
    if (setting::get(host.store(), setting::alarmNotifications) == 0) {
        return;
    }
    notification_.show(host.readableName().toStdString(), host.plainText().toStdString(),
                       snoozeEnabled_);
}

bool CStopAlarm::takeTheAnswer() {
    if (handled_ || alarm_.closing()) {
        return false;
    }
    timeout_.stop();
    handled_ = true;
    notification_.close();
    return true;
}

void CStopAlarm::showNote() {
    if (handled_ || alarm_.closing()) {
        return;
    }
    alarm_.stopFlashing();
    alarm_.openedByUser();
    alarm_.host().activateNote();
    // The offer to stop stays in sight above the note it now covers.
    raise();
}

void CStopAlarm::answer(AlarmAnswer answer) {
    switch (answer) {
        case AlarmAnswer::Stop:
            stop();
            break;
        case AlarmAnswer::Snooze:
            snooze();
            break;
        case AlarmAnswer::ShowNote:
            showNote();
            break;
    }
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
    } else if (takeTheAnswer()) {
        // Nobody answered: the note keeps a trace of it once the ringing ended.
        alarm_.stopAlarm();
        alarm_.markMissed(due_);
    }
}

void CStopAlarm::hideEvent(QHideEvent* event) {
    // However the window goes (answered, replaced by a new ringing, its note closed), the
    // notification goes with it.
    if (!event->spontaneous()) {
        notification_.close();
    }
    QWidget::hideEvent(event);
}

void CStopAlarm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), noteColor(alarm_, note::bodyBackColor));
    // The thin border of a pop-up window.
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace bp
