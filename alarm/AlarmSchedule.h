#pragma once

#include "alarm/LocalDateTime.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bp {

class CNotesDatabase;
class IClock;

// What a firing of the alarm leads to.
enum class AlarmOutcome {
    Rings,        // the alarm's actions run; remindTime holds the next ringing
    SwitchedOff,  // no day within five years fits the schedule: off, and nothing runs
};

// The alarm of one note: its state as loaded from the note's record, the day, weekday and
// month selections of its schedule, and the step that picks the next ringing once it fired.
class AlarmSchedule {
public:
    static constexpr int kSearchDays = 1826;

    virtual ~AlarmSchedule() = default;

    // Reads the alarm attributes of the note. The selections stay as they are: they are
    // filled from the schedule text when the alarm fires or its dialog opens.
    void Load(CNotesDatabase& db, std::int32_t nid, const IClock& clock);
    // Writes every alarm attribute of the note: what Load reads, so that a ringing and the
    // alarm dialog's OK leave the record as the note holds its alarm. The selections are
    // stored through the schedule text.
    void Store(CNotesDatabase& db, std::int32_t nid, const IClock& clock) const;

    // Adds the selections written in the schedule text; never clears one.
    void ParseSchedule(bool updateControls);
    void BuildSchedule();
    // Called once the alarm is due; the caller runs the actions and stores the state.
    AlarmOutcome AdvanceAlarm(const IClock& clock);
    // The step the note's alarm check takes: AdvanceAlarm, with the next ringing always after
    // the present moment, so the ringing being handled can never come round again.
    AlarmOutcome AdvancePastNow(const IClock& clock);

    // Whether a candidate day fits all three selections (an empty selection fits every day).
    bool Matches(const LocalDateTime& day) const;

    // Up to count ringings from the moment first on, as the alarm rings them: a one-time
    // alarm once at first; a recurring one on the first of its days at or after first, at
    // first's time of day, and then each time on the day its firing picks next.
    std::vector<LocalDateTime> Ringings(const LocalDateTime& first, int count) const;

    int isReminder = 0;  // 0 off, 1 one-time, 2 recurring
    bool recurring = false;
    LocalDateTime remindTime;
    LocalDateTime remindTime1;
    LocalDateTime remindTime2;
    int repeatEach = 0;
    int remindRepeat = 0;
    int remindRepeatTimes = 0;
    int remindRepeatInterval = 0;
    int remindRepeatInterval2 = 0;

    std::array<bool, 31> days{};     // [0] is the 1st
    std::array<bool, 7> weekdays{};  // [0] is Sunday
    std::array<bool, 12> months{};   // [0] is January
    std::string schedule;

    int remindAction = 0;
    int remindSnoozeTime = 0;
    int remindFlashTimes = 100;
    int remindFlashInterval = 600;
    int flashesLeft = 0;
    std::string remindWav;
    std::string remindUrl;
    std::string remindExe;

protected:
    // The first day from start on that fits the selections, at the given time of day and not
    // before start; none within kSearchDays days.
    std::optional<LocalDateTime> FindNext(const LocalDateTime& start,
                                          const LocalDateTime& timeOfDay) const;
    void SwitchOff();

    // The alarm dialog shows the selections again after parsing.
    virtual void UpdateControls() {}
};

}  // namespace bp
