// The Notes Manager with many notes: opening it (list read and drawn), a refresh, and a sort
// by each column, on an offscreen display. Prints the median of several runs in milliseconds.
//
// usage: manager_bench [NOTES] [RUNS]
#include "../support/RecordingOwner.h"
#include "manage/NoteListView.h"
#include "manage/NotesManagerWindow.h"
#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename F>
double timeMs(F&& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    QCoreApplication::processEvents();  // the list is drawn
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int notes = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;

    bp::fake::FakePlatform fakes;
    bp::CNotesDatabase store(fakes.platform());
    const auto folder = std::filesystem::temp_directory_path() / "bp-manager-bench";
    std::filesystem::create_directories(folder);
    store.InitDatabase();
    store.SetDataFolder(folder.string());
    store.OpenDatabase(0);
    std::mt19937 random(7);
    while (store.ListNotes(bp::kLiveSource).size() < static_cast<std::size_t>(notes)) {
        const std::int32_t nid = store.NewNote();
        store.SetNote(nid, "Note " + std::to_string(random() % 100000), bp::note::title);
        store.SetNote(nid, static_cast<std::uint32_t>(1600000000 + random() % 100000000),
                      bp::note::time);
        store.SetNote(nid, static_cast<int>(random() % 3), bp::note::priority);
        store.SetNote(nid, static_cast<int>(random() % 2), bp::note::isClosed);
        store.SetNote(nid, static_cast<std::uint32_t>(1700000000 + random() % 1000000),
                      bp::note::remindTime);
        store.SetNote(nid, static_cast<int>(random() % 2), bp::note::isReminder);
    }

    bp::test::RecordingOwner owner;
    std::vector<double> open, refresh;
    std::vector<std::vector<double>> sorts(6);
    for (int run = 0; run < runs; ++run) {
        std::unique_ptr<bp::NotesManagerWindow> manager;
        open.push_back(timeMs([&] {
            manager = std::make_unique<bp::NotesManagerWindow>(fakes.platform(), store, owner);
            manager->show();
        }));
        refresh.push_back(timeMs([&] { manager->refreshList(); }));
        for (int column = 0; column < 6; ++column) {
            sorts[static_cast<std::size_t>(column)].push_back(
                timeMs([&] { manager->sortByColumn(column); }));
        }
    }
    // For comparison: the same order with the keys read from the store inside every
    // comparison, as a sort that keeps no keys does.
    std::vector<double> perComparison;
    for (int run = 0; run < runs; ++run) {
        bp::IdList nids = store.ListNotes(bp::kLiveSource);
        perComparison.push_back(timeMs([&] {
            std::stable_sort(nids.begin(), nids.end(), [&](std::int32_t a, std::int32_t b) {
                return store.GetNote(bp::kLiveSource, b, bp::note::title)
                           .compare(store.GetNote(bp::kLiveSource, a, bp::note::title)) > 0;
            });
        }));
    }
    std::printf("| %d notes, median of %d runs | ms |\n|---|---|\n", notes, runs);
    std::printf("| open (read, fill, draw) | %.1f |\n", median(open));
    std::printf("| refresh | %.1f |\n", median(refresh));
    const char* names[] = {"N", "Title", "Created", "Priority", "State", "Alarm"};
    for (int column = 0; column < 6; ++column) {
        std::printf("| sort by %s | %.1f |\n", names[column],
                    median(sorts[static_cast<std::size_t>(column)]));
    }
    std::printf("| sort by Title, keys read in every comparison (no list) | %.1f |\n",
                median(perComparison));
    std::filesystem::remove_all(folder);
    return 0;
}
