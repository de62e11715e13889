#include "ScriptVerbs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace bp {

namespace {

bool isOneOf(const std::string& word, std::initializer_list<const char*> words) {
    for (const char* w : words) {
        if (word == w) {
            return true;
        }
    }
    return false;
}

// Titles go on one line of a tab-separated listing.
std::string oneField(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

std::string utf8(const QJsonValue& value) {
    return value.toString().toStdString();
}

std::string listing(const QJsonArray& notes) {
    std::string out;
    for (const auto& note : notes) {
        const QJsonObject fields = note.toObject();
        out += utf8(fields.value("id")) + '\t' + oneField(utf8(fields.value("title"))) + '\t' +
               utf8(fields.value("state")) + '\n';
    }
    return out;
}

VerbOutcome refused(const std::string& message) {
    return {1, {}, "brightpost: " + message + "\n"};
}

}  // namespace

bool ScriptVerb::changesNotes() const {
    return isOneOf(verb, {"new", "show", "hide", "toggle"});
}

QByteArray ScriptVerb::request() const {
    QJsonObject request{{"verb", QString::fromStdString(verb)}};
    if (verb == "new") {
        request.insert("title", QString::fromStdString(title));
        request.insert("text", QString::fromStdString(text));
    } else if (verb == "find") {
        request.insert("query", QString::fromStdString(query));
    } else if (verb != "list") {
        request.insert("note", QString::fromStdString(note));
    }
    return QJsonDocument(request).toJson(QJsonDocument::Compact);
}

ScriptVerb parseScriptVerb(const std::string& verb, const std::vector<std::string>& arguments) {
    ScriptVerb parsed;
    parsed.verb = verb;
    const bool takesJson = isOneOf(verb, {"list", "find"});
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        // "-" alone is an operand (standard input); "--" ends the options, so that a note's
        // title or text may begin with a dash.
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            return parsed;
        } else if (takesJson && arg == "--json") {
            parsed.json = true;
        } else if (verb == "new" && arg == "--title") {
            if (i + 1 >= arguments.size()) {
                parsed.error = "--title needs a title";
                return parsed;
            }
            parsed.title = arguments[++i];
        } else if (verb == "new" && arg.starts_with("--title=")) {
            parsed.title = arg.substr(8);
        } else {
            parsed.error = verb;
            parsed.error += ": unknown option: ";
            parsed.error += arg;
            return parsed;
        }
    }

    if (verb == "new") {
        if (operands.size() > 1) {
            parsed.error = "new takes one text (quote it, or give - to read standard input)";
        } else if (!operands.empty()) {
            parsed.textFromStandardInput = operands[0] == "-" && !optionsEnded;
            if (!parsed.textFromStandardInput) {
                parsed.text = operands[0];
            }
        }
    } else if (verb == "list") {
        if (!operands.empty()) {
            parsed.error = "list takes no arguments";
        }
    } else if (operands.size() != 1) {
        parsed.error = verb + (verb == "find" ? " needs one search text"
                                              : " needs one note (its id or title)");
    } else if (verb == "find") {
        parsed.query = operands[0];
    } else {
        parsed.note = operands[0];
    }
    return parsed;
}

VerbOutcome verbOutcome(const ScriptVerb& verb, const QByteArray& answer) {
    const QJsonObject document = QJsonDocument::fromJson(answer).object();
    if (document.contains("error")) {
        const std::string message = utf8(document.value("error").toObject().value("message"));
        return refused(message.empty() ? "the request was refused" : message);
    }
    if (!document.contains("result")) {
        return refused("the answer was not understood");
    }
    const QJsonValue result = document.value("result");
    if (isOneOf(verb.verb, {"list", "find"})) {
        if (verb.json) {
            return {0,
                    QJsonDocument(result.toArray()).toJson(QJsonDocument::Indented).toStdString(),
                    {}};
        }
        return {0, listing(result.toArray()), {}};
    }
    if (verb.verb == "new") {
        return {0, utf8(result.toObject().value("id")) + '\n', {}};
    }
    if (verb.verb == "cat") {
        std::string text = utf8(result.toObject().value("text"));
        if (!text.empty() && !text.ends_with('\n')) {
            text += '\n';
        }
        return {0, text, {}};
    }
    return {};
}

}  // namespace bp
