#include "app/AppOptions.h"
#include "app/ScriptVerbs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using bp::parseScriptVerb;
using bp::ScriptVerb;

QJsonObject requestOf(const ScriptVerb& verb) {
    return QJsonDocument::fromJson(verb.request()).object();
}

TEST(ScriptVerbs, TheVerbComesAfterTheOptionsAndKeepsItsOwnWords) {
    const bp::AppOptions options =
        bp::parseAppOptions({"--data-dir", "/d", "new", "--title", "T", "--save", "-"});
    EXPECT_TRUE(options.error.empty());
    EXPECT_EQ(options.dataDir, "/d");
    EXPECT_EQ(options.verb, "new");
    EXPECT_EQ(options.verbArguments, (std::vector<std::string>{"--title", "T", "--save", "-"}));
    EXPECT_TRUE(options.actions.empty());
    // A word that is neither an option nor a verb is not taken for anything.
    EXPECT_EQ(bp::parseAppOptions({"lsit"}).error, "unknown command: lsit");
    // The help names every verb.
    for (const char* verb : {"new ", "list ", "find ", "show ", "hide ", "toggle ", "cat "}) {
        EXPECT_NE(bp::appUsage().find(std::string("  ") + verb), std::string::npos) << verb;
    }
}

TEST(ScriptVerbs, WordsBecomeRequests) {
    struct Case {
        std::string verb;
        std::vector<std::string> words;
        QJsonObject request;
        bool json = false;
        bool fromStandardInput = false;
    };
    const Case cases[] = {
        {"new", {}, {{"verb", "new"}, {"title", ""}, {"text", ""}}},
        {"new",
         {"--title", "Shopping", "milk"},
         {{"verb", "new"}, {"title", "Shopping"}, {"text", "milk"}}},
        {"new",
         {"--title=A b", "-"},
         {{"verb", "new"}, {"title", "A b"}, {"text", ""}},
         false,
         true},
        // After "--" a dash is text.
        {"new", {"--", "-"}, {{"verb", "new"}, {"title", ""}, {"text", "-"}}},
        {"new", {"--", "--title"}, {{"verb", "new"}, {"title", ""}, {"text", "--title"}}},
        {"list", {}, {{"verb", "list"}}},
        {"list", {"--json"}, {{"verb", "list"}}, true},
        {"find", {"--json", "milk"}, {{"verb", "find"}, {"query", "milk"}}, true},
        {"find", {"--", "-x"}, {{"verb", "find"}, {"query", "-x"}}},
        {"show", {"Shopping"}, {{"verb", "show"}, {"note", "Shopping"}}},
        {"hide", {"n-1"}, {{"verb", "hide"}, {"note", "n-1"}}},
        {"toggle", {"my note"}, {{"verb", "toggle"}, {"note", "my note"}}},
        {"cat", {"Shopping"}, {{"verb", "cat"}, {"note", "Shopping"}}},
    };
    for (const Case& c : cases) {
        const ScriptVerb verb = parseScriptVerb(c.verb, c.words);
        SCOPED_TRACE(c.verb + " " + std::to_string(c.words.size()));
        EXPECT_EQ(verb.error, "");
        EXPECT_EQ(requestOf(verb), c.request);
        EXPECT_EQ(verb.json, c.json);
        EXPECT_EQ(verb.textFromStandardInput, c.fromStandardInput);
    }
    EXPECT_TRUE(parseScriptVerb("new", {}).changesNotes());
    EXPECT_TRUE(parseScriptVerb("toggle", {"x"}).changesNotes());
    EXPECT_FALSE(parseScriptVerb("cat", {"x"}).changesNotes());
    EXPECT_TRUE(parseScriptVerb("cat", {"--help"}).help);
}

TEST(ScriptVerbs, WordsThatDoNotFitTheVerbAreBadUsage) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> bad = {
        {"new", {"one", "two"}},      {"new", {"--title"}},
        {"new", {"--json"}},          {"list", {"x"}},
        {"list", {"--all"}},          {"find", {}},
        {"find", {"a", "b"}},         {"show", {}},
        {"hide", {"a", "b"}},         {"cat", {"--json", "x"}},
        {"toggle", {"--title", "x"}},
    };
    for (const auto& [verb, words] : bad) {
        EXPECT_FALSE(parseScriptVerb(verb, words).error.empty()) << verb << " " << words.size();
    }
}

TEST(ScriptVerbs, AnswersArePrintedForPeopleOrScripts) {
    const QByteArray listed =
        R"({"result":[{"id":"a1","title":"Shop\tping\nlist","state":"visible","alarm":null},)"
        R"({"id":"b2","title":"","state":"in-bin","alarm":"2026-12-11T15:00:00Z"}]})";
    EXPECT_EQ(bp::verbOutcome(parseScriptVerb("list", {}), listed).out,
              "a1\tShop ping list\tvisible\nb2\t\tin-bin\n");
    const bp::VerbOutcome json = bp::verbOutcome(parseScriptVerb("find", {"--json", "x"}), listed);
    EXPECT_EQ(json.exitCode, 0);
    const QJsonDocument printed = QJsonDocument::fromJson(QByteArray::fromStdString(json.out));
    ASSERT_TRUE(printed.isArray());
    EXPECT_EQ(printed.array().at(1).toObject().value("alarm").toString(), "2026-12-11T15:00:00Z");

    EXPECT_EQ(bp::verbOutcome(parseScriptVerb("new", {}), R"({"result":{"id":"c3"}})").out, "c3\n");
    EXPECT_EQ(bp::verbOutcome(parseScriptVerb("cat", {"x"}),
                              R"({"result":{"id":"c3","title":"T","text":"one\ntwo"}})")
                  .out,
              "one\ntwo\n");
    const bp::VerbOutcome shown =
        bp::verbOutcome(parseScriptVerb("show", {"x"}), R"({"result":{"id":"c3"}})");
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_EQ(shown.out + shown.err, "");

    const bp::VerbOutcome unknown =
        bp::verbOutcome(parseScriptVerb("show", {"x"}),
                        R"({"error":{"kind":"unknown-note","message":"There is no note \"x\"."}})");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err, "brightpost: There is no note \"x\".\n");
    EXPECT_EQ(bp::verbOutcome(parseScriptVerb("list", {}), "not json").exitCode, 1);
}

}  // namespace
