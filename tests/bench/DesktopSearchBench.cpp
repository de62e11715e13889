// The desktop's search over 1,000 notes of 4 KB formatted text, as the shell and the launcher
// ask it: the notes showing the terms and the rows of the first few, through the running
// copy's scripting on the real store and rich-text engine. A shell asks again on every key.

#include "desktopsearch/LauncherRunner.h"
#include "desktopsearch/ShellSearchProvider.h"
#include "platform/fake/FakePlatform.h"
#include "richtext/CachingRichTextEngine.h"
#include "richtext/QtRichTextEngine.h"
#include "scripting/NoteDirectory.h"
#include "scripting/ScriptedWindows.h"
#include "scripting/ScriptingService.h"
#include "store/NotesDatabase.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

// A body as the note writes it: fonts, bold and coloured runs, bullets; `word` in the middle.
std::string formattedBody(std::size_t size, const std::string& word) {
    std::string body =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 "
        "Arial;}{\\f1\\fnil\\fcharset0 Courier New;}}\r\n{\\colortbl "
        ";\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 Shopping list " +
        word + "\\par\r\n";
    int i = 0;
    while (body.size() < size - 64) {
        body += "Line " + std::to_string(i) +
                " with \\b bold\\b0 , \\cf1 red\\cf0  and \\f1 mono\\f0  text";
        body += (i % 7 == 0) ? "\\par\r\n{\\pntext\\f0\\'B7\\tab}{\\*"
                               "\\pn\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb\\'B7}}\\fi-200\\li200 "
                             : "\\par\r\n\\pard ";
        ++i;
    }
    return body + "\\par\r\n}";
}

// The windows a script would reach: none here, the search opens nothing.
class NoWindows : public bp::IScriptedWindows {
public:
    bool takesScripts() const override { return true; }
    std::optional<std::int32_t> createNote(const std::string&, const std::string&, bool) override {
        return std::nullopt;
    }
    void showNote(std::int32_t) override {}
    void hideNote(std::int32_t) override {}
    void raiseNote(std::int32_t) override {}
    void moveNoteToBin(std::int32_t) override {}
    void openAlarmDialog(std::int32_t) override {}
    void showAllNotes() override {}
    void hideAllNotes() override {}
    void openNotesManager() override {}
    void openFind(const std::string&) override {}
    void idsStored() override {}
};

// 1,000 notes, every 50th with "zebra" in its first line, in a folder of their own; rendered
// each time by the plain engine, or kept by the program's caching one.
struct SearchBench {
    bp::fake::FakePlatform fakes;
    bp::rtf::QtRichTextEngine plainEngine;
    bp::rtf::CachingRichTextEngine cachingEngine;
    bp::IRichTextEngine& engine;
    bp::Platform platform;
    std::string folder = makeFolder();
    bp::CNotesDatabase store{platform};
    bp::NoteDirectory directory{store, &engine};
    NoWindows windows;
    bp::ScriptingService scripting{directory, windows};

    SearchBench(int count, bool caching)
        : engine(caching ? static_cast<bp::IRichTextEngine&>(cachingEngine) : plainEngine),
          platform(withEngine(fakes.platform(), engine)) {
        store.SetDataFolder(folder);
        store.OpenDatabase(0);
        for (int i = 3; i < count; ++i) {
            store.NewNote();
        }
        int i = 0;
        for (std::int32_t nid : store.ListNotes(1)) {
            store.SetNoteBody(nid, formattedBody(4096, i++ % 50 == 0 ? "zebra" : "apples"));
        }
    }
    ~SearchBench() { std::filesystem::remove_all(folder); }

    static bp::Platform withEngine(bp::Platform platform, bp::IRichTextEngine& engine) {
        platform.richText = &engine;
        return platform;
    }
    static std::string makeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "bp-bench-XXXXXX").string();
        return ::mkdtemp(pattern.data());
    }
};

// The shell's first question and the rows it shows (five). Arguments: notes, terms, caching.
void BM_ShellInitialSearch(benchmark::State& state) {
    SearchBench bench(static_cast<int>(state.range(0)), state.range(2) != 0);
    bp::ShellSearchProvider provider(bench.scripting);
    const QStringList terms =
        state.range(1) == 1 ? QStringList{"zebra"} : QStringList{"shopping", "zebra"};
    for (auto _ : state) {
        const QStringList ids = provider.GetInitialResultSet(terms);
        benchmark::DoNotOptimize(provider.GetResultMetas(ids.mid(0, 5)));
    }
}
BENCHMARK(BM_ShellInitialSearch)
    ->ArgsProduct({{1000}, {1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The launcher's question, with the rows of every note found (20 of 1,000). Arguments: notes,
// caching.
void BM_LauncherMatch(benchmark::State& state) {
    SearchBench bench(static_cast<int>(state.range(0)), state.range(1) != 0);
    bp::LauncherRunner runner(bench.scripting);
    for (auto _ : state) {
        benchmark::DoNotOptimize(runner.Match(QStringLiteral("zebra")));
    }
}
BENCHMARK(BM_LauncherMatch)->ArgsProduct({{1000}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
