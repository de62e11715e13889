// The rules behind the note lists: sort order and direction, re-selection after a refresh, the
// option words of Find. No display.
#include "manage/FindOptions.h"
#include "manage/ListSort.h"
#include "manage/ListText.h"
#include "platform/TimeText.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bp;

namespace {

struct Row {
    std::uint32_t created;
    std::string title;
};

// Column 0 numbers, column 1 titles, as the lists have them.
ListSorter titleAndTimeSorter() {
    return ListSorter([](int column) { return column == 1; });
}

std::vector<std::string> titlesAfter(ListSorter& sorter, std::vector<Row>& rows, int column) {
    auto keyOf = [&](std::size_t row, int c) {
        return c == 1 ? SortKey{0, rows[row].title} : SortKey{rows[row].created, {}};
    };
    const std::vector<std::size_t> order =
        column < 0 ? sorter.repeat(rows.size(), keyOf) : sorter.sortBy(column, rows.size(), keyOf);
    std::vector<Row> sorted;
    for (const std::size_t i : order) {
        sorted.push_back(rows[i]);
    }
    rows = sorted;
    std::vector<std::string> titles;
    for (const Row& row : rows) {
        titles.push_back(row.title);
    }
    return titles;
}

TEST(ListSort, EachClickFlipsTheDirectionWhateverColumnWasClicked) {
    // Created times: B newest, then a, then C; "a" sorts after the capitals byte-wise.
    const std::vector<Row> start = {{200, "C"}, {300, "B"}, {250, "a"}, {100, "A"}};
    using Titles = std::vector<std::string>;
    struct Case {
        const char* name;
        std::vector<int> clicks;  // the last one is checked
        Titles expected;
    };
    const Case cases[] = {
        {"title once: A to Z", {1}, Titles{"A", "B", "C", "a"}},
        {"created first: newest first", {2}, Titles{"B", "a", "C", "A"}},
        {"title after created: Z to A", {2, 1}, Titles{"a", "C", "B", "A"}},
        {"created twice: oldest first", {2, 2}, Titles{"A", "C", "a", "B"}},
    };
    for (const Case& c : cases) {
        ListSorter sorter = titleAndTimeSorter();
        std::vector<Row> rows = start;
        Titles titles;
        for (const int column : c.clicks) {
            titles = titlesAfter(sorter, rows, column);
        }
        EXPECT_EQ(titles, c.expected) << c.name;
    }
}

TEST(ListSort, RepeatSortsTheSameWayAgainAndKeepsTheNextDirection) {
    ListSorter sorter = titleAndTimeSorter();
    std::vector<Row> rows = {{1, "b"}, {2, "c"}, {3, "a"}};
    EXPECT_EQ(titlesAfter(sorter, rows, 1), (std::vector<std::string>{"a", "b", "c"}));
    rows.push_back({4, "0"});
    EXPECT_EQ(titlesAfter(sorter, rows, -1), (std::vector<std::string>{"0", "a", "b", "c"}));
    EXPECT_EQ(sorter.column(), 1);
    EXPECT_EQ(sorter.direction(), 1);
    EXPECT_EQ(titlesAfter(sorter, rows, 1), (std::vector<std::string>{"c", "b", "a", "0"}));
}

TEST(ListSort, ReadsEachRowsKeyOnceAndKeepsEqualRowsInTheirOrder) {
    ListSorter sorter([](int) { return false; });
    const std::vector<std::uint32_t> keys = {5, 1, 5, 3, 5, 1};
    int reads = 0;
    const std::vector<std::size_t> order =
        sorter.sortBy(3, keys.size(), [&](std::size_t row, int column) {
            EXPECT_EQ(column, 3);
            ++reads;
            return SortKey{keys[row], {}};
        });
    EXPECT_EQ(reads, 6);
    EXPECT_EQ(order, (std::vector<std::size_t>{0, 2, 4, 3, 1, 5}));
}

TEST(ListSort, CompareRowsFollowsTheDirectionForNumbersAndTheReverseForTitles) {
    const SortKey one{1, "a"};
    const SortKey two{2, "b"};
    EXPECT_EQ(CompareRows(one, two, false, -1), 1);
    EXPECT_EQ(CompareRows(one, two, false, 1), -1);
    EXPECT_EQ(CompareRows(one, one, false, -1), 0);
    EXPECT_EQ(CompareRows(one, two, true, -1), -1);
    EXPECT_EQ(CompareRows(one, two, true, 1), 1);
    // Unsigned: a time past 2038 is not a negative number.
    EXPECT_EQ(CompareRows({0x80000000u, {}}, {1, {}}, false, 1), 1);
    // Byte-wise: bytes above 127 (UTF-8 or Windows-1252) come after ASCII.
    EXPECT_EQ(CompareRows({0, "\xc3\xa9"}, {0, "z"}, true, -1), 1);
}

TEST(ListText, ReselectsTheSameNoteElseTheNextGreaterElseTheNextSmaller) {
    struct Case {
        std::vector<std::int32_t> nids;
        std::int32_t current;
        std::int32_t expected;
    };
    const Case cases[] = {
        {{4, 2, 9, 7}, 7, 7}, {{4, 2, 9, 12}, 7, 9}, {{4, 2, 5}, 7, 5},
        {{}, 7, -1},          {{4, 2}, -1, -1},      {{9, 8, 3, 1}, 5, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(reselectNid(c.nids, c.current), c.expected) << c.current;
    }
}

TEST(ListText, PriorityAndStateTexts) {
    EXPECT_EQ(priorityText(0), "low");
    EXPECT_EQ(priorityText(1), "regular");
    EXPECT_EQ(priorityText(2), "high");
    EXPECT_EQ(priorityText(7), "");
    EXPECT_EQ(stateText(1), "invisible");
    EXPECT_EQ(stateText(0), "visible");
    EXPECT_EQ(stateText(5), "visible");
}

// Every window shows times through the one formatter; the lists are checked here, the title's
// tip and the printed header in the note tests.
TEST(ListText, TimesNameTheMonthAndShowTheWholeClock) {
    struct Case {
        int year, month, day, hour, minute, second;
        const char* moment;
        const char* withWeekday;
    };
    const Case cases[] = {
        // Longer than the 25 characters a numeric month needs: nothing may be cut.
        {2017, 11, 25, 10, 34, 6, "Nov 25, 2017 - 10:34:06 AM",
         "Saturday, November 25, 2017 10:34:06 AM"},
        {2024, 1, 5, 0, 0, 0, "Jan 05, 2024 - 12:00:00 AM", "Friday, January 05, 2024 12:00:00 AM"},
        {2024, 2, 29, 12, 0, 1, "Feb 29, 2024 - 12:00:01 PM",
         "Thursday, February 29, 2024 12:00:01 PM"},
        {1999, 12, 31, 23, 59, 59, "Dec 31, 1999 - 11:59:59 PM",
         "Friday, December 31, 1999 11:59:59 PM"},
        {2030, 5, 9, 13, 5, 9, "May 09, 2030 - 01:05:09 PM", "Thursday, May 09, 2030 01:05:09 PM"},
    };
    fake::FakeClock clock;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moment);
        clock.set(c.year, c.month, c.day, c.hour, c.minute, c.second);
        EXPECT_EQ(displayTime(clock, clock.seconds), c.moment);
        EXPECT_EQ(displayTime(clock, clock.localTime(clock.seconds)), c.moment);
        EXPECT_EQ(displayTime(clock, clock.seconds, TimeStyle::MomentWithWeekday), c.withWeekday);
        EXPECT_EQ(listTime(clock, static_cast<std::uint32_t>(clock.seconds)), c.moment);
    }
}

TEST(FindOptions, WordsOfTheOptionsThatAreOnInTheirOrder) {
    struct Case {
        FindOptions options;
        const char* expected;
    };
    const Case cases[] = {
        {FindOptions{}, "search_in_notes search_in_titles all_notes"},
        {FindOptions{true, false, false, true, false}, "case_sensitive search_in_titles"},
        {FindOptions{false, true, false, false, false}, "whole_word"},
        {FindOptions{true, true, true, true, true},
         "case_sensitive whole_word search_in_notes search_in_titles all_notes"},
        {FindOptions{false, false, false, false, false}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.options.words(), c.expected);
    }
}

}  // namespace
