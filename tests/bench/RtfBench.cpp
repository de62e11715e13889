// The rich-text engine: loading and storing note bodies of 10 KB and 1 MB, bodies that are one
// long line, a note window coming up with such a body, and the note search over 1,000 notes
// with 4 KB bodies.

#include "../support/RecordingOwner.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "platform/fake/FakePlatform.h"
#include "richtext/QtRichTextEngine.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "store/NotesDatabase.h"

#include <QApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

// A body as the note writes it: several fonts, bold and coloured runs, bullets.
std::string formattedBody(std::size_t size) {
    std::string body =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 "
        "Arial;}{\\f1\\fnil\\fcharset0 "
        "Courier New;}}\r\n{\\colortbl "
        ";\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    int i = 0;
    while (body.size() < size - 64) {
        body += "Line " + std::to_string(i) +
                " with \\b bold\\b0 , \\cf1 red\\cf0  and \\f1 mono\\f0  text";
        body += (i % 7 == 0) ? "\\par\r\n{\\pntext\\f0\\'B7\\tab}{\\*"
                               "\\pn\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb\\'B7}}\\fi-200\\li200 "
                             : "\\par\r\n\\pard ";
        ++i;
    }
    body += "\\par\r\n}";
    return body;
}

void BM_LoadBody(benchmark::State& state) {
    const std::string body = formattedBody(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        bp::rtf::loadBody(body, document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_LoadBody)->Arg(10 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

// A body that is one line: one word of the same letter repeated (range(1) 0), or words of four
// letters (1).
std::string oneLineBody(std::size_t size, bool words) {
    std::string body = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\pard\\f0\\fs20 ";
    std::string line(size, 'x');
    if (words) {
        for (std::size_t i = 4; i < line.size(); i += 5) {
            line[i] = ' ';
        }
    }
    return body + line + "\\par\r\n}";
}

void BM_LoadOneLineBody(benchmark::State& state) {
    const std::string body =
        oneLineBody(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        QTextDocument document;
        bp::rtf::loadBody(body, document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_LoadOneLineBody)
    ->ArgsProduct({{1 << 20, 2 << 20, 8 << 20}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A store on the default database in a folder of its own, with the real rich-text engine.
struct BenchStore {
    bp::fake::FakePlatform fakes;
    bp::rtf::QtRichTextEngine engine;
    bp::Platform platform = withEngine(fakes.platform(), engine);
    std::string folder = makeFolder();
    bp::CNotesDatabase store{platform};

    BenchStore() {
        store.SetDataFolder(folder);
        store.OpenDatabase(0);
    }
    ~BenchStore() { std::filesystem::remove_all(folder); }

    static bp::Platform withEngine(bp::Platform platform, bp::rtf::QtRichTextEngine& engine) {
        platform.richText = &engine;
        return platform;
    }
    static std::string makeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "bp-bench-XXXXXX").string();
        return ::mkdtemp(pattern.data());
    }
};

// A note window built from its record and shown, laid out for its size.
void BM_OpenNoteWithOneLineBody(benchmark::State& state) {
    BenchStore bench;
    bp::CNotesDatabase& store = bench.store;
    const std::string body =
        oneLineBody(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
    store.SetNoteBody(1, body);
    bp::test::RecordingOwner owner;
    for (auto _ : state) {
        bp::CNote note(bench.platform, store, owner, 1);
        note.CreateFromRecord();
        note.ShowNote(true);
        QApplication::processEvents();
        benchmark::DoNotOptimize(note.body()->textLength());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_OpenNoteWithOneLineBody)
    ->ArgsProduct({{1 << 20, 2 << 20}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_StoreBody(benchmark::State& state) {
    QTextDocument document;
    bp::rtf::loadBody(formattedBody(static_cast<std::size_t>(state.range(0))), document);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string out = bp::rtf::writeRtf(document);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_StoreBody)->Arg(10 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

void BM_SearchNotes(benchmark::State& state) {
    BenchStore bench;
    bp::CNotesDatabase& store = bench.store;
    for (int i = 3; i < state.range(0); ++i) {
        store.NewNote();
    }
    const std::string body = formattedBody(4096);
    for (std::int32_t nid : store.ListNotes(1)) {
        store.SetNoteBody(nid, body);
    }
    // The word is in no note, so every body and title is rendered and searched.
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            store.SearchNotes(-1, "search_in_notes search_in_titles all_notes", "zebra"));
    }
}
BENCHMARK(BM_SearchNotes)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
