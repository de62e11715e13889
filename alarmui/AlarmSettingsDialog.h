#pragma once

#include "platform/Platform.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <string>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimeEdit;

namespace bp {

class AlarmSettingsModel;

// The page of the alarm dialog's one tab: the date, the time of day and the weekdays.
class CReminderBasic : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCalendar = 820;
    static constexpr int kTimeLabel = 1153;
    static constexpr int kTimePicker = 562;
    // Sunday to Saturday.
    static constexpr std::array<int, 7> kWeekdayChecks{1106, 867, 1037, 1049, 1069, 1087, 1102};

    explicit CReminderBasic(QWidget* parent);

    QCalendarWidget* calendar() const { return calendar_; }
    QTimeEdit* timePicker() const { return time_; }
    QCheckBox* weekday(int index) const { return weekdays_[static_cast<std::size_t>(index)]; }
    // Once, every day, monthly or yearly on the chosen date, or on the ticked days; in the
    // order of RepeatChoice.
    QComboBox* repeat() const { return repeat_; }
    // How the alarm repeats, in words, with the days of the month and months ticked on the
    // other tab.
    QLabel* repeatText() const { return repeatText_; }

private:
    QCalendarWidget* calendar_;
    QTimeEdit* time_;
    QComboBox* repeat_;
    std::array<QCheckBox*, 7> weekdays_{};
    QLabel* repeatText_;
};

// The second tab: the days of the month and the months an alarm repeats on.
class CReminderDays : public QWidget {
    Q_OBJECT
public:
    explicit CReminderDays(QWidget* parent);

    // day: 1-31, month: 1-12.
    QCheckBox* day(int day) const { return days_[static_cast<std::size_t>(day - 1)]; }
    QCheckBox* month(int month) const { return months_[static_cast<std::size_t>(month - 1)]; }

private:
    std::array<QCheckBox*, 31> days_{};
    std::array<QCheckBox*, 12> months_{};
};

// "Alarm Settings": a window over AlarmSettingsModel, which holds the rules. The controls
// are read into the model before every decision and shown again after it.
class CAlarmDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTab = 1198;
    static constexpr int kNextAlarm = 1129;
    static constexpr const char* kDefaultUrl = "https://brightpost.org";

    // platform: the clock, and the shell, file dialogs, boxes and modal runner that the
    // alarm actions dialog uses.
    CAlarmDialog(QWidget* parent, AlarmSettingsModel& model, const Platform& platform);

    // The control with the given number (the page's included), or nullptr.
    QWidget* control(int id) const;
    CReminderBasic* page() const { return page_; }
    CReminderDays* daysPage() const { return daysPage_; }
    QComboBox* snoozeLength() const { return snoozeLength_; }
    // The next ringings OK would lead to, one a line.
    QLabel* upcoming() const { return upcoming_; }
    // When the note expires, and the button that changes it.
    QLineEdit* expiry() const { return expiry_; }
    QPushButton* expiryButton() const { return expiryButton_; }
    // Says that the chosen moment has passed; empty while it has not.
    QLabel* passedWarning() const { return passed_; }

    // NEXT ALARM and the warning for the values as they stand at the present moment; a timer
    // runs it every second, so a moment that passes while the dialog is open is told too.
    void showNextAlarm();

    // OK: the model takes what the controls show.
    void accept() override;

private:
    void readControls();
    void showValues();
    void chooseOff();
    void chooseOn();
    void editActions();
    // A date, time or weekday was changed by the user.
    void picked();
    void repeatChosen(int index);
    void showPassed();
    void showUpcoming();
    void showSnoozeLength();
    void editExpiry();
    void showExpiry();

    AlarmSettingsModel& model_;
    Platform platform_;
    QRadioButton* off_;
    QRadioButton* on_;
    QCheckBox* snooze_;
    QComboBox* snoozeLength_;
    QPushButton* actions_;
    QTabWidget* tab_;
    CReminderBasic* page_;
    CReminderDays* daysPage_;
    QLineEdit* nextAlarm_;
    QLabel* upcoming_;
    QLabel* passed_;
    QLineEdit* expiry_;
    QPushButton* expiryButton_;
    // Set while values are being put into the controls, whose change signals then are not
    // the user's.
    bool showing_ = false;
};

}  // namespace bp
