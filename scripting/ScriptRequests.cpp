#include "ScriptRequests.h"

#include "NoteScripting.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <optional>

namespace bp {

namespace {

QJsonObject failure(const char* kind, const QString& message) {
    return {{"error", QJsonObject{{"kind", QString::fromLatin1(kind)}, {"message", message}}}};
}

QJsonObject failure(const ScriptError& error) {
    const char* kind = "bad-argument";
    switch (error.kind) {
        case ScriptError::Kind::UnknownNote:
            kind = "unknown-note";
            break;
        case ScriptError::Kind::BadArgument:
            kind = "bad-argument";
            break;
        case ScriptError::Kind::NotNow:
            kind = "not-now";
            break;
    }
    return failure(kind, QString::fromStdString(error.message));
}

QJsonObject success(const QJsonValue& result) {
    return {{"result", result}};
}

QJsonObject idObject(const std::string& id) {
    return {{"id", QString::fromStdString(id)}};
}

std::string utf8(const QJsonValue& value) {
    return value.toString().toStdString();
}

std::optional<NoteCommand> windowCommand(const QString& verb) {
    if (verb == QLatin1String("show")) {
        return NoteCommand::Show;
    }
    if (verb == QLatin1String("hide")) {
        return NoteCommand::Hide;
    }
    if (verb == QLatin1String("toggle")) {
        return NoteCommand::Toggle;
    }
    return std::nullopt;
}

}  // namespace

std::string ScriptRequests::titleOfNewNote(const QString& asked, const std::string& text) const {
    if (!asked.trimmed().isEmpty()) {
        return asked.toStdString();
    }
    if (defaultTitle_) {
        if (std::string title = defaultTitle_();
            !QString::fromStdString(title).trimmed().isEmpty()) {
            return title;
        }
    }
    // New notes are untitled by default, but a note needs a title: its first line, as a
    // reader would name it.
    constexpr qsizetype kLongestTitle = 64;
    if (!text.starts_with("{\\rtf")) {
        for (const QString& line : QString::fromStdString(text).split(QLatin1Char('\n'))) {
            if (const QString trimmed = line.trimmed(); !trimmed.isEmpty()) {
                return trimmed.left(kLongestTitle).trimmed().toStdString();
            }
        }
    }
    return "Note";
}

QJsonObject ScriptRequests::summaryObject(const NoteSummary& summary) {
    QJsonValue alarm;
    if (summary.alarmTime) {
        alarm = QDateTime::fromSecsSinceEpoch(*summary.alarmTime, Qt::UTC).toString(Qt::ISODate);
    }
    return {{"id", QString::fromStdString(summary.id)},
            {"title", QString::fromStdString(summary.title)},
            {"state", QString::fromLatin1(stateWord(summary.state))},
            {"alarm", alarm}};
}

QByteArray ScriptRequests::answer(const QByteArray& request) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(request, &error);
    const QJsonObject answer =
        document.isObject()
            ? carryOut(document.object())
            : failure("bad-request", QStringLiteral("the request is not a JSON object"));
    return QJsonDocument(answer).toJson(QJsonDocument::Compact);
}

QJsonObject ScriptRequests::carryOut(const QJsonObject& request) {
    const QString verb = request.value("verb").toString();
    // Every field a verb reads is text; one of another type is the script's mistake.
    for (const char* field : {"title", "text", "note", "query"}) {
        if (request.contains(QLatin1String(field)) && !request.value(field).isString()) {
            return failure("bad-request",
                           QStringLiteral("\"%1\" must be text").arg(QLatin1String(field)));
        }
    }
    const auto required = [&request](const char* field) { return request.value(field).isString(); };

    if (verb == QLatin1String("list")) {
        QJsonArray notes;
        for (const NoteSummary& summary : notes_.listNotes()) {
            notes.append(summaryObject(summary));
        }
        return success(notes);
    }
    if (verb == QLatin1String("find")) {
        if (!required("query")) {
            return failure("bad-request", QStringLiteral("find needs a \"query\""));
        }
        const std::string query = utf8(request.value("query"));
        if (query.empty()) {
            return failure("bad-argument", QStringLiteral("The search text is empty."));
        }
        QJsonArray notes;
        for (const std::string& id : notes_.find(query)) {
            // A note that went away since the search is left out.
            if (const ScriptResult<NoteSummary> summary = notes_.summary(id); summary.ok()) {
                notes.append(summaryObject(*summary.value));
            }
        }
        return success(notes);
    }
    if (verb == QLatin1String("new")) {
        const std::string text = utf8(request.value("text"));
        const ScriptResult<std::string> made =
            notes_.newNote(titleOfNewNote(request.value("title").toString(), text), text);
        return made.ok() ? success(idObject(*made.value)) : failure(made.error);
    }
    const std::optional<NoteCommand> command = windowCommand(verb);
    if (!command && verb != QLatin1String("cat")) {
        return failure("bad-request", QStringLiteral("unknown verb \"%1\"").arg(verb));
    }
    if (!required("note")) {
        return failure("bad-request", QStringLiteral("%1 needs a \"note\"").arg(verb));
    }
    const ScriptResult<std::string> resolved = notes_.resolve(utf8(request.value("note")));
    if (!resolved.ok()) {
        return failure(resolved.error);
    }
    const std::string& id = *resolved.value;
    if (command) {
        const std::optional<ScriptError> refused = notes_.command(*command, id);
        return refused ? failure(*refused) : success(idObject(id));
    }
    const ScriptResult<ScriptedNoteText> text = notes_.noteText(id);
    if (!text.ok()) {
        return failure(text.error);
    }
    QJsonObject result = idObject(id);
    result.insert("title", QString::fromStdString(text.value->title));
    result.insert("text", QString::fromStdString(text.value->text));
    return success(result);
}

}  // namespace bp
