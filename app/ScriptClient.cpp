#include "ScriptClient.h"

#include "ScriptVerbs.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "platform/qt/SingleInstance.h"
#include "richtext/QtRichTextEngine.h"
#include "scripting/NoteDirectory.h"
#include "scripting/ScriptRequests.h"
#include "scripting/StoredNoteScripting.h"
#include "store/DatabaseFile.h"
#include "store/NotesDatabase.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace bp {

namespace {

// As much as a script's request may carry over the command socket.
constexpr std::size_t kMaxStandardInput = 8u << 20;

// The store asks the desktop only where it places a new note, which a reading never makes.
class NoDesktop : public IDesktop {
public:
    Rect screenRect() const override { return {0, 0, 1920, 1080}; }
    Rect availableRect() const override { return screenRect(); }
    Point cursorPos() const override { return {}; }
    Rect workAreaAtPointer() const override { return screenRect(); }
};

// A script reads standard error for the command's own message; Qt's notes about the
// environment (no runtime folder, fonts) are not for it.
void keepSeriousQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "brightpost: %s\n", qPrintable(text));
    }
}

int finish(const VerbOutcome& outcome) {
    std::fputs(outcome.out.c_str(), stdout);
    std::fputs(outcome.err.c_str(), stderr);
    return outcome.exitCode;
}

int refuse(const std::string& message) {
    return finish({1, {}, "brightpost: " + message + "\n"});
}

// False when there is more than a request may carry.
bool readStandardInput(std::string& text) {
    char chunk[65536];
    while (const std::size_t got = std::fread(chunk, 1, sizeof chunk, stdin)) {
        text.append(chunk, got);
        if (text.size() > kMaxStandardInput) {
            return false;
        }
    }
    // As the shell's command substitution does: a text piped in ends with a line end that is
    // not a line of the note.
    if (text.ends_with('\n')) {
        text.pop_back();
    }
    return true;
}

// The answer as the running copy would give it, from the database file alone.
int answerFromFile(const ScriptVerb& verb, const std::string& dataFolder) {
    const std::string file = dataFolder + "/Brightpost.dat";
    // Opening a missing file would make the default database; a reading must not.
    if (!dbfile::fileExists(file)) {
        return refuse("Brightpost is not running and there is no notes database in \"" +
                      dataFolder + "\".");
    }
    SystemClock clock;
    NoDesktop desktop;
    rtf::QtRichTextEngine richText;
    CNotesDatabase store(StoreServices{&clock, &desktop, &richText});
    std::string problems;
    store.SetProblemSink([&problems](const StoreProblem& problem) {
        problems += (problems.empty() ? "" : " ") + problem.text;
    });
    store.SetDatabasePath(file);
    if (!store.OpenDatabase(kOpenReporting)) {
        return refuse("cannot read the notes database \"" + file + "\": " + problems);
    }
    NoteDirectory directory(store, &richText);
    StoredNoteScripting notes(directory);
    return finish(verbOutcome(verb, ScriptRequests(notes).answer(verb.request())));
}

}  // namespace

int runScriptVerb(const AppOptions& options, char* programName) {
    ScriptVerb verb = parseScriptVerb(options.verb, options.verbArguments);
    if (options.help || verb.help) {
        std::fputs(appUsage().c_str(), stdout);
        return 0;
    }
    if (verb.error.empty() && !options.actions.empty()) {
        verb.error = "a command takes no actions (--" + options.actions.front() + ")";
    }
    if (!verb.error.empty()) {
        std::fprintf(stderr, "brightpost: %s\nTry \"brightpost --help\".\n", verb.error.c_str());
        return 2;
    }
    if (verb.textFromStandardInput && !readStandardInput(verb.text)) {
        return refuse("the text on standard input is longer than " +
                      std::to_string(kMaxStandardInput) + " bytes.");
    }

    qInstallMessageHandler(&keepSeriousQtMessages);
    // Fonts, which the rich text is read with, need a GUI application; no display is used.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QGuiApplication app(qtArgc, qtArgv);

    const std::string dataFolder = resolveDataFolder(options.dataDir);
    SingleInstance instance(QString::fromStdString(dataFolder),
                            SingleInstance::defaultRuntimeFolder());
    if (!instance.findRunningCopy()) {
        if (verb.changesNotes()) {
            return refuse("Brightpost is not running (start it first).");
        }
        return answerFromFile(verb, dataFolder);
    }
    const SingleInstance::Answer answer = instance.sendScript(verb.request());
    switch (answer.status) {
        case SingleInstance::Answer::Status::Taken:
            return finish(verbOutcome(verb, answer.payload));
        case SingleInstance::Answer::Status::Refused:
            return refuse("the running copy refused the request: " + answer.reason.toStdString());
        case SingleInstance::Answer::Status::NoAnswer:
            break;
    }
    return refuse(
        "the running copy did not answer" +
        (answer.reason.isEmpty() ? std::string(".") : " (" + answer.reason.toStdString() + ")."));
}

}  // namespace bp
