#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <string>

namespace bp {

class INoteScripting;
struct NoteSummary;

// A script's request as it comes over the command socket, a JSON object naming its verb:
//   {"verb": "new", "title": T, "text": X}       -> {"result": {"id": ID}}
//     (without a title, or with a blank one, the note gets the title new notes get, else the
//     first line of a plain text, else "Note")
//   {"verb": "list"}, {"verb": "find", "query": Q} -> {"result": [summary, ...]}
//   {"verb": "show"|"hide"|"toggle", "note": N}  -> {"result": {"id": ID}}
//   {"verb": "cat", "note": N}                   -> {"result": {"id": ID, "title": T, "text": X}}
// where N is a note's id or title, and a summary is {"id", "title", "state", "alarm"} (alarm:
// when it rings next, "YYYY-MM-DDTHH:MM:SSZ", or null). Whatever is refused is answered
// {"error": {"kind": K, "message": M}}, K one of "unknown-note", "bad-argument", "not-now",
// "bad-request"; the message is for the user as it stands.
class ScriptRequests {
public:
    // defaultTitle: the title a new note gets where the request names none.
    explicit ScriptRequests(INoteScripting& notes, std::function<std::string()> defaultTitle = {})
        : notes_(notes), defaultTitle_(std::move(defaultTitle)) {}

    QByteArray answer(const QByteArray& request);

    static QJsonObject summaryObject(const NoteSummary& summary);

private:
    QJsonObject carryOut(const QJsonObject& request);
    std::string titleOfNewNote(const QString& asked, const std::string& text) const;

    INoteScripting& notes_;
    std::function<std::string()> defaultTitle_;
};

}  // namespace bp
