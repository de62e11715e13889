#include "scripting/NoteScripting.h"
#include "scripting/ScriptRequests.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using bp::NoteCommand;
using bp::NoteSummary;
using bp::ScriptedNoteState;
using bp::ScriptError;
using bp::ScriptResult;

// Two notes by id; records what it was told to do.
class FakeNoteScripting : public bp::INoteScripting {
public:
    FakeNoteScripting() {
        notes_["a1"] = {{"a1", 1, "Shopping", ScriptedNoteState::Visible, 1'797'000'000},
                        "milk\neggs"};
        notes_["b2"] = {{"b2", 2, "Work", ScriptedNoteState::Hidden, std::nullopt}, "report"};
    }

    ScriptResult<std::string> newNote(const std::string& title, const std::string& text) override {
        if (text.size() > 20) {
            return {std::nullopt, {ScriptError::Kind::BadArgument, "The text is too long."}};
        }
        made.push_back(title + "|" + text);
        return {"c3", {}};
    }
    std::vector<NoteSummary> listNotes() override {
        std::vector<NoteSummary> all;
        for (const auto& [id, note] : notes_) {
            all.push_back(note.summary);
        }
        return all;
    }
    ScriptResult<NoteSummary> summary(std::string_view id) override {
        const auto found = notes_.find(std::string(id));
        if (found == notes_.end()) {
            return {std::nullopt, unknown(id)};
        }
        return {found->second.summary, {}};
    }
    ScriptResult<bp::ScriptedNoteText> noteText(std::string_view id) override {
        const auto found = notes_.find(std::string(id));
        if (found == notes_.end()) {
            return {std::nullopt, unknown(id)};
        }
        return {bp::ScriptedNoteText{found->second.summary.title, found->second.text}, {}};
    }
    ScriptResult<std::string> resolve(std::string_view idOrTitle) override {
        for (const auto& [id, note] : notes_) {
            if (id == idOrTitle || note.summary.title == idOrTitle) {
                return {id, {}};
            }
        }
        return {std::nullopt, unknown(idOrTitle)};
    }
    std::optional<ScriptError> command(NoteCommand command, std::string_view id) override {
        if (busy) {
            return ScriptError{ScriptError::Kind::NotNow, "Brightpost is busy."};
        }
        commands.emplace_back(command, std::string(id));
        return std::nullopt;
    }
    std::optional<ScriptError> showAll() override { return std::nullopt; }
    std::optional<ScriptError> hideAll() override { return std::nullopt; }
    std::vector<std::string> find(const std::string& query) override {
        // A hit on a note that is gone by the time it is summed up is left out.
        return query == "e" ? std::vector<std::string>{"a1", "gone", "b2"}
                            : std::vector<std::string>{};
    }
    std::optional<ScriptError> openNotesManager() override { return std::nullopt; }
    std::optional<ScriptError> openFind(const std::string&) override { return std::nullopt; }
    void setListener(bp::INoteScriptingListener*) override {}

    std::vector<std::string> made;
    std::vector<std::pair<NoteCommand, std::string>> commands;
    bool busy = false;

private:
    static ScriptError unknown(std::string_view id) {
        return {ScriptError::Kind::UnknownNote, "There is no note \"" + std::string(id) + "\"."};
    }
    struct Note {
        NoteSummary summary;
        std::string text;
    };
    std::map<std::string, Note> notes_;
};

QJsonObject answerTo(FakeNoteScripting& notes, const QByteArray& request) {
    const QJsonDocument answer = QJsonDocument::fromJson(bp::ScriptRequests(notes).answer(request));
    EXPECT_TRUE(answer.isObject()) << request.constData();
    return answer.object();
}

QJsonObject error(const char* kind, const char* message) {
    return {{"error", QJsonObject{{"kind", kind}, {"message", message}}}};
}

TEST(ScriptRequests, EachVerbAnswersWithItsResultOrWhyNot) {
    const QJsonObject shopping{{"id", "a1"},
                               {"title", "Shopping"},
                               {"state", "visible"},
                               {"alarm", "2026-12-11T14:40:00Z"}};
    const QJsonObject work{
        {"id", "b2"}, {"title", "Work"}, {"state", "hidden"}, {"alarm", QJsonValue::Null}};
    struct Case {
        QByteArray request;
        QJsonObject answer;
    };
    const Case cases[] = {
        {R"({"verb":"list"})", {{"result", QJsonArray{shopping, work}}}},
        {R"({"verb":"find","query":"e"})", {{"result", QJsonArray{shopping, work}}}},
        {R"({"verb":"find","query":"zzz"})", {{"result", QJsonArray{}}}},
        {R"({"verb":"find","query":""})", error("bad-argument", "The search text is empty.")},
        {R"({"verb":"new","title":"T","text":"x"})", {{"result", QJsonObject{{"id", "c3"}}}}},
        {R"({"verb":"new","text":"far too long a text for this fake"})",
         error("bad-argument", "The text is too long.")},
        {R"({"verb":"cat","note":"Work"})",
         {{"result", QJsonObject{{"id", "b2"}, {"title", "Work"}, {"text", "report"}}}}},
        {R"({"verb":"show","note":"a1"})", {{"result", QJsonObject{{"id", "a1"}}}}},
        {R"({"verb":"hide","note":"Shopping"})", {{"result", QJsonObject{{"id", "a1"}}}}},
        {R"({"verb":"toggle","note":"Work"})", {{"result", QJsonObject{{"id", "b2"}}}}},
        {R"({"verb":"cat","note":"Nothing"})",
         error("unknown-note", "There is no note \"Nothing\".")},
        {R"({"verb":"toggle","note":"Nothing"})",
         error("unknown-note", "There is no note \"Nothing\".")},
        // What a script gets wrong.
        {R"({"verb":"show"})", error("bad-request", "show needs a \"note\"")},
        {R"({"verb":"cat","note":7})", error("bad-request", "\"note\" must be text")},
        {R"({"verb":"find"})", error("bad-request", "find needs a \"query\"")},
        {R"({"verb":"erase","note":"a1"})", error("bad-request", "unknown verb \"erase\"")},
        {R"(["list"])", error("bad-request", "the request is not a JSON object")},
        {"{\"verb\":\"li", error("bad-request", "the request is not a JSON object")},
    };
    FakeNoteScripting notes;
    for (const Case& c : cases) {
        EXPECT_EQ(answerTo(notes, c.request), c.answer) << c.request.constData();
    }
    EXPECT_EQ(notes.made, std::vector<std::string>{"T|x"});
    EXPECT_EQ(
        notes.commands,
        (std::vector<std::pair<NoteCommand, std::string>>{
            {NoteCommand::Show, "a1"}, {NoteCommand::Hide, "a1"}, {NoteCommand::Toggle, "b2"}}));
}

TEST(ScriptRequests, ARefusalOfTheRunningCopyIsPassedOn) {
    FakeNoteScripting notes;
    notes.busy = true;
    EXPECT_EQ(answerTo(notes, R"({"verb":"show","note":"a1"})"),
              error("not-now", "Brightpost is busy."));
    EXPECT_TRUE(notes.commands.empty());
}

TEST(ScriptRequests, ANewNoteWithoutATitleGetsTheTitleNewNotesGetElseItsFirstLine) {
    std::string defaultTitle = "11.12.2026";
    FakeNoteScripting notes;
    bp::ScriptRequests requests(notes, [&defaultTitle] { return defaultTitle; });
    requests.answer(R"({"verb":"new","text":"a"})");
    requests.answer(R"({"verb":"new","title":"  ","text":"b"})");
    requests.answer(R"({"verb":"new","title":"Mine","text":"c"})");
    // Untitled is what new notes are by default.
    defaultTitle = " ";
    requests.answer(R"({"verb":"new","text":"\n  first \nsecond"})");
    requests.answer(R"({"verb":"new","text":"{\\rtf1 x}"})");
    requests.answer(R"({"verb":"new"})");
    EXPECT_EQ(notes.made,
              (std::vector<std::string>{"11.12.2026|a", "11.12.2026|b", "Mine|c",
                                        "first|\n  first \nsecond", "Note|{\\rtf1 x}", "Note|"}));
}

}  // namespace
