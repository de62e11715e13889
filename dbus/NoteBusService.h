#pragma once

#include "BusNoteList.h"
#include "scripting/NoteScripting.h"

#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace bp {

// The notes as scripts reach them on the bus: the methods of the org.brightpost.Brightpost
// interface (resources/dbus/org.brightpost.Brightpost.xml, whose adaptor relays them here),
// each handed to the running copy's scripting, and its news of the notes as the interface's
// signals. A request the scripting refuses becomes an error reply with its message. Its
// methods are named as the interface names them.
class NoteBusService : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    explicit NoteBusService(INoteScripting& scripting, QObject* parent = nullptr);
    ~NoteBusService() override;

    QString NewNote(const QString& title, const QString& text);
    BusNoteList ListNotes();
    // The title; the text goes to the second out argument.
    QString GetNote(const QString& id, QString& text);
    void ShowNote(const QString& id);
    void HideNote(const QString& id);
    void ToggleNote(const QString& id);
    void RaiseNote(const QString& id);
    void MoveToRecycleBin(const QString& id);
    void ShowAll();
    void HideAll();
    QStringList Find(const QString& query);
    void OpenNotesManager();
    void OpenFind(const QString& terms);
    void OpenAlarmDialog(const QString& id);

signals:
    void NoteAdded(const QString& id);
    void NoteChanged(const QString& id);
    void NoteRemoved(const QString& id);

private:
    class ChangeRelay;

    void RunCommand(NoteCommand command, const QString& id);
    void Refuse(const std::optional<ScriptError>& error);

    INoteScripting& scripting_;
    std::unique_ptr<ChangeRelay> changes_;
};

}  // namespace bp
