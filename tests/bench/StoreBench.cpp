// Store operations against databases of 10, 100 and 1,000 notes with 4 KB bodies.
// BP_BENCH_LINEAR=1 runs the same operations with the plain whole-section search, for
// comparison.

#include "platform/fake/FakePlatform.h"
#include "store/DatabaseFile.h"
#include "store/NotesDatabase.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

namespace {

bool linearOnly() {
    const char* v = std::getenv("BP_BENCH_LINEAR");
    return v != nullptr && v[0] == '1';
}

std::string readAll(const std::string& path) {
    std::string out;
    const int fd = ::open(path.c_str(), O_RDONLY);
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return out;
}

std::string richBody(int seed) {
    std::string body =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    while (body.size() < 4096) {
        body += "Note " + std::to_string(seed) + " text with some words \\par ";
    }
    body.resize(4096 - 1);
    body += "}";
    return body;
}

// One database per note count, built once and kept open.
struct Fixture {
    std::string folder;
    bp::fake::FakePlatform fakes;
    std::unique_ptr<bp::CNotesDatabase> db;
    std::size_t fileBytes = 0;

    explicit Fixture(int notes) {
        std::string pattern = (std::filesystem::temp_directory_path() / "bp-bench-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        db = std::make_unique<bp::CNotesDatabase>(fakes.platform());
        db->SetDataFolder(folder);
        db->OpenDatabase(0);
        for (std::int32_t nid : {1, 2, 3}) {
            db->DeleteNote(nid);
        }
        for (int i = 0; i < notes; ++i) {
            const std::int32_t nid = db->NewNote();
            db->SetNoteBody(nid, richBody(i));
            db->SetNoteString(nid, "Note " + std::to_string(i), "title");
        }
        db->SaveDatabase("");
        db->OpenDatabase(0);
        db->SetIndexing(!linearOnly());
        fileBytes = static_cast<std::size_t>(std::filesystem::file_size(db->DatabasePath()));
    }
    ~Fixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

Fixture& fixture(int notes) {
    static std::map<int, std::unique_ptr<Fixture>> all;
    auto& f = all[notes];
    if (!f) {
        f = std::make_unique<Fixture>(notes);
    }
    return *f;
}

void BM_GetNoteInt(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto& db = *fixture(n).db;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(db.GetNoteInt(1, i % n + 1, "priority"));
        ++i;
    }
}

void BM_SetNoteInt(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto& db = *fixture(n).db;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(db.SetNoteInt(i % n + 1, 100 + (i & 255), "xPos"));
        ++i;
    }
}

void BM_SetNoteBody(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto& db = *fixture(n).db;
    const std::string bodies[2] = {richBody(1), richBody(2)};
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(db.SetNoteBody(i % n + 1, bodies[i & 1]));
        ++i;
    }
}

void BM_NewNote(benchmark::State& state) {
    auto& db = *fixture(static_cast<int>(state.range(0))).db;
    for (auto _ : state) {
        const std::int32_t nid = db.NewNote();
        state.PauseTiming();
        db.DeleteNote(nid);
        state.ResumeTiming();
    }
}

void BM_ListNotes(benchmark::State& state) {
    auto& db = *fixture(static_cast<int>(state.range(0))).db;
    for (auto _ : state) {
        benchmark::DoNotOptimize(db.ListNotes(1));
    }
}

void BM_CountNotesByPriority(benchmark::State& state) {
    auto& db = *fixture(static_cast<int>(state.range(0))).db;
    for (auto _ : state) {
        benchmark::DoNotOptimize(db.CountNotesByPriority(2));
    }
}

void BM_SaveDatabase(benchmark::State& state) {
    auto& f = fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!f.db->SaveDatabase("")) {
            state.SkipWithError("the database was not saved");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.fileBytes));
}

// The same bytes with a plain write and fsync: what the disk allows.
void BM_PlainWriteFsync(benchmark::State& state) {
    auto& f = fixture(static_cast<int>(state.range(0)));
    const std::string bytes = readAll(f.db->DatabasePath());
    const std::string path = f.folder + "/plain.dat";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::fsync(fd);
        ::close(fd);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_OpenDatabase(benchmark::State& state) {
    auto& f = fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!f.db->OpenDatabase(0)) {
            state.SkipWithError("the database did not open");
            break;
        }
    }
    f.db->SetIndexing(!linearOnly());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.fileBytes));
}

#define BP_SIZES Arg(10)->Arg(100)->Arg(1000)
BENCHMARK(BM_GetNoteInt)->BP_SIZES;
BENCHMARK(BM_SetNoteInt)->BP_SIZES;
BENCHMARK(BM_SetNoteBody)->BP_SIZES;
BENCHMARK(BM_NewNote)->BP_SIZES;
BENCHMARK(BM_ListNotes)->BP_SIZES;
BENCHMARK(BM_CountNotesByPriority)->BP_SIZES;
BENCHMARK(BM_SaveDatabase)->BP_SIZES->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWriteFsync)->BP_SIZES->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenDatabase)->BP_SIZES->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
