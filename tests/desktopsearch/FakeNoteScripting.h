#pragma once

#include "scripting/NoteScripting.h"

#include <QString>

#include <string>
#include <vector>

namespace bp::test {

// Notes held in a list; find() shows a text in a title or body in any case, as Find does with
// its options as they start. Commands and Find openings are recorded.
class FakeNoteScripting : public INoteScripting {
public:
    struct Note {
        std::string id;
        std::string title;
        std::string text;
        bool inBin = false;
    };
    std::vector<Note> notes;
    std::vector<std::string> commands;  // "show id", "raise id", "alarm id"...
    std::vector<std::string> findsOpened;
    std::vector<std::string> queries;

    void add(std::string id, std::string title, std::string text, bool inBin = false) {
        notes.push_back({std::move(id), std::move(title), std::move(text), inBin});
    }

    const Note* byId(std::string_view id) const {
        for (const Note& note : notes) {
            if (note.id == id) {
                return &note;
            }
        }
        return nullptr;
    }

    static ScriptError unknown() {
        return {ScriptError::Kind::UnknownNote, "There is no such note."};
    }

    ScriptResult<std::string> newNote(const std::string&, const std::string&) override {
        return {std::nullopt, {ScriptError::Kind::NotNow, "not here"}};
    }
    std::vector<NoteSummary> listNotes() override {
        std::vector<NoteSummary> out;
        for (std::size_t i = 0; i < notes.size(); ++i) {
            out.push_back(summaryOf(i));
        }
        return out;
    }
    ScriptResult<NoteSummary> summary(std::string_view id) override {
        for (std::size_t i = 0; i < notes.size(); ++i) {
            if (notes[i].id == id) {
                return {summaryOf(i), {}};
            }
        }
        return {std::nullopt, unknown()};
    }
    ScriptResult<ScriptedNoteText> noteText(std::string_view id) override {
        if (const Note* note = byId(id)) {
            return {ScriptedNoteText{note->title, note->text}, {}};
        }
        return {std::nullopt, unknown()};
    }
    ScriptResult<std::string> resolve(std::string_view idOrTitle) override {
        if (byId(idOrTitle)) {
            return {std::string(idOrTitle), {}};
        }
        return {std::nullopt, unknown()};
    }
    std::optional<ScriptError> command(NoteCommand command, std::string_view id) override {
        if (!byId(id)) {
            return unknown();
        }
        static const char* const words[] = {"show", "hide", "toggle", "raise", "bin", "alarm"};
        commands.push_back(std::string(words[static_cast<int>(command)]) + " " + std::string(id));
        return std::nullopt;
    }
    std::optional<ScriptError> showAll() override { return std::nullopt; }
    std::optional<ScriptError> hideAll() override { return std::nullopt; }
    std::vector<std::string> find(const std::string& query) override {
        queries.push_back(query);
        const QString wanted = QString::fromStdString(query);
        std::vector<std::string> ids;
        for (const Note& note : notes) {
            if (!note.inBin &&
                (QString::fromStdString(note.title).contains(wanted, Qt::CaseInsensitive) ||
                 QString::fromStdString(note.text).contains(wanted, Qt::CaseInsensitive))) {
                ids.push_back(note.id);
            }
        }
        return ids;
    }
    std::optional<ScriptError> openNotesManager() override { return std::nullopt; }
    std::optional<ScriptError> openFind(const std::string& terms) override {
        findsOpened.push_back(terms);
        return std::nullopt;
    }
    void setListener(INoteScriptingListener*) override {}

private:
    NoteSummary summaryOf(std::size_t index) const {
        NoteSummary summary;
        summary.id = notes[index].id;
        summary.nid = static_cast<std::int32_t>(index + 1);
        summary.title = notes[index].title;
        summary.state = notes[index].inBin ? ScriptedNoteState::InBin : ScriptedNoteState::Visible;
        return summary;
    }
};

}  // namespace bp::test
