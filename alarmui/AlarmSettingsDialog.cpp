#include "AlarmSettingsDialog.h"

#include "AlarmActionsDialog.h"
#include "alarm/AlarmSettingsModel.h"
#include "platform/Messages.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace bp {

namespace {

template <typename W>
W* numbered(W* widget, int id) {
    widget->setProperty("controlId", id);
    return widget;
}

const char* const kWeekdayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};

}  // namespace

CReminderBasic::CReminderBasic(QWidget* parent) : QWidget(parent) {
    calendar_ = numbered(new QCalendarWidget(this), kCalendar);
    calendar_->setGridVisible(true);
    time_ = numbered(new QTimeEdit(this), kTimePicker);
    time_->setDisplayFormat(QStringLiteral("hh:mm:ss AP"));
    auto* timeRow = new QHBoxLayout;
    auto* timeLabel = numbered(new QLabel(QStringLiteral("TIME"), this), kTimeLabel);
    timeLabel->setBuddy(time_);
    calendar_->setAccessibleName(QStringLiteral("Date"));
    timeRow->addWidget(timeLabel);
    timeRow->addWidget(time_, 1);
    auto* days = new QGridLayout;
    for (int i = 0; i < 7; ++i) {
        auto* box = numbered(new QCheckBox(QString::fromLatin1(kWeekdayNames[i]), this),
                             kWeekdayChecks[static_cast<std::size_t>(i)]);
        weekdays_[static_cast<std::size_t>(i)] = box;
        days->addWidget(box, i / 4, i % 4);
    }
    repeatText_ = new QLabel(this);
    repeatText_->setObjectName(QStringLiteral("repeatText"));
    repeatText_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(calendar_);
    layout->addLayout(timeRow);
    layout->addWidget(new QLabel(QStringLiteral("Repeat every"), this));
    layout->addLayout(days);
    layout->addWidget(repeatText_);
}

CAlarmDialog::CAlarmDialog(QWidget* parent, AlarmSettingsModel& model, const Platform& platform)
    : QDialog(parent), model_(model), platform_(platform) {
    setWindowTitle(QStringLiteral("Alarm Settings"));
    setWindowIcon(boxIcon(res::ICON_PROGRAM));
    off_ = numbered(new QRadioButton(QStringLiteral("ALARM OFF"), this), cmd::ALARM_OFF_RADIO);
    on_ = numbered(new QRadioButton(QStringLiteral("ALARM ON"), this), cmd::ALARM_ON_RADIO);
    auto* group = new QButtonGroup(this);
    group->addButton(off_);
    group->addButton(on_);
    snooze_ = numbered(new QCheckBox(QStringLiteral("SNOOZE"), this), cmd::ALARM_SNOOZE_CHECK);
    actions_ =
        numbered(new QPushButton(QStringLiteral("ALARM ACTIONS"), this), cmd::ALARM_ACTIONS_BUTTON);
    actions_->setAutoDefault(false);
    tab_ = numbered(new QTabWidget(this), kTab);
    page_ = new CReminderBasic(tab_);
    tab_->addTab(page_, QStringLiteral(" BASIC REMINDER "));
    nextAlarm_ = numbered(new QLineEdit(this), kNextAlarm);
    nextAlarm_->setReadOnly(true);
    passed_ = new QLabel(this);
    passed_->setObjectName(QStringLiteral("passedWarning"));
    passed_->setWordWrap(true);
    // Room for the warning from the start: the dialog does not change its size.
    passed_->setMinimumHeight(2 * passed_->fontMetrics().lineSpacing());
    QPalette warningColours = passed_->palette();
    warningColours.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x20));
    passed_->setPalette(warningColours);
    auto* ok = numbered(new QPushButton(QStringLiteral("OK"), this), 1);
    auto* cancel = numbered(new QPushButton(QStringLiteral("Cancel"), this), 2);
    ok->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(off_);
    top->addWidget(on_);
    top->addStretch(1);
    top->addWidget(snooze_);
    top->addWidget(actions_);
    auto* next = new QHBoxLayout;
    auto* nextLabel = new QLabel(QStringLiteral("NEXT ALARM"), this);
    nextLabel->setBuddy(nextAlarm_);
    next->addWidget(nextLabel);
    next->addWidget(nextAlarm_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tab_, 1);
    layout->addLayout(next);
    layout->addWidget(passed_);
    layout->addLayout(buttons);

    // Only the user's clicks count: showing a value must not run a choice.
    connect(off_, &QRadioButton::clicked, this, &CAlarmDialog::chooseOff);
    connect(on_, &QRadioButton::clicked, this, &CAlarmDialog::chooseOn);
    connect(snooze_, &QCheckBox::clicked, this, &CAlarmDialog::readControls);
    connect(actions_, &QPushButton::clicked, this, &CAlarmDialog::editActions);
    connect(ok, &QPushButton::clicked, this, &CAlarmDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(page_->calendar(), &QCalendarWidget::selectionChanged, this, &CAlarmDialog::picked);
    connect(page_->timePicker(), &QTimeEdit::timeChanged, this, &CAlarmDialog::picked);
    for (int i = 0; i < 7; ++i) {
        connect(page_->weekday(i), &QCheckBox::toggled, this, &CAlarmDialog::picked);
    }
    auto* clockTimer = new QTimer(this);
    connect(clockTimer, &QTimer::timeout, this, &CAlarmDialog::showNextAlarm);
    clockTimer->start(1000);
    showValues();
    fixDialogSize(*this);
}

QWidget* CAlarmDialog::control(int id) const {
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->property("controlId").toInt() == id) {
            return w;
        }
    }
    return nullptr;
}

void CAlarmDialog::readControls() {
    model_.alarmOn = on_->isChecked();
    model_.snooze = snooze_->isChecked();
    const QDate date = page_->calendar()->selectedDate();
    const QTime time = page_->timePicker()->time();
    model_.when = LocalDateTime{date.year(), date.month(),  date.day(),
                                time.hour(), time.minute(), time.second()};
    for (int i = 0; i < 7; ++i) {
        model_.weekdays[static_cast<std::size_t>(i)] = page_->weekday(i)->isChecked();
    }
}

void CAlarmDialog::showValues() {
    showing_ = true;
    on_->setChecked(model_.alarmOn);
    off_->setChecked(!model_.alarmOn);
    snooze_->setChecked(model_.snooze);
    nextAlarm_->setText(QString::fromStdString(model_.nextAlarmText));
    const LocalDateTime& when = model_.when;
    page_->calendar()->setSelectedDate(QDate(when.year, when.month, when.day));
    page_->timePicker()->setTime(QTime(when.hour, when.minute, when.second));
    for (int i = 0; i < 7; ++i) {
        page_->weekday(i)->setChecked(model_.weekdays[static_cast<std::size_t>(i)]);
    }
    tab_->setEnabled(model_.pageEnabled);
    tab_->setVisible(model_.pageEnabled);
    page_->calendar()->setEnabled(model_.pageEnabled);
    page_->timePicker()->setEnabled(model_.pageEnabled);
    page_->repeatText()->setText(QString::fromStdString(model_.RepeatText()));
    showPassed();
    showing_ = false;
}

void CAlarmDialog::showNextAlarm() {
    model_.Refresh(*platform_.clock);
    nextAlarm_->setText(QString::fromStdString(model_.nextAlarmText));
    showPassed();
}

void CAlarmDialog::showPassed() {
    passed_->setText(model_.passed ? QStringLiteral("This moment has passed: the alarm will ring "
                                                    "as soon as you press OK.")
                                   : QString());
}

void CAlarmDialog::picked() {
    if (showing_) {
        return;
    }
    readControls();
    model_.Picked(*platform_.clock);
    nextAlarm_->setText(QString::fromStdString(model_.nextAlarmText));
    showPassed();
    page_->repeatText()->setText(QString::fromStdString(model_.RepeatText()));
}

void CAlarmDialog::chooseOff() {
    readControls();
    model_.ChooseOff(*platform_.clock);
    showValues();
}

void CAlarmDialog::chooseOn() {
    readControls();
    model_.ChooseOn(*platform_.clock);
    showValues();
}

void CAlarmDialog::editActions() {
    readControls();
    CAlarmActions dialog(this, platform_.shell, platform_.fileDialogs, platform_.messages);
    dialog.setChoice(model_.ActionsToShow(kDefaultUrl));
    const int result =
        platform_.modalDialogs != nullptr ? platform_.modalDialogs->run(dialog) : dialog.exec();
    if (result == QDialog::Accepted) {
        model_.TakeActions(dialog.choice());
    }
}

void CAlarmDialog::accept() {
    readControls();
    QDialog::accept();
}

}  // namespace bp
