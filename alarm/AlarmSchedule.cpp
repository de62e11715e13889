#include "alarm/AlarmSchedule.h"

#include "platform/Clock.h"
#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"

#include <cctype>
#include <climits>
#include <string_view>

namespace bp {

namespace {

// The C atoi rule (blanks, a sign, then digits; anything else reads 0), but saturating: the
// text comes from a file anyone can edit, and atoi's overflow is undefined.
long long readNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < LLONG_MAX / 10) {
            value = value * 10 + (text[i] - '0');
        }
    }
    return negative ? -value : value;
}

template <std::size_t N>
void readSection(std::string_view section, std::array<bool, N>& selected) {
    std::size_t pos = 0;
    while (pos + 1 < section.size()) {
        const std::size_t end = section.find(';', pos);
        if (end == std::string_view::npos) {
            break;
        }
        const long long value = readNumber(section.substr(pos, end - pos));
        if (value >= 1 && value <= static_cast<long long>(N)) {
            selected[static_cast<std::size_t>(value - 1)] = true;
        }
        pos = end + 1;
    }
}

template <std::size_t N>
void writeSection(const std::array<bool, N>& selected, std::string& out) {
    for (std::size_t i = 0; i < N; ++i) {
        if (selected[i]) {
            out += std::to_string(i + 1);
            out += ';';
        }
    }
}

template <std::size_t N>
bool fits(const std::array<bool, N>& selected, int value) {
    bool any = false;
    for (bool s : selected) {
        any = any || s;
    }
    return !any || (value >= 1 && value <= static_cast<int>(N) &&
                    selected[static_cast<std::size_t>(value - 1)]);
}

}  // namespace

void AlarmSchedule::Load(CNotesDatabase& db, std::int32_t nid, const IClock& clock) {
    const int src = kLiveSource;
    isReminder = db.GetNote(src, nid, note::isReminder);
    schedule = db.GetNote(src, nid, note::schedule);
    repeatEach = db.GetNote(src, nid, note::repeatEach);
    remindAction = db.GetNote(src, nid, note::remindAction);
    remindTime = toLocal(clock, db.GetNote(src, nid, note::remindTime));
    remindTime1 = toLocal(clock, db.GetNote(src, nid, note::remindTime1));
    remindTime2 = toLocal(clock, db.GetNote(src, nid, note::remindTime2));
    remindSnoozeTime = db.GetNote(src, nid, note::remindSnoozeTime);
    remindRepeatTimes = db.GetNote(src, nid, note::remindRepeatTimes);
    remindRepeatInterval = db.GetNote(src, nid, note::remindRepeatInterval);
    remindRepeatInterval2 = db.GetNote(src, nid, note::remindRepeatInterval2);
    remindFlashTimes = db.GetNote(src, nid, note::remindFlashTimes);
    remindFlashInterval = db.GetNote(src, nid, note::remindFlashInterval);
    remindRepeat = db.GetNote(src, nid, note::remindRepeat);
    remindWav = db.GetNote(src, nid, note::remindWav);
    remindUrl = db.GetNote(src, nid, note::remindUrl);
    remindExe = db.GetNote(src, nid, note::remindExe);
    recurring = isReminder > 1;
}

void AlarmSchedule::Store(CNotesDatabase& db, std::int32_t nid, const IClock& clock) const {
    db.SetNote(nid, toStored(clock, remindTime), note::remindTime);
    db.SetNote(nid, toStored(clock, remindTime1), note::remindTime1);
    db.SetNote(nid, toStored(clock, remindTime2), note::remindTime2);
    db.SetNote(nid, schedule, note::schedule);
    db.SetNote(nid, repeatEach, note::repeatEach);
    db.SetNote(nid, remindRepeatTimes, note::remindRepeatTimes);
    db.SetNote(nid, remindRepeat, note::remindRepeat);
    db.SetNote(nid, remindRepeatInterval, note::remindRepeatInterval);
    db.SetNote(nid, remindRepeatInterval2, note::remindRepeatInterval2);
    db.SetNote(nid, remindAction, note::remindAction);
    db.SetNote(nid, remindSnoozeTime, note::remindSnoozeTime);
    db.SetNote(nid, remindFlashTimes, note::remindFlashTimes);
    db.SetNote(nid, remindFlashInterval, note::remindFlashInterval);
    db.SetNote(nid, remindWav, note::remindWav);
    db.SetNote(nid, remindUrl, note::remindUrl);
    db.SetNote(nid, remindExe, note::remindExe);
    // The switch goes last: a save made while the alarm is written (saves run on worker
    // threads) finds it on or off as it was until its time and schedule are in place.
    db.SetNote(nid, isReminder, note::isReminder);
}

void AlarmSchedule::ParseSchedule(bool updateControls) {
    if (schedule.size() > 3) {
        const std::string_view text = schedule;
        constexpr std::size_t npos = std::string_view::npos;
        // A section exists only while its closing "!" does: a missing one empties the sections
        // after it instead of letting the next search start over at the front of the text.
        const std::size_t p1 = text.find('!');
        const std::size_t p2 = p1 == npos ? npos : text.find('!', p1 + 1);
        const std::size_t p3 = p2 == npos ? npos : text.find('!', p2 + 1);
        if (p1 != npos) {
            readSection(text.substr(0, p1), days);
        }
        if (p2 != npos) {
            readSection(text.substr(p1 + 1, p2 - p1 - 1), weekdays);
        }
        if (p3 != npos) {
            readSection(text.substr(p2 + 1, p3 - p2 - 1), months);
        }
    }
    if (updateControls) {
        UpdateControls();
    }
}

void AlarmSchedule::BuildSchedule() {
    std::string out = ";";
    writeSection(days, out);
    out += "!;";
    writeSection(weekdays, out);
    out += "!;";
    writeSection(months, out);
    out += "!";
    schedule = out;
}

bool AlarmSchedule::Matches(const LocalDateTime& day) const {
    return fits(days, day.day) && fits(weekdays, day.dayOfWeek()) && fits(months, day.month);
}

AlarmOutcome AlarmSchedule::AdvanceAlarm(const IClock& clock) {
    if (!recurring) {
        isReminder = 0;
        remindRepeat = 0;
        remindRepeatTimes = 0;
    }
    ParseSchedule(false);
    BuildSchedule();

    // Starting a minute on keeps the ringing that just happened from being chosen again.
    const LocalDateTime start = localNow(clock).plusSeconds(repeatEach == 0 ? 60 : 0);
    const LocalDateTime timeOfDay = remindTime;
    if (const auto next = FindNext(start, timeOfDay)) {
        remindTime = *next;
        return AlarmOutcome::Rings;
    }
    // A one-time alarm is due now whatever its day selections say; only a recurring alarm
    // with no day left to ring on is switched off unheard.
    if (!recurring) {
        remindTime = start.withTimeOf(timeOfDay);
        if (remindTime.earlier(start)) {
            remindTime = start.nextDayAt(timeOfDay);
        }
        return AlarmOutcome::Rings;
    }
    SwitchOff();
    return AlarmOutcome::SwitchedOff;
}

AlarmOutcome AlarmSchedule::AdvancePastNow(const IClock& clock) {
    const LocalDateTime now = localNow(clock);
    const AlarmOutcome outcome = AdvanceAlarm(clock);
    if (outcome == AlarmOutcome::Rings && !now.earlier(remindTime)) {
        // A non-zero repeatEach starts the search at the present moment and so finds the
        // very ringing that is being handled.
        if (const auto next = FindNext(now.plusSeconds(1), remindTime)) {
            remindTime = *next;
        } else {
            // Nothing after this ringing: it still rings, then the alarm is off.
            isReminder = 0;
            remindRepeat = 0;
            remindRepeatTimes = 0;
        }
    }
    return outcome;
}

std::vector<LocalDateTime> AlarmSchedule::Ringings(const LocalDateTime& first, int count) const {
    std::vector<LocalDateTime> ringings;
    if (count <= 0) {
        return ringings;
    }
    if (!recurring) {
        ringings.push_back(first);
        return ringings;
    }
    std::optional<LocalDateTime> next = FindNext(first, first);
    while (next && static_cast<int>(ringings.size()) < count) {
        ringings.push_back(*next);
        // What the firing at that moment picks: the search starts after the ringing itself.
        next = FindNext(next->plusSeconds(1), *next);
    }
    return ringings;
}

std::optional<LocalDateTime> AlarmSchedule::FindNext(const LocalDateTime& start,
                                                     const LocalDateTime& timeOfDay) const {
    LocalDateTime d = start;
    for (int examined = 0; examined < kSearchDays; ++examined) {
        if (Matches(d)) {
            const LocalDateTime candidate = d.withTimeOf(timeOfDay);
            if (!candidate.earlier(d)) {
                return candidate;
            }
        }
        d = d.nextDayAt(timeOfDay);
    }
    return std::nullopt;
}

void AlarmSchedule::SwitchOff() {
    isReminder = 0;
    remindRepeat = 0;
    remindAction = 0;
    remindRepeatTimes = 0;
}

}  // namespace bp
