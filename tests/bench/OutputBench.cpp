// A note leaving the program: GIF pictures of flat notes and of a screen's worth of many
// colours, and printing a long note to PDF.

#include "../support/RecordingOwner.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "output/GifWriter.h"
#include "output/NoteOutput.h"
#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// A note's picture: flat title and body colours with some antialiased text.
QImage notePicture(int width, int height, bool gradient) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    if (gradient) {
        QLinearGradient fill(0, 0, width, height);
        fill.setColorAt(0, Qt::red);
        fill.setColorAt(0.5, Qt::green);
        fill.setColorAt(1, Qt::blue);
        painter.fillRect(image.rect(), fill);
    } else {
        painter.fillRect(image.rect(), QColor(255, 255, 128));
        painter.fillRect(0, 0, width, 16, QColor(255, 200, 0));
    }
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int y = 30; y < height; y += 18) {
        painter.drawText(8, y, QStringLiteral("Buy milk, call the plumber, water the plants"));
    }
    return image;
}

void BM_EncodeGif(benchmark::State& state) {
    const bool manyColours = state.range(0) != 0;
    const QImage image = manyColours ? notePicture(1280, 800, true) : notePicture(250, 175, false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(bp::encodeGif(image));
    }
    state.SetLabel(manyColours ? "1280x800 gradient" : "250x175 note");
}
BENCHMARK(BM_EncodeGif)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

std::string readAll(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string bytes;
    if (file != nullptr) {
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            bytes.append(buffer, n);
        }
        std::fclose(file);
    }
    return bytes;
}

void BM_PrintLongNote(benchmark::State& state) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / "bp-output-bench").string();
    std::filesystem::create_directories(folder);
    bp::fake::FakePlatform fakes;
    bp::CNotesDatabase store(fakes.platform());
    store.SetDataFolder(folder);
    store.OpenDatabase(0);
    bp::test::RecordingOwner owner;
    bp::CNote note(fakes.platform(), store, owner, 1);
    note.CreateFromRecord();
    QStringList lines;
    for (int i = 0; i < state.range(0); ++i) {
        lines << QStringLiteral("line %1 of a long shopping list").arg(i);
    }
    note.body()->setPlainText(lines.join('\n'));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(folder + "/long.pdf"));
        if (bp::CNoteOutput(note).PrintTo(printer) != bp::PrintResult::Done) {
            state.SkipWithError("the print failed");
            break;
        }
    }
    // Page objects, without the page tree.
    const std::string pdf = readAll(folder + "/long.pdf");
    std::size_t pages = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1)) {
        pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    }
    state.counters["pages"] = static_cast<double>(pages);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PrintLongNote)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
