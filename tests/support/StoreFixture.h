#pragma once

#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace bp::test {

// A store of a test's own: a fresh data folder, the fake desktop services, and the database in
// that folder, opened (which makes the default database with its three sample notes) unless the
// test prepares the folder first and opens it itself, or the program under test is given the
// folder and opens the database as it does at start. A test fixture derives from it next to
// ::testing::Test, so that its tests name folder, fakes and store directly.
class StoreFixture {
public:
    enum class Open { Now, ByTheTest, ByTheProgram };

    explicit StoreFixture(Open open = Open::Now) : store(fakes.platform()) {
        if (open != Open::ByTheProgram) {
            store.SetDataFolder(folder.path());
        }
        if (open == Open::Now) {
            EXPECT_TRUE(store.OpenDatabase(0));
        }
    }

    TempFolder folder;
    fake::FakePlatform fakes;
    CNotesDatabase store;
};

}  // namespace bp::test
