#include "NoteBusService.h"

#include "NoteBusAdaptor.h"

namespace bp {

namespace {

std::string toStd(const QString& text) {
    return text.toStdString();
}

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

// The error names of the replies, by why the request was refused.
QString busErrorName(ScriptError::Kind kind) {
    switch (kind) {
        case ScriptError::Kind::UnknownNote:
            return QStringLiteral("org.brightpost.Brightpost.Error.UnknownNote");
        case ScriptError::Kind::BadArgument:
            return QStringLiteral("org.brightpost.Brightpost.Error.BadArgument");
        case ScriptError::Kind::NotNow:
            return QStringLiteral("org.brightpost.Brightpost.Error.NotNow");
    }
    return QStringLiteral("org.brightpost.Brightpost.Error.BadArgument");
}

}  // namespace

// The scripting's news of the notes, sent on as the interface's signals.
class NoteBusService::ChangeRelay : public INoteScriptingListener {
public:
    explicit ChangeRelay(NoteBusService& service) : service_(service) {}
    void noteAdded(const std::string& id) override { emit service_.NoteAdded(toQt(id)); }
    void noteChanged(const std::string& id) override { emit service_.NoteChanged(toQt(id)); }
    void noteRemoved(const std::string& id) override { emit service_.NoteRemoved(toQt(id)); }

private:
    NoteBusService& service_;
};

NoteBusService::NoteBusService(INoteScripting& scripting, QObject* parent)
    : QObject(parent), scripting_(scripting), changes_(std::make_unique<ChangeRelay>(*this)) {
    registerBusNoteTypes();
    // Owned by this object, which Qt D-Bus finds through it; it relays the signals too.
    new NoteBusAdaptor(this);
    scripting_.setListener(changes_.get());
}

NoteBusService::~NoteBusService() {
    scripting_.setListener(nullptr);
}

void NoteBusService::Refuse(const std::optional<ScriptError>& error) {
    if (!error) {
        return;
    }
    // Called directly rather than from the bus (nothing to reply to) the refusal is the
    // empty result the caller already gets.
    if (calledFromDBus()) {
        sendErrorReply(busErrorName(error->kind), toQt(error->message));
    }
}

QString NoteBusService::NewNote(const QString& title, const QString& text) {
    ScriptResult<std::string> made = scripting_.newNote(toStd(title), toStd(text));
    if (!made.ok()) {
        Refuse(made.error);
        return {};
    }
    return toQt(*made.value);
}

BusNoteList NoteBusService::ListNotes() {
    BusNoteList notes;
    for (const NoteSummary& summary : scripting_.listNotes()) {
        notes.append(toBusNoteEntry(summary));
    }
    return notes;
}

QString NoteBusService::GetNote(const QString& id, QString& text) {
    ScriptResult<ScriptedNoteText> note = scripting_.noteText(toStd(id));
    if (!note.ok()) {
        Refuse(note.error);
        return {};
    }
    text = toQt(note.value->text);
    return toQt(note.value->title);
}

void NoteBusService::RunCommand(NoteCommand command, const QString& id) {
    Refuse(scripting_.command(command, toStd(id)));
}

void NoteBusService::ShowNote(const QString& id) {
    RunCommand(NoteCommand::Show, id);
}

void NoteBusService::HideNote(const QString& id) {
    RunCommand(NoteCommand::Hide, id);
}

void NoteBusService::ToggleNote(const QString& id) {
    RunCommand(NoteCommand::Toggle, id);
}

void NoteBusService::RaiseNote(const QString& id) {
    RunCommand(NoteCommand::Raise, id);
}

void NoteBusService::MoveToRecycleBin(const QString& id) {
    RunCommand(NoteCommand::MoveToBin, id);
}

void NoteBusService::OpenAlarmDialog(const QString& id) {
    RunCommand(NoteCommand::OpenAlarm, id);
}

void NoteBusService::ShowAll() {
    Refuse(scripting_.showAll());
}

void NoteBusService::HideAll() {
    Refuse(scripting_.hideAll());
}

QStringList NoteBusService::Find(const QString& query) {
    if (query.trimmed().isEmpty()) {
        Refuse(ScriptError{ScriptError::Kind::BadArgument, "The search text is empty."});
        return {};
    }
    QStringList ids;
    for (const std::string& id : scripting_.find(toStd(query))) {
        ids.append(toQt(id));
    }
    return ids;
}

void NoteBusService::OpenNotesManager() {
    Refuse(scripting_.openNotesManager());
}

void NoteBusService::OpenFind(const QString& terms) {
    Refuse(scripting_.openFind(toStd(terms)));
}

}  // namespace bp
