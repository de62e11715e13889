// How the alarm's "Open" text becomes a program started directly or a document for the opener.

#include "alarm/ProgramLaunch.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace bp {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, QuotesAsAShellWouldWithoutExpandingAnything) {
    const std::pair<const char*, Words> cases[] = {
        {"", {}},
        {"  prog  -a   b ", {"prog", "-a", "b"}},
        {"'/home/u/my script.sh' \"hello world\"", {"/home/u/my script.sh", "hello world"}},
        {R"(my\ script.sh a\\b)", {"my script.sh", R"(a\b)"}},
        {R"("say \"hi\" \$HOME \n")", {R"(say "hi" $HOME \n)"}},
        {"'it''s' ''", {"its", ""}},
        {"$HOME `id` ; rm -rf * | x", {"$HOME", "`id`", ";", "rm", "-rf", "*", "|", "x"}},
        {"a'b c'd", {"ab cd"}},
    };
    for (const auto& [text, words] : cases) {
        SCOPED_TRACE(text);
        const auto split = SplitCommandLine(text);
        ASSERT_TRUE(split.has_value());
        EXPECT_EQ(*split, words);
    }
    for (const char* broken : {"'open", "\"open", "trailing\\", "a \"b\\\""}) {
        EXPECT_FALSE(SplitCommandLine(broken).has_value()) << broken;
    }
}

TEST(SplitCommandLine, AQuotedPathIsOneWordAgain) {
    for (const std::string path :
         {"/usr/bin/true", "/home/u/my script.sh", "/tmp/it's \"odd\" $HOME `x` \\.sh", ""}) {
        SCOPED_TRACE(path);
        const std::string quoted = QuotedForCommandLine(path);
        EXPECT_EQ(quoted == path, path == "/usr/bin/true");
        EXPECT_EQ(SplitCommandLine(quoted + " arg"), (Words{path, "arg"}));
    }
}

class ProgramLaunchTest : public ::testing::Test {
protected:
    ProgramLaunchTest() {
        writeExecutable(folder.file("my script.sh"));
        writeExecutable(folder.file("bin/remind"));
        std::filesystem::create_directory(folder.file("docs"));
        test::writeFile(folder.file("docs/notes.txt"), "text\n");
        test::writeFile(folder.file("bin/not-a-program"), "text\n");
    }
    void writeExecutable(const std::string& path) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        test::writeFile(path, "#!/bin/sh\nexit 0\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    ProgramLaunch choose(const std::string& text) {
        return ChooseProgramLaunch(text, "/no/such/folder::" + folder.file("bin"));
    }
    static ProgramLaunch run(Words command) {
        return {ProgramLaunch::Kind::Run, std::move(command), {}};
    }
    static ProgramLaunch document(std::string target) {
        return {ProgramLaunch::Kind::Document, {}, std::move(target)};
    }
    test::TempFolder folder;
};

TEST_F(ProgramLaunchTest, ExecutablesRunDirectlyAndEverythingElseGoesToTheOpener) {
    const std::string script = folder.file("my script.sh");
    const std::string remind = folder.file("bin/remind");
    const std::string notes = folder.file("docs/notes.txt");
    const std::pair<std::string, ProgramLaunch> cases[] = {
        // As Browse fills it: the whole text is the program, blanks and all.
        {script, run({script})},
        {"  " + script + "\n", run({script})},
        {"'" + script + "' \"good morning\" --loud", run({script, "good morning", "--loud"})},
        {"remind 'at nine'", run({remind, "at nine"})},
        {"remind", run({remind})},
        // Not executable: a document, a folder, an address, an unknown name, as before.
        {notes, document(notes)},
        {"'" + notes + "'", document(notes)},
        {folder.file("docs"), document(folder.file("docs"))},
        {"not-a-program x", document("not-a-program x")},
        {folder.file("bin/not-a-program") + " x",
         document(folder.file("bin/not-a-program") + " x")},
        {"https://example.org/a b", document("https://example.org/a b")},
        {"no-such-program --now", document("no-such-program --now")},
        {"'unclosed", document("'unclosed")},
        {"   ", {}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(choose(text), expected);
    }
}

TEST_F(ProgramLaunchTest, LaunchGoesThroughTheShellAndReportsFailures) {
    fake::FakeShell shell;
    const std::string script = folder.file("my script.sh");
    EXPECT_TRUE(LaunchProgram(shell, "'" + script + "' now"));
    EXPECT_EQ(shell.started, (std::vector<Words>{{script, "now"}}));
    EXPECT_TRUE(shell.opened.empty());

    EXPECT_TRUE(LaunchProgram(shell, folder.file("docs/notes.txt")));
    EXPECT_EQ(shell.opened, (Words{folder.file("docs/notes.txt")}));

    shell.failing = {script};
    EXPECT_FALSE(LaunchProgram(shell, script));
    EXPECT_FALSE(LaunchProgram(shell, ""));
    EXPECT_EQ(shell.started.size(), 2u);
}

}  // namespace
}  // namespace bp
