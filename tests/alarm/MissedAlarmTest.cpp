#include "alarm/MissedAlarm.h"
#include "alarm/SnoozeRecord.h"
#include "store/NotesDatabase.h"
#include "support/StoreFixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace bp;

namespace {

class MissedAlarmRecord : public ::testing::Test, public test::StoreFixture {};

}  // namespace

TEST_F(MissedAlarmRecord, TheMarkOutlivesASaveAndLeavesNoTraceOnceGone) {
    const std::string before = store.NotesSection();
    EXPECT_EQ(storedMissedAlarm(store, 2), std::nullopt);

    storeMissedAlarm(store, 2, 1765443600u);
    // A time past 2038 is written as a negative 32-bit number and read back unsigned.
    storeMissedAlarm(store, 3, 0x90000000u);
    // Next to a pending snooze, each keeps its own.
    storeSnoozeEnd(store, 3, 1765444140u);
    ASSERT_TRUE(store.SaveDatabase(""));
    ASSERT_TRUE(store.OpenDatabase(0));
    EXPECT_EQ(storedMissedAlarm(store, 1), std::nullopt);
    EXPECT_EQ(storedMissedAlarm(store, 2), 1765443600u);
    EXPECT_EQ(storedMissedAlarm(store, 3), 0x90000000u);
    EXPECT_EQ(storedSnoozeEnd(store, 3), 1765444140u);

    storeMissedAlarm(store, 2, std::nullopt);
    storeMissedAlarm(store, 3, std::nullopt);
    storeSnoozeEnd(store, 3, std::nullopt);
    EXPECT_EQ(store.NotesSection(), before);
    // Clearing twice, or a note that is not there, changes nothing.
    storeMissedAlarm(store, 2, std::nullopt);
    storeMissedAlarm(store, 99, 1u);
    EXPECT_EQ(store.NotesSection(), before);
    EXPECT_EQ(storedMissedAlarm(store, 99), std::nullopt);
}
