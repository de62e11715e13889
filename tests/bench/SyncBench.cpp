// The sync core with 1,000 notes of 2 KB on two simulated devices: what merging another
// device's 1,000 changed notes costs, how large the sync folder grows over a simulated year of
// daily edits, and what an idle device writes.

#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"
#include "sync/SyncDevice.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string makeFolder() {
    std::string pattern = (fs::temp_directory_path() / "bp-syncbench-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

std::string body(int note, int edit) {
    std::string text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs20\n";
    for (int line = 0; text.size() < 2000; ++line) {
        text += "Note " + std::to_string(note) + " line " + std::to_string(line) +
                (line == edit % 20 ? " edited " + std::to_string(edit) : std::string()) +
                " with a few more words\\par\n";
    }
    return text + "}";
}

std::uintmax_t bytesUnder(const std::string& folder) {
    std::uintmax_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    return total;
}

struct Device {
    explicit Device(const std::string& id) : data(makeFolder()), folder(makeFolder()) {
        store = std::make_unique<bp::CNotesDatabase>(fakes.platform());
        store->SetDataFolder(data);
        store->OpenDatabase(0);
        sync = std::make_unique<bp::sync::SyncDevice>(
            *store, fakes.clock, bp::sync::SyncSetup{folder, id, id, "1920x1080"});
    }
    ~Device() {
        fs::remove_all(data);
        fs::remove_all(folder);
    }
    // This device's files into the other's copy of the sync folder, as an engine would; the
    // files the writer removed are removed there too.
    void carryTo(const Device& other, const std::string& id) const {
        const fs::path mine = fs::path(folder) / "devices" / id;
        const fs::path there = fs::path(other.folder) / "devices" / id;
        fs::remove_all(there);
        fs::create_directories(there);
        for (const auto& entry : fs::directory_iterator(mine)) {
            fs::copy_file(entry.path(), there / entry.path().filename());
        }
    }

    std::string data;
    std::string folder;
    bp::fake::FakePlatform fakes;
    std::unique_ptr<bp::CNotesDatabase> store;
    std::unique_ptr<bp::sync::SyncDevice> sync;
};

struct Pair {
    Pair() {
        for (int i = 0; i < 1000; ++i) {
            const std::int32_t nid = a.store->NewNote();
            a.store->SetNoteBody(nid, body(i, 0));
        }
        settle();
    }
    void settle() {
        a.sync->sync();
        a.carryTo(b, "a");
        b.sync->sync();
        b.carryTo(a, "b");
        a.sync->sync();
    }
    Device a{"a"};
    Device b{"b"};
};

void BM_MergeThousandChangedNotes(benchmark::State& state) {
    Pair pair;
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++edit;
        pair.a.fakes.clock.seconds += 60;
        int i = 0;
        for (const std::int32_t nid : pair.a.store->ListNotes(bp::kLiveSource)) {
            pair.a.store->SetNoteBody(nid, body(i++, edit));
        }
        pair.a.sync->sync();
        pair.a.carryTo(pair.b, "a");
        state.ResumeTiming();
        const bp::sync::SyncRound round = pair.b.sync->sync();
        benchmark::DoNotOptimize(round);
    }
}
BENCHMARK(BM_MergeThousandChangedNotes)->Unit(benchmark::kMillisecond)->Iterations(3);

// A year: every day one device edits 50 of the notes (a paragraph each) and both sync; the
// figures are the sync folder (one device's copy, with both devices' files) and the database.
void BM_SimulatedYear(benchmark::State& state) {
    for (auto _ : state) {
        Pair pair;
        std::mt19937 random(1);
        for (int day = 1; day <= 365; ++day) {
            Device& editor = day % 3 == 0 ? pair.b : pair.a;
            editor.fakes.clock.seconds += 86400;
            (day % 3 == 0 ? pair.a : pair.b).fakes.clock.seconds += 86400;
            const bp::IdList nids = editor.store->ListNotes(bp::kLiveSource);
            for (int k = 0; k < 50; ++k) {
                const std::size_t at = random() % nids.size();
                editor.store->SetNoteBody(nids[at], body(static_cast<int>(at), day));
            }
            pair.settle();
        }
        pair.a.store->SaveDatabase("");
        const double database = static_cast<double>(fs::file_size(pair.a.store->DatabasePath()));
        const double folder = static_cast<double>(bytesUnder(pair.a.folder));
        state.counters["database_MB"] = database / 1e6;
        state.counters["sync_folder_MB"] = folder / 1e6;
        state.counters["ratio"] = folder / database;
        // Idle: a week of rounds with nothing changed.
        std::size_t written = 0;
        for (int round = 0; round < 7; ++round) {
            pair.a.fakes.clock.seconds += 86400;
            written += pair.a.sync->sync().recordsWritten;
            written += pair.b.sync->sync().recordsWritten;
        }
        state.counters["idle_records_written"] = static_cast<double>(written);
    }
}
BENCHMARK(BM_SimulatedYear)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
