// Keystroke latency while the database saves: keys are posted to a note body at a steady
// typing rate and the time until the body has taken each one is measured, with a database of
// about 5 MB on the real disk. Three ways are compared: no saves at all, the saves that follow
// edits (written on their own thread), and the same saves written on the GUI thread.
//
// usage: typing_bench [SECONDS] [FOLDER]   (FOLDER must be on a real disk, not a tmpfs)
#include "app/AutoSaver.h"
#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kKeyIntervalMs = 40;  // 25 keys a second, a fast typist
constexpr int kNotes = 100;
constexpr std::size_t kBodyBytes = 50000;

enum class Mode { NoSaves, Background, OnGuiThread };

struct Figures {
    std::vector<double> latenciesMs;
    int saves = 0;
};

double percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

void fillStore(bp::CNotesDatabase& store) {
    const std::string body = "{\\rtf1 " + std::string(kBodyBytes, 'x') + "}";
    while (store.ListNotes(1).size() < static_cast<std::size_t>(kNotes)) {
        store.SetNoteBody(store.NewNote(), body);
    }
    store.SaveDatabase("");
}

Figures run(Mode mode, const std::string& folder, int seconds) {
    bp::fake::FakePlatform fakes;
    bp::CNotesDatabase store(fakes.platform());
    store.SetDataFolder(folder);
    std::filesystem::remove(folder + "/Brightpost.dat");
    store.OpenDatabase(0);
    fillStore(store);

    QTextEdit body;
    body.resize(250, 175);
    body.show();
    std::unique_ptr<bp::AutoSaver> saver;
    Figures figures;
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> posted;
    std::size_t taken = 0;
    auto storeBody = [&] {
        store.SetNoteBody(1, "{\\rtf1 " + body.toPlainText().toStdString() + "}");
    };
    if (mode == Mode::Background) {
        bp::AutoSaver::Hooks hooks;
        hooks.storeEdits = storeBody;
        saver = std::make_unique<bp::AutoSaver>(store, std::move(hooks));
        QObject::connect(body.document(), &QTextDocument::contentsChanged, saver.get(),
                         &bp::AutoSaver::changed);
    }
    // The same schedule, but the file is written where the timer fires: on the GUI thread.
    bp::SaveSchedule schedule;
    QTimer guiSave;
    guiSave.setSingleShot(true);
    QObject::connect(&guiSave, &QTimer::timeout, [&] {
        storeBody();
        schedule.saveStarted();
        if (store.SaveChanges().written) {
            ++figures.saves;
        }
    });
    QObject::connect(body.document(), &QTextDocument::contentsChanged, [&] {
        if (taken < posted.size()) {
            figures.latenciesMs.push_back(
                static_cast<double>(clock.nsecsElapsed() / 1000 - posted[taken]) / 1000.0);
            ++taken;
        }
        if (mode == Mode::OnGuiThread) {
            const qint64 due = schedule.changed(clock.elapsed());
            guiSave.start(static_cast<int>(std::max<qint64>(0, due - clock.elapsed())));
        }
    });

    QTimer typist;
    typist.setTimerType(Qt::PreciseTimer);
    QObject::connect(&typist, &QTimer::timeout, [&] {
        posted.push_back(clock.nsecsElapsed() / 1000);
        QCoreApplication::postEvent(
            &body, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    });
    body.setFocus();
    typist.start(kKeyIntervalMs);
    QTimer::singleShot(seconds * 1000, [&] {
        typist.stop();
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    if (saver) {
        saver->finish();
        figures.saves = saver->savesWritten();
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 30;
    const std::string folder =
        argc > 2 ? argv[2] : (std::filesystem::current_path() / "typing-bench-data").string();
    std::filesystem::create_directories(folder);
    std::printf("%d s of typing, a key every %d ms, database of %d notes x %zu bytes\n", seconds,
                kKeyIntervalMs, kNotes, kBodyBytes);
    std::printf("| saves | keys | median ms | p99 ms | max ms | saves per minute |\n");
    std::printf("|---|---|---|---|---|---|\n");
    const std::pair<Mode, const char*> modes[] = {{Mode::NoSaves, "none"},
                                                  {Mode::Background, "own thread (built)"},
                                                  {Mode::OnGuiThread, "GUI thread"}};
    for (const auto& [mode, name] : modes) {
        const Figures f = run(mode, folder, seconds);
        std::printf("| %s | %zu | %.2f | %.2f | %.2f | %.1f |\n", name, f.latenciesMs.size(),
                    percentile(f.latenciesMs, 0.5), percentile(f.latenciesMs, 0.99),
                    percentile(f.latenciesMs, 1.0), f.saves * 60.0 / seconds);
        std::fflush(stdout);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
