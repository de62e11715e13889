#include "ScriptedNoteWindows.h"

#include "MainWindow.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "richtext/RtfReader.h"

#include <QString>
#include <QTextDocument>

namespace bp {

bool ScriptedNoteWindows::takesScripts() const {
    return main_.isInitialised() && !main_.isExiting() && !main_.isBusy();
}

std::optional<std::int32_t> ScriptedNoteWindows::createNote(const std::string& title,
                                                            const std::string& text, bool rich) {
    const std::optional<std::int32_t> nid = main_.createScriptedNote(title);
    if (!nid) {
        return std::nullopt;
    }
    // Written through the note's own editor, so that a plain text takes the note's font and
    // colours and an RTF one is stored as the program writes it.
    if (CNote* note = main_.findNote(*nid); note != nullptr && note->body() != nullptr) {
        QTextDocument& document = *note->body()->document();
        if (rich) {
            rtf::readRtf(text, document);
        } else {
            document.setPlainText(QString::fromUtf8(text));
        }
        note->StoreBody();
        main_.store().RequestSave(SaveUrgency::Soon);
    }
    return nid;
}

void ScriptedNoteWindows::showNote(std::int32_t nid) {
    main_.showNote(nid);
}

void ScriptedNoteWindows::hideNote(std::int32_t nid) {
    main_.hideNote(nid);
}

void ScriptedNoteWindows::raiseNote(std::int32_t nid) {
    main_.showNote(nid);
    if (CNote* note = main_.findNote(nid)) {
        note->activate();
    }
}

void ScriptedNoteWindows::moveNoteToBin(std::int32_t nid) {
    main_.moveNoteToBin(nid);
}

void ScriptedNoteWindows::openAlarmDialog(std::int32_t nid) {
    main_.openAlarmDialogLater(nid);
}

void ScriptedNoteWindows::showAllNotes() {
    main_.showAllNotes();
}

void ScriptedNoteWindows::hideAllNotes() {
    main_.hideAllNotes();
}

void ScriptedNoteWindows::openNotesManager() {
    main_.showNotesManager();
}

void ScriptedNoteWindows::openFind(const std::string& terms) {
    main_.showFindLater(QString::fromStdString(terms));
}

void ScriptedNoteWindows::idsStored() {
    main_.store().RequestSave(SaveUrgency::Soon);
}

}  // namespace bp
