// The rich-text engine: loading and storing note bodies of 10 KB and 1 MB, and the note search
// over 1,000 notes with 4 KB bodies.

#include "platform/fake/FakePlatform.h"
#include "platform/rtf/QtRichTextEngine.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "store/NotesDatabase.h"

#include <QGuiApplication>
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
    bp::fake::FakePlatform fakes;
    bp::rtf::QtRichTextEngine engine;
    bp::Platform platform = fakes.platform();
    platform.richText = &engine;
    std::string pattern = (std::filesystem::temp_directory_path() / "bp-bench-XXXXXX").string();
    const std::string folder = ::mkdtemp(pattern.data());
    bp::CNotesDatabase store(platform);
    store.SetDataFolder(folder);
    store.OpenDatabase(0);
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
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SearchNotes)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
