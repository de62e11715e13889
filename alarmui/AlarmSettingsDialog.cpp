#include "AlarmSettingsDialog.h"

#include "AlarmActionsDialog.h"
#include "ExpiryDialog.h"
#include "alarm/AlarmSettingsModel.h"
#include "platform/Messages.h"
#include "platform/TimeText.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
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
const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};
// In the order of RepeatChoice.
const char* const kRepeatChoices[] = {"Does not repeat", "Every day",
                                      "Every month on the chosen day",
                                      "Every year on the chosen date", "On the days ticked"};

QString snoozeText(int ms) {
    if (ms % 60000 == 0) {
        const int minutes = ms / 60000;
        return minutes == 1 ? QStringLiteral("1 minute")
                            : QStringLiteral("%1 minutes").arg(minutes);
    }
    return QStringLiteral("%1 seconds").arg(ms / 1000);
}

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
    repeat_ = new QComboBox(this);
    for (const char* choice : kRepeatChoices) {
        repeat_->addItem(QString::fromLatin1(choice));
    }
    auto* repeatLabel = new QLabel(QStringLiteral("&Repeat"), this);
    repeatLabel->setBuddy(repeat_);
    repeat_->setAccessibleName(QStringLiteral("Repeat"));
    auto* repeatRow = new QHBoxLayout;
    repeatRow->addWidget(repeatLabel);
    repeatRow->addWidget(repeat_, 1);
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
    layout->addLayout(repeatRow);
    layout->addWidget(new QLabel(QStringLiteral("Repeat every"), this));
    layout->addLayout(days);
    layout->addWidget(repeatText_);
}

CReminderDays::CReminderDays(QWidget* parent) : QWidget(parent) {
    auto* dayGrid = new QGridLayout;
    for (int d = 1; d <= 31; ++d) {
        auto* box = new QCheckBox(QString::number(d), this);
        box->setAccessibleName(QStringLiteral("Day %1 of the month").arg(d));
        days_[static_cast<std::size_t>(d - 1)] = box;
        dayGrid->addWidget(box, (d - 1) / 7, (d - 1) % 7);
    }
    auto* monthGrid = new QGridLayout;
    for (int m = 1; m <= 12; ++m) {
        const QString name = QString::fromLatin1(kMonthNames[m - 1]);
        auto* box = new QCheckBox(name.left(3), this);
        box->setAccessibleName(name);
        months_[static_cast<std::size_t>(m - 1)] = box;
        monthGrid->addWidget(box, (m - 1) / 6, (m - 1) % 6);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Days of the month (none ticked: any day)"), this));
    layout->addLayout(dayGrid);
    layout->addWidget(new QLabel(QStringLiteral("Months (none ticked: every month)"), this));
    layout->addLayout(monthGrid);
    layout->addStretch(1);
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
    snoozeLength_ = new QComboBox(this);
    for (int minutes : AlarmSettingsModel::kSnoozeMinutes) {
        snoozeLength_->addItem(snoozeText(minutes * 60000), minutes * 60000);
    }
    snoozeLength_->setAccessibleName(QStringLiteral("Snooze length"));
    auto* snoozeLabel = new QLabel(QStringLiteral("f&or"), this);
    snoozeLabel->setBuddy(snoozeLength_);
    actions_ =
        numbered(new QPushButton(QStringLiteral("ALARM ACTIONS"), this), cmd::ALARM_ACTIONS_BUTTON);
    actions_->setAutoDefault(false);
    tab_ = numbered(new QTabWidget(this), kTab);
    page_ = new CReminderBasic(tab_);
    tab_->addTab(page_, QStringLiteral(" BASIC REMINDER "));
    daysPage_ = new CReminderDays(tab_);
    tab_->addTab(daysPage_, QStringLiteral(" DAYS AND MONTHS "));
    nextAlarm_ = numbered(new QLineEdit(this), kNextAlarm);
    nextAlarm_->setReadOnly(true);
    upcoming_ = new QLabel(this);
    upcoming_->setObjectName(QStringLiteral("upcoming"));
    upcoming_->setAccessibleName(QStringLiteral("Next ringings"));
    upcoming_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    // Room for every line from the start: the dialog does not change its size.
    upcoming_->setMinimumHeight(AlarmSettingsModel::kUpcomingShown *
                                upcoming_->fontMetrics().lineSpacing());
    expiry_ = new QLineEdit(this);
    expiry_->setReadOnly(true);
    expiry_->setAccessibleName(QStringLiteral("Note expires"));
    expiryButton_ = new QPushButton(QStringLiteral("E&xpiry date..."), this);
    expiryButton_->setAutoDefault(false);
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
    top->addWidget(snoozeLabel);
    top->addWidget(snoozeLength_);
    top->addWidget(actions_);
    auto* next = new QHBoxLayout;
    auto* nextLabel = new QLabel(QStringLiteral("NEXT ALARM"), this);
    nextLabel->setBuddy(nextAlarm_);
    next->addWidget(nextLabel);
    next->addWidget(nextAlarm_, 1);
    auto* upcomingRow = new QHBoxLayout;
    auto* upcomingLabel = new QLabel(QStringLiteral("NEXT RINGINGS"), this);
    upcomingLabel->setBuddy(upcoming_);
    upcomingLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    upcomingRow->addWidget(upcomingLabel);
    upcomingRow->addWidget(upcoming_, 1);
    auto* expiryRow = new QHBoxLayout;
    auto* expiryLabel = new QLabel(QStringLiteral("NOTE EXPIRES"), this);
    expiryLabel->setBuddy(expiry_);
    expiryRow->addWidget(expiryLabel);
    expiryRow->addWidget(expiry_, 1);
    expiryRow->addWidget(expiryButton_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tab_, 1);
    layout->addLayout(next);
    layout->addLayout(upcomingRow);
    layout->addWidget(passed_);
    layout->addLayout(expiryRow);
    layout->addLayout(buttons);

    // Only the user's clicks count: showing a value must not run a choice.
    connect(off_, &QRadioButton::clicked, this, &CAlarmDialog::chooseOff);
    connect(on_, &QRadioButton::clicked, this, &CAlarmDialog::chooseOn);
    connect(snooze_, &QCheckBox::clicked, this, [this] {
        readControls();
        showSnoozeLength();
    });
    connect(snoozeLength_, &QComboBox::activated, this, &CAlarmDialog::readControls);
    connect(page_->repeat(), &QComboBox::activated, this, &CAlarmDialog::repeatChosen);
    connect(expiryButton_, &QPushButton::clicked, this, &CAlarmDialog::editExpiry);
    connect(actions_, &QPushButton::clicked, this, &CAlarmDialog::editActions);
    connect(ok, &QPushButton::clicked, this, &CAlarmDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(page_->calendar(), &QCalendarWidget::selectionChanged, this, &CAlarmDialog::picked);
    connect(page_->timePicker(), &QTimeEdit::timeChanged, this, &CAlarmDialog::picked);
    for (int i = 0; i < 7; ++i) {
        connect(page_->weekday(i), &QCheckBox::toggled, this, &CAlarmDialog::picked);
    }
    for (int d = 1; d <= 31; ++d) {
        connect(daysPage_->day(d), &QCheckBox::toggled, this, &CAlarmDialog::picked);
    }
    for (int m = 1; m <= 12; ++m) {
        connect(daysPage_->month(m), &QCheckBox::toggled, this, &CAlarmDialog::picked);
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
    for (int d = 1; d <= 31; ++d) {
        model_.days[static_cast<std::size_t>(d - 1)] = daysPage_->day(d)->isChecked();
    }
    for (int m = 1; m <= 12; ++m) {
        model_.months[static_cast<std::size_t>(m - 1)] = daysPage_->month(m)->isChecked();
    }
    model_.snoozeMs = snoozeLength_->currentData().toInt();
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
    for (int d = 1; d <= 31; ++d) {
        daysPage_->day(d)->setChecked(model_.days[static_cast<std::size_t>(d - 1)]);
    }
    for (int m = 1; m <= 12; ++m) {
        daysPage_->month(m)->setChecked(model_.months[static_cast<std::size_t>(m - 1)]);
    }
    page_->repeat()->setCurrentIndex(static_cast<int>(model_.RepeatShown()));
    showSnoozeLength();
    showExpiry();
    tab_->setEnabled(model_.pageEnabled);
    tab_->setVisible(model_.pageEnabled);
    page_->calendar()->setEnabled(model_.pageEnabled);
    page_->timePicker()->setEnabled(model_.pageEnabled);
    page_->repeatText()->setText(QString::fromStdString(model_.RepeatText()));
    showPassed();
    showUpcoming();
    showing_ = false;
}

void CAlarmDialog::showSnoozeLength() {
    int at = snoozeLength_->findData(model_.snoozeMs);
    if (at < 0) {
        // A length of the user's own, written into the file, is offered as it is.
        snoozeLength_->addItem(snoozeText(model_.snoozeMs), model_.snoozeMs);
        at = snoozeLength_->count() - 1;
    }
    snoozeLength_->setCurrentIndex(at);
    snoozeLength_->setEnabled(model_.snooze);
}

void CAlarmDialog::showUpcoming() {
    QStringList lines;
    for (const LocalDateTime& ringing : model_.UpcomingRingings()) {
        lines << QString::fromStdString(FormatNextAlarm(*platform_.clock, ringing));
    }
    upcoming_->setText(lines.join(QLatin1Char('\n')));
}

void CAlarmDialog::showExpiry() {
    expiry_->setText(model_.expireTime == 0
                         ? QStringLiteral("Never")
                         : QString::fromStdString(displayTime(
                               *platform_.clock, static_cast<std::int64_t>(model_.expireTime),
                               TimeStyle::MomentWithWeekday)));
}

void CAlarmDialog::editExpiry() {
    if (const auto chosen = AskExpiry(this, platform_, model_.expireTime)) {
        model_.expireTime = *chosen;
        showExpiry();
    }
}

void CAlarmDialog::repeatChosen(int index) {
    if (showing_) {
        return;
    }
    readControls();
    model_.ChooseRepeat(static_cast<RepeatChoice>(index), *platform_.clock);
    showValues();
}

void CAlarmDialog::showNextAlarm() {
    model_.Refresh(*platform_.clock);
    nextAlarm_->setText(QString::fromStdString(model_.nextAlarmText));
    showPassed();
    showUpcoming();
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
    showing_ = true;
    page_->repeat()->setCurrentIndex(static_cast<int>(model_.RepeatShown()));
    showing_ = false;
    showUpcoming();
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
