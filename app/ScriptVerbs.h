#pragma once

#include <QByteArray>

#include <string>
#include <vector>

namespace bp {

// A command of the command line for scripts, its words understood: what to ask the running
// copy (or the database file) and how to print the answer.
struct ScriptVerb {
    std::string verb;  // "new", "list", "show", "hide", "toggle", "find", "cat"
    std::string title;
    std::string text;
    bool textFromStandardInput = false;
    std::string note;  // an id or a title
    std::string query;
    bool json = false;
    bool help = false;
    std::string error;  // not empty when the words could not be understood

    // Only the running copy may carry these out.
    bool changesNotes() const;
    // The request as ScriptRequests takes it.
    QByteArray request() const;
};

ScriptVerb parseScriptVerb(const std::string& verb, const std::vector<std::string>& arguments);

// What the command prints and its exit status.
struct VerbOutcome {
    int exitCode = 0;
    std::string out;
    std::string err;
};

// The answer ScriptRequests gave, printed as the verb prints it.
VerbOutcome verbOutcome(const ScriptVerb& verb, const QByteArray& answer);

}  // namespace bp
