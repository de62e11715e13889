#include "sync/SimulatedDevice.h"

#include "alarm/ActionFlags.h"
#ifdef BP_WITH_NOTE_DIRECTORY
#include "scripting/NoteDirectory.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace bp::test {
namespace {

// Every device's files to every other device, until none has anything new to say.
void settle(const std::vector<SimulatedDevice*>& devices) {
    for (int round = 0; round < 4; ++round) {
        for (SimulatedDevice* device : devices) {
            device->sync();
        }
        for (SimulatedDevice* from : devices) {
            for (SimulatedDevice* to : devices) {
                if (from != to) {
                    carryAll(*from, *to);
                }
            }
        }
    }
    for (SimulatedDevice* device : devices) {
        EXPECT_EQ(device->sync().recordsWritten, 0u) << "still talking after settling";
    }
}

const std::string kBody = "{\\rtf1\\ansi\none\\par\ntwo\\par\nthree\\par\nfour\n}";

// Two devices that share one note with a body of four paragraphs.
class TwoDevices : public ::testing::Test {
protected:
    void SetUp() override {
        nid = a.store.NewNote();
        a.store.SetNote(nid, "shared", note::title);
        a.store.SetNoteBody(nid, kBody);
        settle({&a, &b});
        uid = a.uidOf(nid);
        ASSERT_NE(b.nidOf(uid), 0);
    }
    std::int32_t onB() { return b.nidOf(uid); }
    void editBody(SimulatedDevice& device, const std::string& from, const std::string& to) {
        const std::int32_t at = device.nidOf(uid);
        std::string text = device.body(at);
        text.replace(text.find(from), from.size(), to);
        device.store.SetNoteBody(at, text);
    }
    // The notes of both are the same, note by note.
    void expectSame() { EXPECT_EQ(differences(a.notes(), b.notes()), ""); }

    SimulatedDevice a{"dev-a"};
    SimulatedDevice b{"dev-b"};
    std::int32_t nid = 0;
    std::string uid;
};

TEST_F(TwoDevices, SampleNotesOfTwoNewDatabasesAreOneNoteEach) {
    EXPECT_EQ(a.notes().size(), 4u);
    expectSame();
}

#ifdef BP_WITH_NOTE_DIRECTORY
TEST(SyncIds, KeepTheIdsScriptsKnewAndNeverCollideForNewNotes) {
    SimulatedDevice a{"dev-a"};
    SimulatedDevice b{"dev-b"};
    NoteDirectory directory(a.store, nullptr);
    auto ids = [&] {
        std::vector<std::string> all;
        for (const NoteSummary& note : directory.list()) {
            all.push_back(note.id);
        }
        return all;
    };
    const std::vector<std::string> before = ids();
    a.sync();
    b.sync();
    EXPECT_EQ(ids(), before);
    // The same number and creation time on two devices: two notes all the same.
    const std::int32_t onA = a.store.NewNote();
    const std::int32_t onB = b.store.NewNote();
    ASSERT_EQ(onA, onB);
    a.sync();
    b.sync();
    EXPECT_NE(a.uidOf(onA), b.uidOf(onB));
    EXPECT_EQ(directory.idOf(onA), a.uidOf(onA));
}
#endif

// A database joining later keeps the others' edits of the notes they share, and its own text
// of them as a conflict copy; notes the others have and it lacks are not erased by it.
TEST(SyncJoin, ALaterDatabaseTakesTheAgreedNotesAndKeepsItsOwnTextAsACopy) {
    SimulatedDevice a{"dev-a"};
    const std::int32_t sample = a.store.ListNotes(kLiveSource).front();
    a.sync();
    a.fakes.clock.seconds += 3600;
    a.store.SetNote(sample, "renamed on a", note::title);
    a.store.SetNoteBody(sample, "{\\rtf1\ntyped on a\n}");
    const std::int32_t extra = a.store.NewNote();
    a.store.SetNoteBody(extra, "{\\rtf1\nonly on a\n}");
    a.sync();
    SimulatedDevice b{"dev-b"};
    b.fakes.clock.seconds += 7200;
    const std::int32_t sampleOnB = b.store.ListNotes(kLiveSource).front();
    const std::string textOnB = "{\\rtf1\ntyped on b before joining\n}";
    b.store.SetNoteBody(sampleOnB, textOnB);
    carryAll(a, b);
    b.sync();
    EXPECT_EQ(b.store.GetNote(kLiveSource, sampleOnB, note::title), "renamed on a");
    EXPECT_EQ(b.body(sampleOnB), "{\\rtf1\ntyped on a\n}");
    bool copyKept = false;
    for (const std::int32_t nid : b.store.ListNotes(kLiveSource)) {
        copyKept = copyKept || b.body(nid) == textOnB;
    }
    EXPECT_TRUE(copyKept);
    settle({&a, &b});
    EXPECT_NE(a.nidOf(a.uidOf(extra)), 0);
    EXPECT_EQ(a.notes().size(), 5u);
    EXPECT_EQ(differences(a.notes(), b.notes()), "");
}

TEST_F(TwoDevices, ConflictTable) {
    // Same field: the later edit wins on both.
    a.store.SetNote(nid, "title by a", note::title);
    a.fakes.clock.seconds += 10;
    b.fakes.clock.seconds += 20;
    b.store.SetNote(onB(), "title by b", note::title);
    // Different fields of the same note: both kept.
    a.store.SetNote(nid, 5u, note::bodyBackColor);
    b.store.SetNote(onB(), 1, note::isBody);
    // Different paragraphs of the body: merged.
    editBody(a, "one", "ONE");
    editBody(b, "four", "FOUR");
    settle({&a, &b});
    expectSame();
    EXPECT_EQ(a.store.GetNote(kLiveSource, nid, note::title), "title by b");
    EXPECT_EQ(a.store.GetNote(kLiveSource, nid, note::bodyBackColor), 5u);
    EXPECT_EQ(a.body(nid), "{\\rtf1\\ansi\nONE\\par\ntwo\\par\nthree\\par\nFOUR\n}");
    EXPECT_EQ(a.notes().size(), 4u);
}

TEST_F(TwoDevices, SameParagraphKeepsOneVersionAndTheOtherAsAConflictCopy) {
    a.store.SetNote(nid, 1, note::isReminder);
    settle({&a, &b});
    a.fakes.clock.seconds += 5;
    editBody(a, "two", "two by a");
    editBody(b, "two", "two by b");
    settle({&a, &b});
    expectSame();
    ASSERT_EQ(a.notes().size(), 5u);
    EXPECT_EQ(a.body(nid), "{\\rtf1\\ansi\none\\par\ntwo by a\\par\nthree\\par\nfour\n}");
    std::int32_t copy = 0;
    for (const std::int32_t other : a.store.ListNotes(kLiveSource)) {
        if (a.store.GetNote(kLiveSource, other, note::title) ==
            "shared (conflict, Machine dev-b)") {
            copy = other;
        }
    }
    ASSERT_NE(copy, 0);
    EXPECT_EQ(a.body(copy), "{\\rtf1\\ansi\none\\par\ntwo by b\\par\nthree\\par\nfour\n}");
    EXPECT_EQ(a.store.GetNote(kLiveSource, copy, note::isReminder), 0);
    // Erasing the copy is not undone by the conflict it came from.
    a.store.DeleteNote(copy);
    settle({&a, &b});
    EXPECT_EQ(b.notes().size(), 4u);
    expectSame();
}

TEST_F(TwoDevices, DeleteAgainstEditKeepsTheNote) {
    a.store.DeleteNote(nid);
    editBody(b, "three", "three, edited");
    settle({&a, &b});
    expectSame();
    ASSERT_NE(a.nidOf(uid), 0);
    EXPECT_EQ(a.body(a.nidOf(uid)),
              "{\\rtf1\\ansi\none\\par\ntwo\\par\nthree, edited\\par\nfour\n}");
    // An erase that saw every edit holds.
    b.store.DeleteNote(onB());
    settle({&a, &b});
    EXPECT_EQ(a.nidOf(uid), 0);
    expectSame();
}

TEST_F(TwoDevices, RestoreAgainstEraseKeepsTheNoteLive) {
    a.store.SetNoteDeleted(nid, 1);
    settle({&a, &b});
    ASSERT_EQ(b.store.GetNote(kLiveSource, onB(), note::isDeleted), 1);
    a.fakes.clock.seconds += 60;
    a.store.SetNoteDeleted(nid, 0);
    b.store.DeleteNote(onB());
    settle({&a, &b});
    expectSame();
    ASSERT_NE(b.nidOf(uid), 0);
    EXPECT_EQ(b.store.GetNote(kLiveSource, onB(), note::isDeleted), 0);
}

TEST_F(TwoDevices, AlarmStoppedOnOneAndSnoozedOnTheOtherTakesTheLaterAnswerWhole) {
    for (SimulatedDevice* device : {&a, &b}) {
        const std::int32_t at = device->nidOf(uid);
        device->store.SetNote(at, 1, note::isReminder);
        device->store.SetNote(at, 1700000600u, note::remindTime);
    }
    settle({&a, &b});
    // Stopped on a: no further ringing. Snoozed on b a minute later: rings at the snooze end.
    a.fakes.clock.seconds += 600;
    b.fakes.clock.seconds += 660;
    a.store.SetNote(nid, 0, note::isReminder);
    b.store.SetNoteExtra(onB(), note::snoozeEnd, "1700001260");
    settle({&a, &b});
    expectSame();
    EXPECT_EQ(a.store.GetNote(kLiveSource, nid, note::isReminder), 1);
    EXPECT_EQ(a.store.GetNoteExtra(nid, note::snoozeEnd), "1700001260");
    // The other way round, the stop wins and leaves no snooze behind.
    a.fakes.clock.seconds += 700;
    b.fakes.clock.seconds += 800;
    a.store.SetNoteExtra(nid, note::snoozeEnd, "1700002000");
    b.store.SetNote(onB(), 0, note::isReminder);
    b.store.SetNoteExtra(onB(), note::snoozeEnd, std::nullopt);
    settle({&a, &b});
    expectSame();
    EXPECT_EQ(a.store.GetNote(kLiveSource, nid, note::isReminder), 0);
    EXPECT_EQ(a.store.GetNoteExtra(nid, note::snoozeEnd), std::nullopt);
}

TEST_F(TwoDevices, AClockHoursAheadDoesNotWinOverAnEditMadeAfterSeeingIt) {
    a.fakes.clock.seconds += 3 * 3600;
    a.store.SetNote(nid, "from the fast clock", note::title);
    settle({&a, &b});
    b.store.SetNote(onB(), "later, from the right clock", note::title);
    settle({&a, &b});
    EXPECT_EQ(a.store.GetNote(kLiveSource, nid, note::title), "later, from the right clock");
    expectSame();
}

TEST_F(TwoDevices, WindowPlacesSyncOnlyBetweenTheSameScreens) {
    SimulatedDevice laptop{"dev-c", "1366x768"};
    settle({&a, &b, &laptop});
    const std::int32_t onLaptop = laptop.nidOf(uid);
    const int laptopX = laptop.store.GetNote(kLiveSource, onLaptop, note::xPos);
    a.store.SetNote(nid, 777, note::xPos);
    settle({&a, &b, &laptop});
    EXPECT_EQ(b.store.GetNote(kLiveSource, onB(), note::xPos), 777);
    EXPECT_EQ(laptop.store.GetNote(kLiveSource, onLaptop, note::xPos), laptopX);
    EXPECT_EQ(differences(a.notes(false), laptop.notes(false)), "");
}

TEST_F(TwoDevices, ProgramActionsFromAnotherDeviceWaitForConfirmationHere) {
    const int open = (1 << action::OpenProgram) | (1 << action::Beep);
    a.store.SetNote(nid, open, note::remindAction);
    a.store.SetNote(nid, std::string("xterm -e top"), note::remindExe);
    settle({&a, &b});
    EXPECT_EQ(b.store.GetNote(kLiveSource, onB(), note::remindAction), 1 << action::Beep);
    EXPECT_EQ(b.store.GetNote(kLiveSource, onB(), note::remindExe), "xterm -e top");
    EXPECT_TRUE(b.device->hasHeldActions(onB()));
    // Its own device runs it as set, and nothing is sent back while it waits.
    EXPECT_EQ(a.store.GetNote(kLiveSource, nid, note::remindAction), open);
    EXPECT_FALSE(a.device->hasHeldActions(nid));
    ASSERT_TRUE(b.device->confirmHeldActions(onB()));
    EXPECT_EQ(b.store.GetNote(kLiveSource, onB(), note::remindAction), open);
    EXPECT_EQ(b.sync().recordsWritten, 0u);
    // A restart does not take the confirmation back.
    b.restart();
    EXPECT_EQ(b.sync().recordsWritten, 0u);
    EXPECT_EQ(b.store.GetNote(kLiveSource, onB(), note::remindAction), open);
}

TEST_F(TwoDevices, AnIdleDeviceWritesNothing) {
    for (int i = 0; i < 3; ++i) {
        a.fakes.clock.seconds += 3600;
        EXPECT_EQ(a.sync().recordsWritten, 0u);
    }
    a.restart();
    EXPECT_EQ(a.sync().recordsWritten, 0u);
    EXPECT_EQ(filesOf(a, "dev-a").size(), filesOf(b, "dev-a").size());
}

TEST_F(TwoDevices, SegmentsFoldIntoASnapshotThatSaysTheSame) {
    for (int round = 0; round < 70; ++round) {
        a.fakes.clock.seconds += 60;
        a.store.SetNote(nid, "title " + std::to_string(round), note::title);
        a.sync();
    }
    const std::vector<fs::path> files = filesOf(a, "dev-a");
    EXPECT_LT(files.size(), 10u);
    EXPECT_EQ(std::count_if(files.begin(), files.end(),
                            [](const fs::path& file) {
                                return file.filename().string().starts_with("snap-");
                            }),
              1);
    a.restart();
    EXPECT_EQ(a.sync().recordsWritten, 0u);
    // A device that joins now learns everything from the snapshot and the few segments after.
    SimulatedDevice c{"dev-c"};
    carryAll(a, c);
    carryAll(b, c);
    c.sync();
    EXPECT_EQ(c.store.GetNote(kLiveSource, c.nidOf(uid), note::title), "title 69");
    settle({&a, &b, &c});
    EXPECT_EQ(differences(a.notes(), c.notes()), "");
}

TEST_F(TwoDevices, AKillAtAnyStepOfWritingLosesNothing) {
    for (const std::string step : {"open", "write", "sync", "rename"}) {
        a.store.SetNote(nid, "before the kill at " + step, note::title);
        a.device->setWriteStep([&](std::string_view at) { return at != step; });
        a.sync();
        // Whatever the kill left is not seen by the other device.
        carryAll(a, b);
        EXPECT_TRUE(b.sync().problems.empty()) << step;
        EXPECT_NE(b.store.GetNote(kLiveSource, onB(), note::title), "before the kill at " + step);
        a.restart();
        settle({&a, &b});
        EXPECT_EQ(b.store.GetNote(kLiveSource, onB(), note::title), "before the kill at " + step);
    }
}

TEST_F(TwoDevices, BrokenFilesAreToldOnceAndBlockNothing) {
    const fs::path evil = fs::path(b.devicesFolder()) / "evil";
    fs::create_directories(evil);
    writeFile((evil / "seg-1.bps").string(), "BPSYNC 1 evil\nF\tx\n");
    writeFile((evil / "snap-2.bps").string(), std::string(1000, '\0'));
    a.store.SetNote(nid, "still arrives", note::title);
    a.sync();
    // A truncated copy first, the whole file later; and a renamed duplicate.
    const fs::path newest = filesOf(a, "dev-a").back();
    const std::string whole = readFile(newest.string());
    writeFile(placeIn(b, newest).string(), whole.substr(0, whole.size() / 2));
    fs::copy_file(newest, placeIn(b, newest, ".sync-conflict-20261211-1"));
    const sync::SyncRound first = b.sync();
    EXPECT_EQ(first.problems.size(), 3u);
    EXPECT_NE(std::find_if(first.problems.begin(), first.problems.end(),
                           [](const std::string& p) { return p.starts_with("evil/seg-1.bps"); }),
              first.problems.end());
    EXPECT_EQ(b.store.GetNote(kLiveSource, onB(), note::title), "still arrives");
    EXPECT_EQ(b.notes().size(), 4u);
    EXPECT_TRUE(b.sync().problems.empty());
    writeFile(placeIn(b, newest).string(), whole);
    EXPECT_TRUE(b.sync().problems.empty());
    expectSame();
}

// Random edits on three devices, files carried between them in random order, late, twice
// and cut short: once everything has arrived, every database holds the same notes.
TEST(SyncConvergence, ThreeDevicesAgreeAfterRandomEdits) {
    for (const unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        SimulatedDevice a{"dev-a"}, b{"dev-b"}, c{"dev-c"};
        std::vector<SimulatedDevice*> devices{&a, &b, &c};
        for (SimulatedDevice* device : devices) {
            device->sync();
        }
        auto pick = [&](const auto& list) { return list[random() % list.size()]; };
        for (int step = 0; step < 40; ++step) {
            SimulatedDevice& device = *pick(devices);
            device.fakes.clock.seconds += static_cast<std::int64_t>(random() % 100);
            IdList notes = device.store.ListNotes(kLiveSource);
            const IdList inBin = device.store.ListDeletedNotes().value_or(IdList{});
            const std::int32_t target = notes.empty() ? 0 : pick(notes);
            switch (random() % 9) {
                case 0: {
                    const std::int32_t made = device.store.NewNote();
                    device.store.SetNoteBody(made, "{\\rtf1\na\nb\nc\n}");
                    break;
                }
                case 1:
                    if (target)
                        device.store.SetNote(target, "t" + std::to_string(random() % 5),
                                             note::title);
                    break;
                case 2:
                case 3:
                    if (target) {
                        std::string text = device.body(target);
                        const std::size_t line = text.find('\n', random() % (text.size() + 1));
                        text.insert(line == std::string::npos ? text.size() : line,
                                    std::to_string(random() % 10));
                        device.store.SetNoteBody(target, text);
                    }
                    break;
                case 4:
                    if (target)
                        device.store.SetNoteDeleted(target, 1);
                    break;
                case 5:
                    if (!inBin.empty())
                        device.store.SetNoteDeleted(pick(inBin), 0);
                    break;
                case 6:
                    if (target && random() % 3 == 0)
                        device.store.DeleteNote(target);
                    break;
                case 7:
                    if (target)
                        device.store.SetNote(target, static_cast<int>(random() % 3),
                                             note::priority);
                    break;
                default:
                    if (target)
                        device.store.SetNoteExtra(target, note::snoozeEnd,
                                                  std::to_string(random()));
            }
            if (random() % 2) {
                device.sync();
            }
            // The engine brings a few files, in any order, some cut short or twice.
            SimulatedDevice& from = *pick(devices);
            SimulatedDevice& to = *pick(devices);
            if (&from == &to) {
                continue;
            }
            const std::string owner = pick(std::vector<std::string>{"dev-a", "dev-b", "dev-c"});
            if (owner == to.id()) {
                continue;  // an engine never writes over the writer's own files
            }
            std::vector<fs::path> files = filesOf(from, owner);
            std::shuffle(files.begin(), files.end(), random);
            for (std::size_t i = 0; i < files.size() && i < 3; ++i) {
                const std::string bytes = readFile(files[i].string());
                switch (random() % 4) {
                    case 0:
                        writeFile(placeIn(to, files[i]).string(),
                                  bytes.substr(0, bytes.size() / 2));
                        break;
                    case 1:
                        writeFile(placeIn(to, files[i], ".sync-conflict-x").string(), bytes);
                        [[fallthrough]];
                    default:
                        writeFile(placeIn(to, files[i]).string(), bytes);
                }
            }
            if (random() % 3 == 0) {
                to.sync();
            }
        }
        settle(devices);
        EXPECT_EQ(differences(a.notes(), b.notes()), "");
        EXPECT_EQ(differences(a.notes(), c.notes()), "");
    }
}

}  // namespace
}  // namespace bp::test
